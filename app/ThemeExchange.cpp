#include "ThemeExchange.h"

#include "BitmapImage.h"
#include "ClientSurface.h"
#include "CompareWindow.h"
#include "FileIo.h"
#include "KeyHold.h"
#include "PaletteFiles.h"
#include "PreviewPanel.h"
#include "StatusLine.h"
#include "FilePaths.h"
#include "ThemeBrowser.h"
#include "ThemeCard.h"
#include "Unit1.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr int CompareKey = Qt::Key_Backslash;

}  // namespace

ThemeExchange::ThemeExchange(TfrmMain& form, EditorSession& session) : QObject(&form), form_(form), session_(session)
{
    new KeyHold(
        form_, CompareKey,
        [this](bool held) {
            if (!session_.HasCompared())
                return;
            session_.ShowCompared(held);
            form_.preview->Refresh();
            form_.surface->update();
        },
        [this](const QWidget* window) { return window && window == form_.compareWindow; });
}

void ThemeExchange::mniImportPaletteClick()
{
    const QString file = form_.dialogs->AskFile(&form_, {QStringLiteral("Import Palette"),
                                                          QStringLiteral("Palettes (*.gpl *.json)"), QString(), false});
    if (file.isEmpty())
        return;
    PaletteRead read;
    std::string error;
    if (!session_.ReadPaletteToImport(Path(file), read, error)) {
        form_.status->Set(QString::fromStdString(error), true);
        return;
    }
    const std::string placement = session_.PalettePlacement(read.byPlace);
    if (!placement.empty() && !form_.dialogs->ConfirmImport(&form_, QString::fromStdString(placement)))
        return;
    form_.ApplyOutcome(session_.ImportPalette(read.words, read.given));
}

void ThemeExchange::mniExportPaletteClick()
{
    const QString folder = FromPath(session_.ExportFolder());
    const QString name = QString::fromStdString(session_.ThemeName());
    const QString suggested = (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + name + QStringLiteral(".gpl");
    QString file = form_.dialogs->AskFile(
        &form_, {QStringLiteral("Export Palette"),
                 QStringLiteral("GIMP Palette (*.gpl);;JSON (*.json);;C Header (*.h)"), suggested, true});
    if (file.isEmpty())
        return;
    std::string path = Path(file);
    form_.ApplyOutcome(session_.ExportPalette(path));
}

void ThemeExchange::mniExportCardClick()
{
    SaveImage(RenderThemeCard(session_.ThemeColors(), session_.ThemeName(), session_.Drawer().Clock()),
              QStringLiteral("Export Theme Card"), QStringLiteral("card"), false);
}

void ThemeExchange::mniExportImageClick()
{
    SaveImage(session_.PageImage(), QStringLiteral("Export Image"), QString::fromLatin1(PageNames[session_.Page()]));
}

void ThemeExchange::mniExportAllClick()
{
    SaveImage(session_.AllPagesImage(), QStringLiteral("Export All Pages"), QStringLiteral("all"));
}

bool ThemeExchange::SaveImage(const Bitmap& image, const QString& title, const QString& what, bool zoomed)
{
    // <theme>-<page or "all">@<zoom>x.png, in the folder of the last export,
    // else the theme's own.
    QString folder = FromPath(session_.ExportFolder());
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString file = QString::fromStdString(session_.ExportFileName(what.toStdString(), zoomed));
    const QString path = form_.dialogs->ExportImageFile(&form_, {title, folder.isEmpty() ? file : QDir(folder).filePath(file)});
    if (path.isEmpty())
        return false;
    session_.NoteExport(Path(path));
    // Encoded whole, then written the way theme files are: a new file that
    // replaces the old one only once all of it is on the disk, and never a
    // FIFO or anything else that is not a regular file.
    QByteArray png;
    QBuffer buffer(&png);
    const bool ok = buffer.open(QIODevice::WriteOnly) && ToQImage(image).save(&buffer, "PNG") &&
                    WriteFileAtomically(Path(path), png.toStdString());
    form_.status->Set(ok ? QStringLiteral("Image was exported successfully") : QStringLiteral("A file error has occurred"), !ok);
    return ok;
}

void ThemeExchange::mniBrowseClick()
{
    QString folder;
    if (!session_.ThemeFileName().empty())
        folder = FromPath(session_.ThemeFolder());
    else if (form_.browser)
        folder = form_.browser->Folder();
    else
        folder = QDir::homePath();
    const bool first = !form_.browser;
    if (first)
        form_.browser = new ThemeBrowser(
            &form_, [this](const QString& file) { form_.OpenThemeFile(Path(file)); },
            [this](const QString& file) { CompareWith(file); },
            [this](const QString& current) {
                return form_.dialogs->AskFile(&form_, {QStringLiteral("Browse Folder"), QString(), current, false, true});
            });
    // Placed before it is first shown, so the window manager maps it there
    // and it never jumps under the pointer.
    if (first) {
        // On a small screen narrower (or lower) rather than cover the editor,
        // or at least its preview; a column of pictures still fits.
        const DialogPlace place = form_.preview->Beside();
        form_.browser->resize(SizeForRoomBeside(form_, form_.browser->size(), QSize(320, 400),
                                                {place.keepVisible, place.keepVisibleAtLeast}));
        PlaceBeside(*form_.browser, place);
    }
    // The clock stands still for the pictures, as on one page at one moment.
    form_.browser->Show(folder, session_.Page(), session_.SmallDisplay(), FixedClock(session_.Drawer().Clock()()));
    form_.browser->raise();
    form_.browser->activateWindow();
}

void ThemeExchange::mniCompareClick()
{
    const QString file = form_.dialogs->AskFile(&form_, {QStringLiteral("Compare With"),
                                                          QStringLiteral("Larkspur Themes (*.lsth)"),
                                                          FromPath(session_.ComparedFile()), false});
    if (!file.isEmpty())
        CompareWith(file);
}

bool ThemeExchange::CompareWith(const QString& file)
{
    std::string error;
    if (!session_.CompareWith(Path(file), error)) {
        form_.status->Set(QStringLiteral("%1 cannot be compared: %2").arg(QFileInfo(file).fileName(), QString::fromStdString(error)),
                          true);
        return false;
    }
    if (!form_.compareWindow)
        form_.compareWindow = new CompareWindow(form_, session_);
    form_.compareWindow->ShowFile();
    return true;
}
