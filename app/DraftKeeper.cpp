#include "DraftKeeper.h"

#include "DraftStore.h"
#include "StatusLine.h"
#include "Unit1.h"
#include "UserFolders.h"

#include <QTimer>

DraftKeeper::DraftKeeper(TfrmMain& form, EditorSession& session)
    : QObject(&form), form_(form), session_(session), store_(std::make_unique<DraftStore>(UserStateFolder()))
{
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, [this] { WriteNow(); });
}

DraftKeeper::~DraftKeeper() = default;

void DraftKeeper::Changed()
{
    if (store_ && !timer_->isActive())
        timer_->start();
}

void DraftKeeper::WriteNow()
{
    if (!store_)
        return;
    switch (session_.DraftDue()) {
    case EditorSession::DraftAction::Later:
        timer_->start();
        return;
    case EditorSession::DraftAction::Remove:
        store_->Remove();
        return;
    case EditorSession::DraftAction::Write:
        if (!store_->Locked() || !store_->Write(session_.Draft()))
            form_.status->SayFileFailed(store_->DraftFile());
        return;
    }
}

void DraftKeeper::OfferRestore()
{
    ThemeDraft draft;
    if (!store_ || !store_->FindOrphan(draft))
        return;
    form_.raise();
    form_.activateWindow();
    if (!form_.dialogs->ConfirmRestoreDraft(
            &form_, {QString::fromStdString(ShownFileName(draft.fileName)), store_->OrphanWritten()})) {
        store_->DiscardOrphan();
        return;
    }
    form_.ApplyOutcome(session_.RestoreDraft(draft));
    store_->DiscardOrphan();
    WriteNow();
}

void DraftKeeper::Close()
{
    store_.reset();
    timer_->stop();
}
