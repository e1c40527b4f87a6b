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
#include <QListWidget>
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
    ApplyOutcome(document_->New());
}

void TfrmMain::mniOpenClick()
{
    if (!ConfirmContinue())
        return;
    const QString chosen = dialogs_->OpenThemeFile(this, lastOpenFile_);
    if (chosen.isEmpty())
        return;
    lastOpenFile_ = chosen;
    ApplyOutcome(document_->Open(chosen.toStdString()));
}

void TfrmMain::OpenThemePath(const QString& path) { OpenThemeFile(path.toStdString()); }

void TfrmMain::OpenThemeFile(const std::string& path)
{
    if (!ConfirmContinue())
        return;
    ApplyOutcome(document_->Open(path));
}

void TfrmMain::mniSaveClick()
{
    ApplyOutcome(document_->Save([this] { return dialogs_->ConfirmOverwriteChanged(this); }));
}

void TfrmMain::mniSaveAsClick()
{
    const QString chosen = dialogs_->SaveThemeFile(this, lastSaveFile_);
    if (chosen.isEmpty())
        return;
    lastSaveFile_ = chosen;
    ApplyOutcome(document_->SaveAs(chosen.toStdString()));
}

void TfrmMain::ApplyOutcome(const DocumentOutcome& outcome)
{
    if (outcome.needsFileName) {
        mniSaveAsClick();
        return;
    }
    switch (outcome.refresh) {
    case DocumentOutcome::Refresh::None:
        break;
    case DocumentOutcome::Refresh::Preview:
        UpdatePreview();
        lstColors->viewport()->update();
        UpdateColorButton();
        break;
    case DocumentOutcome::Refresh::Page:
        cmbLayout->setCurrentIndex(0);
        [[fallthrough]];
    case DocumentOutcome::Refresh::List:
        // The display size may have come with the document.
        (SmallDisplay ? mniDispSmall : mniDispLarge)->setChecked(true);
        cmbLayoutClick();
        break;
    }
    if (outcome.status) {
        if (!outcome.status->empty())
            SetStatusText(QString::fromStdString(*outcome.status), outcome.failed);
        else if (statusIsFailure_)
            SetStatusText(connectionStatus_);
    }
    // After the status: a list that could not be kept says so over it.
    if (outcome.fileMatched) {
        if (!recent_->Add(QString::fromStdString(ThemeFileName)))
            SayUserFileFailed(RecentFilesStore());
        FillRecentMenu();
    }
    UpdateEditActions();
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


void TfrmMain::FillRecentMenu()
{
    mniRecent->clear();
    const QStringList files = recent_->ExistingFiles();
    // A name that occurs twice says which folder each one is in.
    QStringList names;
    for (const QString& file : files)
        names << QFileInfo(file).fileName();
    for (int i = 0; i < files.size(); ++i) {
        QString caption = names[i];
        if (names.count(names[i]) > 1)
            caption += QStringLiteral("  (") + QDir::toNativeSeparators(QFileInfo(files[i]).absolutePath()) + QLatin1Char(')');
        const QString file = files[i];
        QAction* item = mniRecent->addAction(caption, this, [this, file] { OpenThemePath(file); });
        item->setToolTip(QDir::toNativeSeparators(file));
    }
    mniRecent->addSeparator();
    mniClearRecent = mniRecent->addAction(QStringLiteral("Clear Recent Files"), this, [this] {
        if (!recent_->Clear())
            SayUserFileFailed(RecentFilesStore());
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
