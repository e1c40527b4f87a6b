// New, Open, Save, Save As and closing the window: the theme as a document.

#include "EditorState.h"
#include "ThemeFile.h"
#include "Unit1.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QTimer>

bool TfrmMain::ConfirmContinue()
{
    if (!Modified)
        return true;
    return dialogs_->ConfirmContinue(this);
}

void TfrmMain::mniNewClick()
{
    if (!ConfirmContinue())
        return;
    ThemeFileName.clear();
    Modified = false;
    LoadDefaultTheme(ThemeColors);
    cmbLayout->setCurrentIndex(0);
    cmbLayoutClick();
}

void TfrmMain::mniOpenClick()
{
    if (!ConfirmContinue())
        return;
    const QString chosen = dialogs_->OpenThemeFile(this, lastOpenFile_);
    if (chosen.isEmpty())
        return;
    lastOpenFile_ = chosen;
    const bool ok = LoadTheme(
        chosen.toStdString(), PackedTheme,
        [this](bool small) { small ? mniDispSmallClick() : mniDispLargeClick(); }, ThemeFileName);
    if (!ok) {
        SetStatusText(QStringLiteral("A file error has occurred"));
        return;
    }
    Modified = false;
    UnpackTheme(PackedTheme, ThemeColors);
    cmbLayout->setCurrentIndex(0);
    cmbLayoutClick();
    SetStatusText(QStringLiteral("Theme was loaded successfully"));
}

void TfrmMain::mniSaveClick()
{
    if (ThemeFileName.empty()) {
        mniSaveAsClick();
        return;
    }
    if (!SaveTheme(ThemeFileName, ThemeColors, PackedTheme, SmallDisplay, ThemeFileName)) {
        SetStatusText(QStringLiteral("A file error has occurred"));
        return;
    }
    SetStatusText(QStringLiteral("Theme was saved successfully"));
    Modified = false;
    UpdatePreview();
}

void TfrmMain::mniSaveAsClick()
{
    const QString chosen = dialogs_->SaveThemeFile(this, lastSaveFile_);
    if (chosen.isEmpty())
        return;
    lastSaveFile_ = chosen;
    if (!SaveTheme(chosen.toStdString(), ThemeColors, PackedTheme, SmallDisplay, ThemeFileName)) {
        SetStatusText(QStringLiteral("A file error has occurred"));
        return;
    }
    Modified = false;
    UpdatePreview();
    SetStatusText(QStringLiteral("Theme was saved successfully"));
}

void TfrmMain::mniExitClick() { close(); }

bool TfrmMain::FormCloseQuery() { return ConfirmContinue(); }

void TfrmMain::FormClose()
{
    drawer_.reset();
    tmrDataflash->stop();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

