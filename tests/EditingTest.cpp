// Editing as in any desktop editor, on the offscreen platform: undo and redo
// across every kind of step with the modified flag, colours through the
// clipboard, recent files, dropped files, a file given at start-up, drafts.

#include "DraftStore.h"
#include "LarkspurApplication.h"
#include "ScriptedDialogs.h"
#include "SimulatedHidBackend.h"
#include "TempDir.h"
#include "ThemeFile.h"
#include "CompareWindow.h"
#include "PreviewPanel.h"
#include "StatusLine.h"
#include "ThemeExchange.h"
#include "Unit1.h"
#include "UserFolders.h"

#include <csignal>
#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QClipboard>
#include <QDropEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>

namespace {

struct Rig {
    std::shared_ptr<SimulatedHidBackend> sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large, "", false);
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TfrmMain> form;

    explicit Rig(const QString& startupFile = {})
    {
        auto owned = std::make_unique<ScriptedDialogs>();
        owned->confirmResult = true;
        dialogs = owned.get();
        form = std::make_unique<TfrmMain>(std::move(owned), sim);
        form->Session().SetStartupFile(startupFile.toStdString());
        form->show();
    }
};

std::string SaveFile(const TempDir& dir, const std::string& name, TColor background, bool small)
{
    TThemeColorTable colors{};
    LoadDefaultTheme(colors);
    colors[0] = background;
    TPackedTheme packed{};
    std::string ignored;
    SaveTheme(dir.File(name), colors, packed, small, ignored);
    return dir.File(name);
}

TThemeColorTable Defaults()
{
    TThemeColorTable colors{};
    LoadDefaultTheme(colors);
    return colors;
}

}  // namespace

class EditingTest : public QObject {
    Q_OBJECT

private slots:
    // One document's history, step by step: what each action leaves in the
    // modified flag, the Undo and Redo items, the colour of slot 0 and the
    // display size.
    void undoAndRedoFollowTheDocument()
    {
        TempDir dir;
        const TColor red = RGB565ToColor(0xF800), blue = RGB565ToColor(0x001F), green = RGB565ToColor(0x07E0);
        const TColor picked = RGB565ToColor(ColorToRGB565(MakeColor(200, 100, 50)));
        const TColor black = Defaults()[0];
        const std::string opened = SaveFile(dir, "small.lsth", blue, true);
        const TColor factory = [] {
            TPackedTheme packed{};
            PackedThemeFromBytes(SimulatedHidBackend::FactoryThemeBlock().data(), packed);
            TThemeColorTable colors{};
            UnpackTheme(packed, colors);
            return colors[0];
        }();
        Rig rig;
        TfrmMain& f = *rig.form;
        rig.dialogs->saveResult = QString::fromStdString(dir.File("saved.lsth"));

        struct Step {
            const char* what;
            std::function<void()> act;
            bool modified;
            const char* undo;
            const char* redo;
            TColor slot0;
            bool small;
            const char* file;  // as the caption names it
        };
        // Undo and Redo take the document along: its file, and whether the
        // colours are what that file holds.
        const Step steps[] = {
            {"start", [] {}, false, "Undo", "Redo", black, false, "Untitled"},
            {"edit", [&] { f.btnColorClick(); }, true, "Undo Edit Colour", "Redo", picked, false, "Untitled"},
            {"paste", [&] { QGuiApplication::clipboard()->setText(QStringLiteral("rgb(255, 0, 0)")); f.mniPasteColorClick(); },
             true, "Undo Paste Colour", "Redo", red, false, "Untitled"},
            {"paste nothing", [&] { QGuiApplication::clipboard()->setText(QStringLiteral("red")); f.mniPasteColorClick(); },
             true, "Undo Paste Colour", "Redo", red, false, "Untitled"},
            {"save", [&] { f.mniSaveClick(); }, false, "Undo Paste Colour", "Redo", red, false, "saved.lsth"},
            {"undo after save", [&] { f.mniUndoClick(); }, true, "Undo Edit Colour", "Redo Paste Colour", picked, false, "saved.lsth"},
            {"redo to the saved state", [&] { f.mniRedoClick(); }, false, "Undo Paste Colour", "Redo", red, false, "saved.lsth"},
            {"undo twice", [&] { f.mniUndoClick(); f.mniUndoClick(); }, true, "Undo", "Redo Edit Colour", black, false, "saved.lsth"},
            {"open", [&] { f.OpenThemeFile((QString::fromStdString(opened)).toStdString()); }, false, "Undo Open", "Redo", blue, true, "small.lsth"},
            {"undo open", [&] { f.mniUndoClick(); }, true, "Undo", "Redo Open", black, false, "saved.lsth"},
            {"redo open", [&] { f.mniRedoClick(); }, false, "Undo Open", "Redo", blue, true, "small.lsth"},
            {"new", [&] { f.mniNewClick(); }, false, "Undo New", "Redo", black, true, "Untitled"},
            {"undo new", [&] { f.mniUndoClick(); }, false, "Undo Open", "Redo New", blue, true, "small.lsth"},
            // The document is unmodified: a device that connects is downloaded at once.
            {"download", [&] { rig.sim->Plug(); QTRY_COMPARE(f.status->Text(), QStringLiteral("Theme was downloaded successfully")); },
             true, "Undo Download", "Redo", factory, false, "Untitled"},
            {"undo download", [&] { f.mniUndoClick(); }, false, "Undo Open", "Redo Download", blue, false, "small.lsth"},
            {"paste green", [&] { QGuiApplication::clipboard()->setText(QStringLiteral("#00FF00")); f.mniPasteColorClick(); },
             true, "Undo Paste Colour", "Redo", green, false, "small.lsth"},
        };
        for (const Step& s : steps) {
            s.act();
            const QByteArray where = QByteArray("after ") + s.what;
            QVERIFY2(f.Session().Modified() == s.modified, where.constData());
            QCOMPARE(f.windowTitle(), QStringLiteral("Larkspur Theme Editor - ") + QString::fromLatin1(s.file) +
                                          (s.modified ? QStringLiteral(" *") : QString()));
            QCOMPARE(f.mniUndo->text(), QString::fromLatin1(s.undo));
            QCOMPARE(f.mniRedo->text(), QString::fromLatin1(s.redo));
            QCOMPARE(f.mniUndo->isEnabled(), std::string(s.undo) != "Undo");
            QCOMPARE(f.mniRedo->isEnabled(), std::string(s.redo) != "Redo");
            QVERIFY2(f.Session().ThemeColors()[0] == s.slot0, where.constData());
            QVERIFY2(f.Session().SmallDisplay() == s.small, where.constData());
        }
        QCOMPARE(f.status->Text(), QStringLiteral("Theme was downloaded successfully"));
        // The refused paste said so and changed nothing.
        QGuiApplication::clipboard()->setText(QStringLiteral("no colour here"));
        f.mniPasteColorClick();
        QCOMPARE(f.status->Text(), QStringLiteral("The clipboard holds no colour"));
        QCOMPARE(f.Session().ThemeColors()[0], green);

        f.mniCopyColorClick();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("#00FF00"));
        // A paste that works clears the refusal, back to the connection's state.
        f.mniPasteColorClick();
        QCOMPARE(f.status->Text(), QStringLiteral("Connected"));
        f.lstColors->setCurrentRow(-1);
        QVERIFY(!f.mniPasteColor->isEnabled());
        QVERIFY(!f.mniCopyColor->isEnabled());
    }

    // What the editor writes is checked, and what it reads cannot hang it: a
    // full disk, FIFOs where its own files belong, names at the system's
    // limit, a draft that is no theme, simulator settings it cannot use.
    void filesTheEditorKeepsAndWrites()
    {
#if defined(_WIN32)
        QSKIP("FIFOs and file-size limits are POSIX's");
#else
        TempDir dir;
        const QString config = UserConfigFolder(), state = UserStateFolder();
        for (const QString& name : {QStringLiteral("/view.ini"), QStringLiteral("/recent-files.ini")}) {
            QFile::remove(config + name);
            QVERIFY(mkfifo(QFile::encodeName(config + name).constData(), 0600) == 0);
        }
        const QString junk = state + QStringLiteral("/draft-1-2-3.lsth");
        WriteText(junk.toStdString(), std::string("\x01\xfe random bytes, no theme \x7f"));
        {
            Rig rig;  // appears at all: nothing blocks on the FIFOs
            // Looked at once the window is on the screen, and not offered.
            QTRY_VERIFY(!QFile::exists(junk));
            QCOMPARE(rig.dialogs->restoreCalls, 0);
            rig.form->preview->SetZoom(2);  // not written into the FIFO, and said
            QVERIFY(rig.form->status->Text().endsWith(QStringLiteral("view.ini could not be written")));
            QVERIFY(QFileInfo(config + QStringLiteral("/view.ini")).isSymLink() ||
                    !QFileInfo(config + QStringLiteral("/view.ini")).isFile());
            rig.form->preview->SetZoom(1);
            for (const QString& name : {QStringLiteral("/view.ini"), QStringLiteral("/recent-files.ini")})
                QFile::remove(config + name);

            // Export onto a FIFO is refused and leaves the FIFO.
            const std::string fifo = dir.File("picture.png");
            QVERIFY(mkfifo(fifo.c_str(), 0600) == 0);
            rig.dialogs->exportResult = QString::fromStdString(fifo);
            rig.form->exchange->mniExportImageClick();
            QCOMPARE(rig.form->status->Text(), QStringLiteral("A file error has occurred"));

            // A name of 250 bytes saves and exports: the temporary name fits too.
            const std::string longName = dir.File(std::string(245, 'n') + ".lsth");
            rig.dialogs->saveResult = QString::fromStdString(longName);
            rig.form->mniSaveAsClick();
            QCOMPARE(rig.form->status->Text(), QStringLiteral("Theme was saved successfully"));
            rig.dialogs->exportResult = QString::fromStdString(dir.File(std::string(246, 'p') + ".png"));
            rig.form->exchange->mniExportImageClick();
            QCOMPARE(rig.form->status->Text(), QStringLiteral("Image was exported successfully"));

            // A disk that takes no more than 512 bytes: the export fails and the
            // picture that was there stays whole.
            const std::string good = dir.File("good.png");
            rig.dialogs->exportResult = QString::fromStdString(good);
            rig.form->exchange->mniExportAllClick();
            const std::string before = ReadText(good);
            QVERIFY(before.size() > 512);
            rlimit saved{};
            getrlimit(RLIMIT_FSIZE, &saved);
            rlimit small = saved;
            small.rlim_cur = 512;
            signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &small);
            rig.form->exchange->mniExportAllClick();
            setrlimit(RLIMIT_FSIZE, &saved);
            QCOMPARE(rig.form->status->Text(), QStringLiteral("A file error has occurred"));
            QCOMPARE(ReadText(good), before);
        }

        // Simulator settings it cannot use: said once, and no device.
        qputenv("LARKSPUR_HID_SIMULATOR", "large");
        qputenv("LARKSPUR_HID_SIMULATOR_FAULTS", "Silent");
        TfrmMain form(std::make_unique<ScriptedDialogs>());
        form.show();
        QTRY_VERIFY(form.deviceScans > 0);
        QVERIFY(form.status->Text().contains(QStringLiteral("unknown fault 'Silent'")));
        QVERIFY(form.DevCon->Devices().empty());
        qunsetenv("LARKSPUR_HID_SIMULATOR");
        qunsetenv("LARKSPUR_HID_SIMULATOR_FAULTS");
#endif
    }

    void recentFilesDropsAndTheStartupFile()
    {
        TempDir dir;
        const std::string a = SaveFile(dir, "a.lsth", RGB565ToColor(0x1111), false);
        const std::string b = SaveFile(dir, "b.lsth", RGB565ToColor(0x2222), false);
        {
            Rig rig(QString::fromStdString(dir.File("missing.lsth")));
            // The start-up device scan leaves it standing.
            QTRY_VERIFY(rig.form->DevCon->Devices().empty() && rig.form->deviceScans > 0);
            QCOMPARE(rig.form->status->Text(), QStringLiteral("A file error has occurred"));
            QCOMPARE(rig.form->Session().ThemeColors(), Defaults());
            QCOMPARE(rig.form->windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled"));
            rig.form->mniClearRecent->trigger();
        }
        Rig rig(QString::fromStdString(a));
        TfrmMain& f = *rig.form;
        QCOMPARE(f.windowTitle(), QStringLiteral("Larkspur Theme Editor - a.lsth"));
        QCOMPARE(f.status->Text(), QStringLiteral("Theme was loaded successfully"));
        f.OpenThemeFile((QString::fromStdString(b)).toStdString());
        f.OpenThemeFile((QString::fromStdString(a)).toStdString());
        const auto listed = [&] {
            QStringList names;
            for (QAction* item : f.mniRecent->actions())
                if (!item->isSeparator() && item != f.mniClearRecent)
                    names << item->text() + QLatin1Char('|') + item->toolTip();
            return names;
        };
        const QString folder = QString::fromStdString(dir.Path());
        const auto native = [](const QString& path) { return QDir::toNativeSeparators(path); };
        QCOMPARE(listed(), (QStringList{QStringLiteral("a.lsth|") + native(folder + QStringLiteral("/a.lsth")),
                                        QStringLiteral("b.lsth|") + native(folder + QStringLiteral("/b.lsth"))}));
        // The same name in another folder: both say which folder they are in.
        std::filesystem::create_directory(dir.File("other"));
        const std::string other = SaveFile(dir, "other/a.lsth", RGB565ToColor(0x4444), false);
        f.OpenThemeFile((QString::fromStdString(other)).toStdString());
        QCOMPARE(listed(), (QStringList{QStringLiteral("a.lsth  (%1)|%2").arg(native(folder + QStringLiteral("/other")),
                                                                              native(QString::fromStdString(other))),
                                        QStringLiteral("a.lsth  (%1)|%2").arg(native(folder), native(QString::fromStdString(a))),
                                        QStringLiteral("b.lsth|") + native(folder + QStringLiteral("/b.lsth"))}));
        // A file that is gone is not offered; choosing one opens it (confirmation first).
        std::filesystem::remove(a);
        std::filesystem::remove(other);
        Rig again;
        QCOMPARE(again.form->mniRecent->actions().size(), 3);  // b, separator, Clear
        again.form->btnColorClick();
        again.form->mniRecent->actions().front()->trigger();
        QCOMPARE(again.dialogs->confirmCalls, 1);
        QCOMPARE(QString::fromStdString(again.form->Session().ThemeFileName()), folder + QStringLiteral("/b.lsth"));

        // Drops: one .lsth file opens like Open; anything else is refused.
        const std::string c = SaveFile(dir, "c.lsth", RGB565ToColor(0x3333), false);
        for (const auto& [urls, accepted] : std::initializer_list<std::pair<QList<QUrl>, bool>>{
                 {{QUrl::fromLocalFile(QString::fromStdString(dir.File("notes.txt")))}, false},
                 {{QUrl::fromLocalFile(QString::fromStdString(b)), QUrl::fromLocalFile(QString::fromStdString(c))}, false},
                 {{QUrl(QStringLiteral("https://example.invalid/x.lsth"))}, false},
                 {{QUrl::fromLocalFile(QString::fromStdString(c))}, true},
             }) {
            QMimeData data;
            data.setUrls(urls);
            QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(again.form.get(), &enter);
            QCOMPARE(enter.isAccepted(), accepted);
            if (!accepted)
                continue;
            QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(again.form.get(), &drop);
            QTRY_COMPARE(again.form->Session().ThemeFileName(), c);
            QCOMPARE(again.form->Session().ThemeColors()[0], RGB565ToColor(0x3333));
        }
    }

    // Save notices another program's change of the file since it was opened
    // or saved here, and a file without any theme key says so when opened.
    void savesAskBeforeOverwritingAnotherProgramsChange()
    {
        TempDir dir;
        const std::string path = SaveFile(dir, "t.lsth", RGB565ToColor(0x1111), false);
        Rig rig(QString::fromStdString(path));
        TfrmMain& f = *rig.form;
        f.btnColorClick();
        f.mniSaveClick();
        QCOMPARE(rig.dialogs->overwriteCalls, 0);
        WriteText(path, ReadText(path) + "; another program was here\r\n");
        const std::string theirs = ReadText(path);
        f.btnColorClick();
        rig.dialogs->overwriteResult = false;
        f.mniSaveClick();
        QCOMPARE(rig.dialogs->overwriteCalls, 1);
        QCOMPARE(ReadText(path), theirs);
        QVERIFY(f.Session().Modified());
        rig.dialogs->overwriteResult = true;
        f.mniSaveClick();
        QCOMPARE(rig.dialogs->overwriteCalls, 2);
        QVERIFY(!f.Session().Modified());
        QCOMPARE(f.status->Text(), QStringLiteral("Theme was saved successfully"));
        QVERIFY(ReadText(path).find("; another program was here") != std::string::npos);

        WriteText(dir.File("picture.lsth"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        f.OpenThemeFile((QString::fromStdString(dir.File("picture.lsth"))).toStdString());
        QCOMPARE(f.status->Text(), QStringLiteral("Theme was loaded successfully (no theme colours in the file)"));
        QCOMPARE(f.Session().ThemeColors(), Defaults());
        f.OpenThemeFile((QString::fromStdString(path)).toStdString());
        QCOMPARE(f.status->Text(), QStringLiteral("Theme was loaded successfully"));
    }

    // Two editors at once keep their own drafts, and neither takes the
    // other's for an orphan while it runs.
    void draftsOfRunningEditorsAreNotOrphans()
    {
        TempDir dir;
        const QString folder = QString::fromStdString(dir.Path());
        ThemeDraft mine;
        mine.colors = Defaults();
        mine.colors[5] = RGB565ToColor(0xABCD);
        mine.fileName = "/some where/odd\nname.lsth";
        auto first = std::make_unique<DraftStore>(folder);
        DraftStore second(folder);
        QVERIFY(first->Write(mine));
        QVERIFY(second.Write({}));
        ThemeDraft found;
        QVERIFY(!second.FindOrphan(found));
        QCOMPARE(QDir(folder).entryList({QStringLiteral("*.lsth")}).size(), 2);
        // A clean end takes the draft along.
        first.reset();
        QCOMPARE(QDir(folder).entryList({QStringLiteral("*.lsth")}).size(), 1);
        QVERIFY(!second.FindOrphan(found));

        // A crashed editor's draft: offered once the window is up, naming the
        // theme and when its draft was written.
        const QString state = UserStateFolder();
        {
            DraftStore crashed(state);
            mine.fileName = "/themes/kept.lsth";
            QVERIFY(crashed.Write(mine));
            const QString kept = state + QStringLiteral("/draft-9-9-9.lsth");
            QFile::remove(kept);
            QVERIFY(QFile::copy(crashed.DraftFile(), kept));
            QFile file(kept);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 1), QTime(8, 30)), QFileDevice::FileModificationTime));
        }
        Rig rig;
        QTRY_COMPARE(rig.dialogs->restoreCalls, 1);
        QCOMPARE(rig.dialogs->restoreQuestion.themeName, QStringLiteral("kept.lsth"));
        QCOMPARE(rig.dialogs->restoreQuestion.written, QDateTime(QDate(2026, 12, 1), QTime(8, 30)));
    }
};

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    app.setApplicationName(QString::fromLatin1(ApplicationTitle));
    EditingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EditingTest.moc"
