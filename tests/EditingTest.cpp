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
    // The Edit menu follows the document's history (its steps are the
    // session's to name), and colours go through the clipboard as text.
    void editMenuAndClipboard()
    {
        Rig rig;
        TfrmMain& f = *rig.form;
        QCOMPARE(f.mniUndo->text(), QStringLiteral("Undo"));
        QVERIFY(!f.mniUndo->isEnabled());
        QGuiApplication::clipboard()->setText(QStringLiteral("rgb(255, 0, 0)"));
        f.mniPasteColorClick();
        QCOMPARE(f.mniUndo->text(), QStringLiteral("Undo Paste Colour"));
        QVERIFY(f.mniUndo->isEnabled());
        QCOMPARE(f.windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled *"));
        f.mniUndoClick();
        QCOMPARE(f.mniRedo->text(), QStringLiteral("Redo Paste Colour"));
        QVERIFY(!f.Session().Modified());
        QCOMPARE(f.windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled"));
        f.mniRedoClick();
        // A refused paste says so and changes nothing; one that works clears it.
        QGuiApplication::clipboard()->setText(QStringLiteral("no colour here"));
        f.mniPasteColorClick();
        QCOMPARE(f.status->Text(), QStringLiteral("The clipboard holds no colour"));
        f.mniCopyColorClick();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("#FF0000"));
        f.mniPasteColorClick();
        QCOMPARE(f.status->Text(), QStringLiteral("Disconnected"));
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

    // Save asks the user before overwriting another program's change.
    void savesAskBeforeOverwritingAnotherProgramsChange()
    {
        TempDir dir;
        const std::string path = SaveFile(dir, "t.lsth", RGB565ToColor(0x1111), false);
        Rig rig(QString::fromStdString(path));
        rig.form->btnColorClick();
        WriteText(path, ReadText(path) + "; another program was here\r\n");
        const std::string theirs = ReadText(path);
        rig.dialogs->overwriteResult = false;
        rig.form->mniSaveClick();
        QCOMPARE(rig.dialogs->overwriteCalls, 1);
        QCOMPARE(ReadText(path), theirs);
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
