// The Edit menu: undo and redo of every change of the theme colour table, and
// colours through the clipboard. Also the draft that keeps an unsaved theme
// safe from a crash.

#include "ColorText.h"
#include "DraftStore.h"
#include "EditorState.h"
#include "GenerateDialog.h"
#include "Unit1.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
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
    mniEdit->addSeparator();
    // Kept as it is by Fix Legibility (and in the theme file, for the next time).
    mniLockColor = mniEdit->addAction(QStringLiteral("Lock Colour"), this, [this] {
        if (SelectedSlot)
            ApplyOutcome(document_->SetLocked(SelectedSlotIndex(), mniLockColor->isChecked()));
    });
    mniLockColor->setCheckable(true);
    mniLockColor->setShortcut(QKeySequence(QStringLiteral("Ctrl+K")));
    mniGenerate = mniEdit->addAction(QStringLiteral("Generate Theme..."), this, [this] { mniGenerateClick(); });
    // The same from the list's own menu.
    lstColors->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstColors, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!SelectedSlot)
            return;
        QMenu menu(lstColors);
        menu.addAction(mniLockColor);
        menu.exec(lstColors->viewport()->mapToGlobal(at));
    });
    UpdateEditActions();

    // At most one draft a second, written shortly after the change that needs it.
    draftTimer_ = new QTimer(this);
    draftTimer_->setSingleShot(true);
    draftTimer_->setInterval(1000);
    connect(draftTimer_, &QTimer::timeout, this, [this] { WriteDraftNow(); });
}

void TfrmMain::mniGenerateClick()
{
    const int page = cmbLayout->currentIndex();
    const bool small = SmallDisplay;
    GenerateThemeDialog dialog(this, ThemeColors, document_->LockedSlots(), page, small, drawer_->Clock(),
                               [page, small](SlotId slot) {
                                   const char* name = ListNameOf(page, small, slot);
                                   return QString::fromLatin1(name ? name : SlotKey(slot));
                               });
    dialog.adjustSize();
    PlaceBeside(dialog, PlaceBesidePreview());
    if (dialog.exec() != QDialog::Accepted)
        return;
    ApplyOutcome(document_->SetColors(dialog.Result().colors, "Generate Theme"));
}

int TfrmMain::SelectedSlotIndex() const
{
    return SelectedSlot ? static_cast<int>(SelectedSlot - ThemeColors.data()) : -1;
}

void TfrmMain::UpdateEditActions()
{
    if (!mniUndo)
        return;
    const ThemeHistory& history = document_->History();
    mniUndo->setEnabled(history.CanUndo());
    mniUndo->setText(history.CanUndo() ? QStringLiteral("Undo ") + QString::fromStdString(history.UndoName())
                                       : QStringLiteral("Undo"));
    mniRedo->setEnabled(history.CanRedo());
    mniRedo->setText(history.CanRedo() ? QStringLiteral("Redo ") + QString::fromStdString(history.RedoName())
                                       : QStringLiteral("Redo"));
    mniCopyColor->setEnabled(SelectedSlot != nullptr);
    mniLockColor->setEnabled(SelectedSlot != nullptr);
    mniLockColor->setChecked(SelectedSlot && document_->IsLocked(SelectedSlotIndex()));
    mniPasteColor->setEnabled(SelectedSlot != nullptr);
    // Every change of the document passes here: keep the draft in step.
    if (draftTimer_ && !draftTimer_->isActive())
        draftTimer_->start();
}

void TfrmMain::mniUndoClick() { ApplyOutcome(document_->Undo()); }

void TfrmMain::mniRedoClick() { ApplyOutcome(document_->Redo()); }

void TfrmMain::mniCopyColorClick()
{
    if (SelectedSlot)
        QGuiApplication::clipboard()->setText(QString::fromStdString(ColorToHexText(*SelectedSlot)));
}

void TfrmMain::mniPasteColorClick()
{
    if (SelectedSlot)
        ApplyOutcome(document_->Paste(SelectedSlotIndex(), QGuiApplication::clipboard()->text().toStdString()));
}

void TfrmMain::WriteDraftNow()
{
    if (!drafts_)
        return;
    // A colour the user is only trying is no part of the theme yet.
    if (showingCandidate_) {
        draftTimer_->start();
        return;
    }
    if (!Modified) {
        drafts_->Remove();
        return;
    }
    if (!drafts_->Locked())
        SayUserFileFailed(drafts_->DraftFile());
    else if (!drafts_->Write({ThemeColors, SmallDisplay, ThemeFileName}))
        SayUserFileFailed(drafts_->DraftFile());
}

void TfrmMain::OfferDraftRestore()
{
    ThemeDraft draft;
    if (!drafts_ || !drafts_->FindOrphan(draft))
        return;
    raise();
    activateWindow();
    if (!dialogs_->ConfirmRestoreDraft(this, {QString::fromStdString(ShownFileName(draft.fileName)), drafts_->OrphanWritten()})) {
        drafts_->DiscardOrphan();
        return;
    }
    ApplyOutcome(document_->RestoreDraft(draft));
    drafts_->DiscardOrphan();
    WriteDraftNow();
}
