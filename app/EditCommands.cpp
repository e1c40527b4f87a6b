// The Edit menu: undo and redo of every change of the theme colour table, and
// colours through the clipboard. Also the draft that keeps an unsaved theme
// safe from a crash.

#include "ColorText.h"
#include "DraftStore.h"
#include "EditorState.h"
#include "Unit1.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>

void TfrmMain::CreateEditMenu()
{
    mniEdit = new QMenu(QStringLiteral("Edit"), this);
    menuBar()->insertMenu(mniDisplay->menuAction(), mniEdit);
    mniUndo = mniEdit->addAction(QStringLiteral("Undo"), this, [this] { mniUndoClick(); });
    mniUndo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    mniRedo = mniEdit->addAction(QStringLiteral("Redo"), this, [this] { mniRedoClick(); });
    mniRedo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    mniEdit->addSeparator();
    mniCopyColor = mniEdit->addAction(QStringLiteral("Copy Colour"), this, [this] { mniCopyColorClick(); });
    mniCopyColor->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
    mniPasteColor = mniEdit->addAction(QStringLiteral("Paste Colour"), this, [this] { mniPasteColorClick(); });
    mniPasteColor->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
    UpdateEditActions();

    // At most one draft a second, written shortly after the change that needs it.
    draftTimer_ = new QTimer(this);
    draftTimer_->setSingleShot(true);
    draftTimer_->setInterval(1000);
    connect(draftTimer_, &QTimer::timeout, this, [this] { WriteDraftNow(); });
}

ThemeState TfrmMain::CurrentState() const { return {ThemeColors, SmallDisplay}; }

void TfrmMain::RecordStep(const char* name, const ThemeState& before)
{
    history_.Record(name, before, CurrentState());
    UpdateEditActions();
}

void TfrmMain::UpdateEditActions()
{
    if (!mniUndo)
        return;
    mniUndo->setEnabled(history_.CanUndo());
    mniUndo->setText(history_.CanUndo() ? QStringLiteral("Undo ") + QString::fromStdString(history_.UndoName())
                                        : QStringLiteral("Undo"));
    mniRedo->setEnabled(history_.CanRedo());
    mniRedo->setText(history_.CanRedo() ? QStringLiteral("Redo ") + QString::fromStdString(history_.RedoName())
                                        : QStringLiteral("Redo"));
    mniCopyColor->setEnabled(SelectedSlot != nullptr);
    mniPasteColor->setEnabled(SelectedSlot != nullptr);
    // Every change of the document passes here: keep the draft in step.
    if (draftTimer_ && !draftTimer_->isActive())
        draftTimer_->start();
}

void TfrmMain::ApplyHistoryMove(const ThemeHistory::Move& move)
{
    std::copy(move.state.colors.begin(), move.state.colors.end(), ThemeColors.begin());
    Modified = !history_.IsClean(ThemeColors);
    if (move.displayChanged && move.state.smallDisplay != SmallDisplay) {
        // The same refresh as a display switch: the list of the new size, same page.
        move.state.smallDisplay ? mniDispSmallClick() : mniDispLargeClick();
    } else {
        UpdatePreview();
        lstColors->viewport()->update();
        lstColorsClick();
    }
    UpdateEditActions();
}

void TfrmMain::mniUndoClick()
{
    if (history_.CanUndo())
        ApplyHistoryMove(history_.Undo());
}

void TfrmMain::mniRedoClick()
{
    if (history_.CanRedo())
        ApplyHistoryMove(history_.Redo());
}

void TfrmMain::mniCopyColorClick()
{
    if (SelectedSlot)
        QGuiApplication::clipboard()->setText(QString::fromStdString(ColorToHexText(*SelectedSlot)));
}

void TfrmMain::mniPasteColorClick()
{
    if (!SelectedSlot)
        return;
    TColor pasted = 0;
    if (!ParseColorText(QGuiApplication::clipboard()->text().toStdString(), pasted)) {
        SetStatusText(QStringLiteral("The clipboard holds no colour"));
        return;
    }
    // Rounded to what the device can show, as a colour picked in the dialog.
    StoreSelectedColor(pasted, "Paste Colour");
}

void TfrmMain::WriteDraftNow()
{
    if (!drafts_)
        return;
    if (!Modified) {
        drafts_->Remove();
        return;
    }
    drafts_->Write({ThemeColors, SmallDisplay, ThemeFileName});
}

void TfrmMain::OfferDraftRestore()
{
    ThemeDraft draft;
    if (!drafts_ || !drafts_->FindOrphan(draft))
        return;
    if (!dialogs_->ConfirmRestoreDraft(this)) {
        drafts_->DiscardOrphan();
        return;
    }
    const ThemeState before = CurrentState();
    if (draft.smallDisplay != SmallDisplay)
        draft.smallDisplay ? mniDispSmallClick() : mniDispLargeClick();
    std::copy(draft.colors.begin(), draft.colors.end(), ThemeColors.begin());
    ThemeFileName = draft.fileName;
    // What the file holds now is what a save will be compared with: the
    // draft cannot say what it held when the editor ended.
    RememberFileBytes();
    Modified = true;
    RecordStep("Restore", before);
    drafts_->DiscardOrphan();
    cmbLayoutClick();
    WriteDraftNow();
}
