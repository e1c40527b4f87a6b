#include "EditorDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

const QString ThemeFilter = QStringLiteral("Larkspur Themes (*.lsth)");

// Each dialog opens on the file last chosen in it.
QString AskThemeFile(QWidget* parent, const QString& title, QFileDialog::AcceptMode mode, const QString& lastFile)
{
    QFileDialog dialog(parent, title, lastFile, ThemeFilter);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptOpen)
        dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("lsth"));
    if (!lastFile.isEmpty())
        dialog.selectFile(lastFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace

namespace {

// Yes is the default; Escape and closing the box answer No.
bool AskYesNo(QWidget* parent, const QString& question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

bool QtEditorDialogs::PickColor(QWidget* parent, TColor initial, TColor& chosen)
{
    QColorDialog dialog(QColor(ColorRed(initial), ColorGreen(initial), ColorBlue(initial)), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QColor c = dialog.selectedColor();
    chosen = MakeColor(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                       static_cast<unsigned>(c.blue()));
    return true;
}

bool QtEditorDialogs::ConfirmContinue(QWidget* parent)
{
    return AskYesNo(parent, QStringLiteral("Theme was not saved. Continue?"));
}

QString QtEditorDialogs::OpenThemeFile(QWidget* parent, const QString& lastFile)
{
    // The chosen file must exist.
    return AskThemeFile(parent, QStringLiteral("Open Theme"), QFileDialog::AcceptOpen, lastFile);
}

QString QtEditorDialogs::SaveThemeFile(QWidget* parent, const QString& lastFile)
{
    // Asks before replacing a file; a name typed without extension gets ".lsth".
    return AskThemeFile(parent, QStringLiteral("Save Theme"), QFileDialog::AcceptSave, lastFile);
}

bool QtEditorDialogs::ConfirmRestoreDraft(QWidget* parent)
{
    return AskYesNo(parent, QStringLiteral("Restore the unsaved theme from the last session?"));
}

bool QtEditorDialogs::ConfirmOverwriteChanged(QWidget* parent)
{
    return AskYesNo(parent, QStringLiteral("The theme file was changed by another program. Overwrite it?"));
}

QString QtEditorDialogs::ExportImageFile(QWidget* parent, const QString& title)
{
    QFileDialog dialog(parent, title, QString(), QStringLiteral("PNG Images (*.png)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}
