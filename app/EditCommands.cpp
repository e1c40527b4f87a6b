// The Edit menu: undo and redo of every change of the theme, colours through
// the clipboard, locks and Generate Theme.

#include "DraftKeeper.h"
#include "GenerateDialog.h"
#include "PreviewPanel.h"
#include "Unit1.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>

void TfrmMain::mniGenerateClick()
{
    const int page = session_->Page();
    const bool small = session_->SmallDisplay();
    GenerateThemeDialog dialog(this, session_->ThemeColors(), session_->Document().LockedSlots(), page,
                               session_->Drawer().Clock(), [page, small](SlotId slot) {
                                   const char* name = ListNameOf(page, small, slot);
                                   return QString::fromLatin1(name ? name : SlotKey(slot));
                               });
    dialog.adjustSize();
    PlaceBeside(dialog, preview->Beside());
    if (dialog.exec() != QDialog::Accepted)
        return;
    ApplyOutcome(session_->ApplyGenerated(dialog.Result().colors));
}

void TfrmMain::UpdateEditActions()
{
    if (!mniUndo)
        return;
    const ThemeHistory& history = session_->Document().History();
    mniUndo->setEnabled(history.CanUndo());
    mniUndo->setText(history.CanUndo() ? QStringLiteral("Undo ") + QString::fromStdString(history.UndoName())
                                       : QStringLiteral("Undo"));
    mniRedo->setEnabled(history.CanRedo());
    mniRedo->setText(history.CanRedo() ? QStringLiteral("Redo ") + QString::fromStdString(history.RedoName())
                                       : QStringLiteral("Redo"));
    const std::optional<SlotId> slot = session_->SelectedSlot();
    mniCopyColor->setEnabled(slot.has_value());
    mniLockColor->setEnabled(slot.has_value());
    mniLockColor->setChecked(slot && session_->IsLocked(*slot));
    mniPasteColor->setEnabled(slot.has_value());
    // Every change of the document passes here: keep the draft in step.
    if (drafts)
        drafts->Changed();
}

void TfrmMain::mniUndoClick() { ApplyOutcome(session_->Undo()); }

void TfrmMain::mniRedoClick() { ApplyOutcome(session_->Redo()); }

void TfrmMain::mniCopyColorClick()
{
    if (session_->SelectedSlot())
        QGuiApplication::clipboard()->setText(QString::fromStdString(session_->CopyColor()));
}

void TfrmMain::mniPasteColorClick()
{
    if (session_->SelectedSlot())
        ApplyOutcome(session_->PasteColor(QGuiApplication::clipboard()->text().toStdString()));
}

void TfrmMain::mniLockColorClick()
{
    if (session_->SelectedSlot())
        ApplyOutcome(session_->SetSelectedLocked(mniLockColor->isChecked()));
}
