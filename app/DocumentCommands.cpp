// New, Open, Save, Save As and closing the window: the theme as a document.

#include "DraftKeeper.h"
#include "FilePaths.h"
#include "RecentFiles.h"
#include "StatusLine.h"
#include "Unit1.h"
#include "WindowWiring.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QToolTip>

bool TfrmMain::ConfirmContinue()
{
    if (!session_->Modified())
        return true;
    return dialogs->ConfirmContinue(this);
}

void TfrmMain::mniNewClick()
{
    if (!ConfirmContinue())
        return;
    ApplyOutcome(session_->New());
}

void TfrmMain::mniOpenClick()
{
    if (!ConfirmContinue())
        return;
    const QString chosen = dialogs->OpenThemeFile(this, QString::fromStdString(session_->lastOpenFile));
    if (chosen.isEmpty())
        return;
    session_->lastOpenFile = chosen.toStdString();
    ApplyOutcome(session_->Open(chosen.toStdString()));
}

void TfrmMain::OpenThemeFile(const std::string& path)
{
    if (!ConfirmContinue())
        return;
    ApplyOutcome(session_->Open(path));
}

void TfrmMain::mniSaveClick()
{
    ApplyOutcome(session_->Save([this] { return dialogs->ConfirmOverwriteChanged(this); }));
}

void TfrmMain::mniSaveAsClick()
{
    const QString chosen = dialogs->SaveThemeFile(this, QString::fromStdString(session_->lastSaveFile));
    if (chosen.isEmpty())
        return;
    session_->lastSaveFile = chosen.toStdString();
    ApplyOutcome(session_->SaveAs(chosen.toStdString()));
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
        (session_->SmallDisplay() ? mniDispSmall : mniDispLarge)->setChecked(true);
        cmbLayoutClick();
        break;
    }
    if (outcome.status) {
        if (!outcome.status->empty())
            status->Set(QString::fromStdString(*outcome.status), outcome.failed);
        else
            status->ClearFailure();
    }
    // After the status: a list that could not be kept says so over it.
    if (outcome.fileMatched) {
        if (!recent->Add(QString::fromStdString(session_->ThemeFileName())))
            status->SayFileFailed(RecentFilesStore());
        FillRecentMenu(*this);
    }
    UpdateEditActions();
}

void TfrmMain::mniExitClick() { close(); }

bool TfrmMain::FormCloseQuery() { return ConfirmContinue(); }

void TfrmMain::FormClose()
{
    // A clean exit leaves no draft behind, and no tooltip of the preview open
    // (a visible one would keep the program running).
    drafts->Close();
    FormMouseLeave();
    QToolTip::hideText();
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

void FillRecentMenu(TfrmMain& form)
{
    QMenu* menu = form.mniRecent;
    menu->clear();
    const QStringList files = form.recent->ExistingFiles();
    // A name that occurs twice says which folder each one is in.
    QStringList names;
    for (const QString& file : files)
        names << QFileInfo(file).fileName();
    for (int i = 0; i < files.size(); ++i) {
        QString caption = names[i];
        if (names.count(names[i]) > 1)
            caption += QStringLiteral("  (") + QDir::toNativeSeparators(QFileInfo(files[i]).absolutePath()) + QLatin1Char(')');
        const QString file = files[i];
        QAction* item = menu->addAction(caption, &form, [&form, file] { form.OpenThemeFile(Path(file)); });
        item->setToolTip(QDir::toNativeSeparators(file));
    }
    menu->addSeparator();
    form.mniClearRecent = menu->addAction(QStringLiteral("Clear Recent Files"), &form, [&form] {
        if (!form.recent->Clear())
            form.status->SayFileFailed(RecentFilesStore());
        FillRecentMenu(form);
    });
    form.mniClearRecent->setEnabled(!files.isEmpty());
}

namespace {

class ThemeFileDrop : public QObject {
public:
    explicit ThemeFileDrop(TfrmMain& form) : QObject(&form), form_(form)
    {
        form.setAcceptDrops(true);
        form.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &form_)
            return false;
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!Dropped(drag->mimeData()).isEmpty())
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = Dropped(drop->mimeData());
            if (path.isEmpty()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            // After the drop has finished: the confirmation is a modal box.
            QTimer::singleShot(0, &form_, [this, path] { form_.OpenThemeFile(Path(path)); });
            return true;
        }
        default:
            return false;
        }
    }

private:
    static QString Dropped(const QMimeData* data)
    {
        if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile())
            return {};
        const QString path = data->urls().front().toLocalFile();
        return path.endsWith(QStringLiteral(".lsth"), Qt::CaseInsensitive) ? path : QString();
    }

    TfrmMain& form_;
};

}  // namespace

void InstallThemeFileDrop(TfrmMain& form) { new ThemeFileDrop(form); }
