// New, Open, Save, Save As and closing the window: the theme as a document.

#include "DraftStore.h"
#include "EditorState.h"
#include "FileIo.h"
#include "ThemeFile.h"
#include "RecentFiles.h"
#include "Unit1.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QComboBox>
#include <QTimer>
#include <QToolTip>

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
    const ThemeState before = CurrentState();
    ThemeFileName.clear();
    Modified = false;
    LoadDefaultTheme(ThemeColors);
    history_.MarkClean(ThemeColors);
    RecordStep("New", before);
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
    LoadThemePath(chosen);
}

void TfrmMain::OpenThemePath(const QString& path)
{
    if (!ConfirmContinue())
        return;
    LoadThemePath(path);
}

void TfrmMain::LoadThemePath(const QString& path)
{
    const ThemeState before = CurrentState();
    ThemeLoadReport report;
    const bool ok = LoadTheme(
        path.toStdString(), PackedTheme,
        [this](bool small) { small ? mniDispSmallClick() : mniDispLargeClick(); }, ThemeFileName, nullptr, &report);
    if (!ok) {
        SetStatusText(QStringLiteral("A file error has occurred"));
        return;
    }
    Modified = false;
    UnpackTheme(PackedTheme, ThemeColors);
    FileMatchesDocument();
    RecordStep("Open", before);
    cmbLayout->setCurrentIndex(0);
    cmbLayoutClick();
    // Loaded as the defaults, as any missing key is; but say that nothing of a
    // theme was in the file.
    SetStatusText(report.NoThemeKeys() ? QStringLiteral("Theme was loaded successfully (no theme colours in the file)")
                                       : QStringLiteral("Theme was loaded successfully"));
}

void TfrmMain::mniSaveClick()
{
    if (ThemeFileName.empty()) {
        mniSaveAsClick();
        return;
    }
    std::string now;
    if (ReadFileLimited(ThemeFileName, MaxIniFileSize, now) == FileReadStatus::Ok && now != fileBytesSeen_ &&
        !dialogs_->ConfirmOverwriteChanged(this))
        return;
    if (!SaveTheme(ThemeFileName, ThemeColors, PackedTheme, SmallDisplay, ThemeFileName)) {
        SetStatusText(QStringLiteral("A file error has occurred"));
        return;
    }
    SetStatusText(QStringLiteral("Theme was saved successfully"));
    Modified = false;
    FileMatchesDocument();
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
    FileMatchesDocument();
    UpdatePreview();
    SetStatusText(QStringLiteral("Theme was saved successfully"));
}

void TfrmMain::mniExitClick() { close(); }

bool TfrmMain::FormCloseQuery() { return ConfirmContinue(); }

void TfrmMain::FormClose()
{
    // A clean exit leaves no draft behind, and no tooltip of the preview open
    // (a visible one would keep the program running).
    drafts_.reset();
    FormMouseLeave();
    QToolTip::hideText();
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


void TfrmMain::FileMatchesDocument()
{
    history_.MarkClean(ThemeColors);
    RememberFileBytes();
    recent_->Add(QString::fromStdString(ThemeFileName));
    FillRecentMenu();
}

void TfrmMain::RememberFileBytes()
{
    fileBytesSeen_.clear();
    ReadFileLimited(ThemeFileName, MaxIniFileSize, fileBytesSeen_);
}

void TfrmMain::FillRecentMenu()
{
    mniRecent->clear();
    for (const QString& file : recent_->ExistingFiles()) {
        QAction* item = mniRecent->addAction(QFileInfo(file).fileName(), this, [this, file] { OpenThemePath(file); });
        item->setToolTip(QDir::toNativeSeparators(file));
    }
    mniRecent->addSeparator();
    mniClearRecent = mniRecent->addAction(QStringLiteral("Clear Recent Files"), this, [this] {
        recent_->Clear();
        FillRecentMenu();
    });
    mniClearRecent->setEnabled(!recent_->ExistingFiles().isEmpty());
}

// Theme files dropped from a file manager: one file ending in .lsth, opened
// like Open; anything else is refused and the pointer says so.
namespace {
QString DroppedThemeFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile())
        return {};
    const QString path = data->urls().front().toLocalFile();
    return path.endsWith(QStringLiteral(".lsth"), Qt::CaseInsensitive) ? path : QString();
}
}  // namespace

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void TfrmMain::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DroppedThemeFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    const QString path = DroppedThemeFile(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // After the drop has finished: the confirmation is a modal box.
    QTimer::singleShot(0, this, [this, path] { OpenThemePath(path); });
}
