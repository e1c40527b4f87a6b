#include "EditorDialogs.h"


#include <QColorDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QWindow>

namespace {

const QString ThemeFilter = QStringLiteral("Larkspur Themes (*.lsth)");

// Each dialog opens on the file last chosen in it.
// Qt's own file dialog, opening at `path`: an existing file to open, or any
// name to save to (one typed without extension gets `suffix`); empty when
// cancelled.
QString AskForFile(QWidget* parent, const QString& title, const QString& filter, const QString& path, bool save,
                   const QString& suffix = {})
{
    QFileDialog dialog(parent, title, path, filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!save)
        dialog.setFileMode(QFileDialog::ExistingFile);
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (!path.isEmpty())
        dialog.selectFile(path);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace

namespace {

// Yes is the default; Escape and closing the box answer No. `details` go
// below the question.
bool AskYesNo(QWidget* parent, const QString& question, const QString& details = {})
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question, QMessageBox::Yes | QMessageBox::No,
                    parent);
    if (!details.isEmpty())
        box.setInformativeText(details);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

bool QtEditorDialogs::PickColor(QWidget* parent, TColor initial, const ColorQuestion& question, TColor& chosen)
{
    QColorDialog dialog(QColor(ColorRed(initial), ColorGreen(initial), ColorBlue(initial)), parent);
    // Qt's own dialog on every platform: it tells each candidate as it changes
    // and goes where it is put.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(question.title);
    const auto toColor = [](const QColor& c) {
        return MakeColor(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()), static_cast<unsigned>(c.blue()));
    };
    if (question.candidate)
        QObject::connect(&dialog, &QColorDialog::currentColorChanged, &dialog,
                         [&](const QColor& c) { question.candidate(toColor(c)); });
    dialog.adjustSize();
    PlaceBeside(dialog, question.place);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    chosen = toColor(dialog.selectedColor());
    return true;
}

bool QtEditorDialogs::ConfirmContinue(QWidget* parent)
{
    return AskYesNo(parent, QStringLiteral("Theme was not saved. Continue?"));
}

QString QtEditorDialogs::OpenThemeFile(QWidget* parent, const QString& lastFile)
{
    // The chosen file must exist.
    return AskForFile(parent, QStringLiteral("Open Theme"), ThemeFilter, lastFile, false, QStringLiteral("lsth"));
}

QString QtEditorDialogs::SaveThemeFile(QWidget* parent, const QString& lastFile)
{
    // Asks before replacing a file; a name typed without extension gets ".lsth".
    return AskForFile(parent, QStringLiteral("Save Theme"), ThemeFilter, lastFile, true, QStringLiteral("lsth"));
}

bool QtEditorDialogs::ConfirmRestoreDraft(QWidget* parent, const DraftQuestion& draft)
{
    return AskYesNo(parent, QStringLiteral("Restore the unsaved theme from the last session?"),
                    QStringLiteral("%1, last changed %2.")
                        .arg(draft.themeName, QLocale().toString(draft.written, QLocale::ShortFormat)));
}

bool QtEditorDialogs::ConfirmOverwriteChanged(QWidget* parent)
{
    return AskYesNo(parent, QStringLiteral("The theme file was changed by another program. Overwrite it?"));
}

QString QtEditorDialogs::ExportImageFile(QWidget* parent, const ExportQuestion& question)
{
    return AskForFile(parent, question.title, QStringLiteral("PNG Images (*.png)"), question.suggestedPath, true,
                      QStringLiteral("png"));
}

bool EditorDialogs::ConfirmImport(QWidget* parent, const QString& details)
{
    return AskYesNo(parent, QStringLiteral("Import this palette?"), details);
}

QString EditorDialogs::AskFile(QWidget* parent, const FileQuestion& question)
{
    if (question.folder)
        return QFileDialog::getExistingDirectory(parent, question.title, question.suggestedPath);
    return AskForFile(parent, question.title, question.filter, question.suggestedPath, question.save);
}

namespace {

QMargins FrameOf(const QWidget& window)
{
    const QRect inner = window.geometry(), outer = OuterFrame(window);
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// The frame a window not yet shown will have, told by its owner's. Away from
// scale 1, a frame of an odd number of device pixels comes out a pixel more
// or less on a side, depending on where the window stands: a pixel more.
QMargins ExpectedFrame(const QWidget& owner)
{
    const QMargins frame = FrameOf(owner);
    return owner.devicePixelRatioF() == 1.0 ? frame : frame + QMargins(1, 1, 1, 1);
}

}  // namespace

void PlaceBeside(QWidget& window, const DialogPlace& place)
{
    QScreen* screen = QGuiApplication::screenAt(place.keepVisible.center());
    if (!screen)
        screen = window.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // A window not yet shown has no frame; its owner's tells how wide the
    // window manager's will be.
    const bool shown = window.isVisible() || !window.parentWidget();
    const QMargins frame = shown ? FrameOf(window) : ExpectedFrame(*window.parentWidget()->window());
    const QSize size = window.size().grownBy(frame);
    const auto clampX = [&](int x) { return std::max(available.left(), std::min(x, available.right() + 1 - size.width())); };
    const auto clampY = [&](int y) { return std::max(available.top(), std::min(y, available.bottom() + 1 - size.height())); };
    for (const QRect& r : {place.keepVisible, place.keepVisibleAtLeast}) {
        if (r.isNull())
            continue;
        for (const QPoint& at : {QPoint(r.right() + 1, clampY(r.top())), QPoint(r.left() - size.width(), clampY(r.top())),
                                 QPoint(clampX(r.left()), r.bottom() + 1), QPoint(clampX(r.left()), r.top() - size.height())}) {
            if (available.contains(QRect(at, size))) {
                MoveFrameTo(window, at);
                return;
            }
        }
    }
    const QRect now = OuterFrame(window);
    MoveFrameTo(window, QPoint(clampX(now.left()), clampY(now.top())));
}

QSize SizeForRoomBeside(const QWidget& owner, QSize wanted, QSize least, std::initializer_list<QRect> keeps)
{
    const QScreen* on = owner.screen();
    if (!on)
        return wanted;
    const QRect room = on->availableGeometry();
    const QMargins frame = ExpectedFrame(owner);
    const QSize decoration(frame.left() + frame.right(), frame.top() + frame.bottom());
    // Never larger than the screen, frame included.
    wanted = wanted.boundedTo(room.size() - decoration);
    for (const QRect& keep : keeps) {
        const int across = std::max(keep.left() - room.left(), room.right() - keep.right()) - decoration.width();
        const int upDown = std::max(keep.top() - room.top(), room.bottom() - keep.bottom()) - decoration.height();
        if (across >= wanted.width() || upDown >= wanted.height())
            return wanted;
        if (across >= least.width())
            return {across, std::min(wanted.height(), room.height() - decoration.height())};
        if (upDown >= least.height())
            return {std::min(wanted.width(), room.width() - decoration.width()), upDown};
    }
    return wanted;
}

QRect OuterFrame(const QWidget& window)
{
    // The frame as the platform has it now, around the window's own
    // geometry: before the window is first mapped the platform window still
    // has the size it was created with.
    const QWindow* handle = window.windowHandle();
    return handle && handle->handle() ? window.geometry().marginsAdded(handle->frameMargins()) : window.frameGeometry();
}

void MoveFrameTo(QWidget& window, QPoint topLeft)
{
    // By the distance to go: that holds whichever frame QWidget believes in.
    const QPoint by = topLeft - OuterFrame(window).topLeft();
    if (!by.isNull())
        window.move(window.pos() + by);
}

void CentreOnScreen(QWidget& window, QScreen& screen)
{
    // By the frame where it is known; before the window is first mapped an
    // X window manager has not said how tall its title bar is, and the
    // window is centred by its own size: lower by half a title bar. Moving
    // it again once framed would make it jump under the user's eyes.
    QRect frame = OuterFrame(window);
    frame.moveCenter(screen.availableGeometry().center());
    MoveFrameTo(window, frame.topLeft());
}
