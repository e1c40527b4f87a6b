// The editor as a window manager and a keyboard user see it: Qt's xcb platform
// on a real X server with openbox (see on-xvfb.sh). Titles and size hints are
// read back from the X server, keys go in through it, and pixels are grabbed
// from its screen, in device pixels, at the scale factor the test runs with.

#include "GenerateDialog.h"
#include "ThemeBrowser.h"
#include "WindowLayout.h"
#include "LarkspurApplication.h"
#include "ColorText.h"
#include "SimulatedHidBackend.h"
#include "ThemeFile.h"
#include "CompareWindow.h"
#include "PreviewPanel.h"
#include "StatusLine.h"
#include "ThemeExchange.h"
#include "Unit1.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QComboBox>
#include <QTemporaryDir>
#include <QColorDialog>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "ClientSurface.h"
#include "DesktopSession.h"
#include "UserFolders.h"

namespace {

// The client position of bitmap column x (row y) at a zoom factor.
int PreviewXAt(int x, int zoom) { return 5 + x * zoom; }
int PreviewYAt(int y, int zoom) { return 3 + y * zoom; }

QString XProperty(WId window, const char* name)
{
    return Run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window), QString::fromLatin1(name)});
}

// The window's title as the window manager reads it, both properties.
QStringList XTitles(WId window)
{
    QStringList titles;
    for (const char* name : {"_NET_WM_NAME", "WM_NAME"}) {
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("= \"(.*)\"")).match(XProperty(window, name));
        titles << (m.hasMatch() ? m.captured(1) : QStringLiteral("<none>"));
    }
    return titles;
}

void Keys(const QString& keys) { Run(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}); }

// The X pointer onto point p of w, in device pixels.
// The X pointer onto logical screen point g, at scale s.
void PointAt(QPoint g, qreal s)
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(qRound(g.x() * s)),
                                    QString::number(qRound(g.y() * s))});
}

void PointTo(QWidget* w, QPoint p) { PointAt(w->mapToGlobal(p), w->devicePixelRatioF()); }

// A real click (or several) of the left button at p, as the user makes it.
void Click(QWidget* w, QPoint p, int times = 1)
{
    PointTo(w, p);
    // Only once the pointer is over w as X sees it: a window still being
    // placed would take the click.
    if (!QTest::qWaitFor([w] { return w->underMouse(); }, 10000))
        qWarning("the pointer never came over %s", w->metaObject()->className());
    Run(QStringLiteral("xdotool"), {QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(times),
                                    QStringLiteral("1")});
}

// Whether a window of exactly this title is on the screen (asked without
// blocking, so this process keeps answering clipboard requests meanwhile).
bool WindowTitled(const QString& title)
{
    const QString pattern = QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
    return !Run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"), pattern}).trimmed().isEmpty();
}

std::unique_ptr<TfrmMain> ShowWindow()
{
    auto form = NewEditor();
    form->show();
    if (!QTest::qWaitForWindowActive(form.get()))
        qWarning("the window manager did not activate the window");
    // and where it stands on the X server is where the toolkit has it,
    // before the pointer aims at it.
    const auto onServer = [&] {
        const QString info = Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(form->winId())});
        const auto number = [&](const char* label) {
            return QRegularExpression(QString::fromLatin1(label) + QStringLiteral(":\\s*(-?\\d+)")).match(info).captured(1).toInt();
        };
        return QPoint(number("Absolute upper-left X"), number("Absolute upper-left Y"));
    };
    if (!QTest::qWaitFor([&] { return onServer() == (QPointF(form->mapToGlobal(QPoint(0, 0))) * form->devicePixelRatioF()).toPoint(); }, 10000))
        qWarning("the window never stood where the toolkit has it");
    return form;
}

// Each run of equal pixels along a line: colour and length.
struct Run_ {
    QRgb colour;
    int length;
};
QVector<Run_> Runs(const QImage& image, QPoint from, QPoint step, int count)
{
    QVector<Run_> runs;
    QPoint p = from;
    for (int i = 0; i < count; ++i, p += step) {
        const QRgb c = image.pixel(p) & 0xFFFFFF;
        if (runs.isEmpty() || runs.back().colour != c)
            runs.push_back({c, 0});
        ++runs.back().length;
    }
    return runs;
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

    // A modal dialog the window opens: its title as X has it, then closed.
    QStringList TitlesOfNextDialog(const std::function<void()>& open)
    {
        QStringList seen;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = nullptr;
            QTRY_VERIFY_WITH_TIMEOUT((dialog = QApplication::activeModalWidget()) && dialog->isVisible(), 5000);
            QTest::qWait(200);  // mapped and titled by the server
            seen = XTitles(dialog->winId());
            seen << dialog->windowTitle();
            QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
        });
        open();
        return seen;
    }

private slots:
    void captionAndDialogTitles()
    {
        auto form = ShowWindow();
        const QString caption = QStringLiteral("Larkspur Theme Editor - Untitled");
        QTRY_COMPARE(XTitles(form->winId()), (QStringList{caption, caption}));

        for (const auto& [expected, open] : std::initializer_list<std::pair<const char*, std::function<void()>>>{
                 {"Open Theme", [&] { form->mniOpenClick(); }},
                 {"Save Theme", [&] { form->mniSaveAsClick(); }},
                 {"Confirm", [&] { form->Session().SetSelectedColor(0); form->mniNewClick(); }},
             }) {
            const QString title = QString::fromLatin1(expected);
            QCOMPARE(TitlesOfNextDialog(open), (QStringList{title, title, title}));
        }
        // The colour dialog keeps its own title, and nothing is added to it.
        const QStringList colour = TitlesOfNextDialog([&] { form->btnColorClick(); });
        QCOMPARE(colour.size(), 3);
        QCOMPARE(colour[0], colour[2]);
        QCOMPARE(colour[1], colour[2]);
        QVERIFY(!colour[0].contains(QStringLiteral("Larkspur")));
        form->Session().Reset();
    }

    void sizeHintsForbidResizing()
    {
        auto form = ShowWindow();
        const QString hints = XProperty(form->winId(), "WM_NORMAL_HINTS");
        const QRegularExpression minimum(QStringLiteral("minimum size: (\\d+) by (\\d+)"));
        const QRegularExpression maximum(QStringLiteral("maximum size: (\\d+) by (\\d+)"));
        const auto low = minimum.match(hints), high = maximum.match(hints);
        QVERIFY2(low.hasMatch() && high.hasMatch(), qPrintable(hints));
        QCOMPARE(low.captured(1), high.captured(1));
        QCOMPARE(low.captured(2), high.captured(2));
        const QString actions = XProperty(form->winId(), "_NET_WM_ALLOWED_ACTIONS");
        QVERIFY2(actions.contains(QStringLiteral("_NET_WM_ACTION_CLOSE")), qPrintable(actions));
        QVERIFY2(!actions.contains(QStringLiteral("MAXIMIZE")), qPrintable(actions));
        // Nor a Maximize button: the Motif hints name the functions and the
        // decorations the window manager may offer, and neither has Maximize
        // (bit 0x10 of the functions, 0x40 of the decorations) or "all".
        const QRegularExpressionMatch motif =
            QRegularExpression(QStringLiteral("= (0x[0-9a-f]+), (0x[0-9a-f]+), (0x[0-9a-f]+)"))
                .match(XProperty(form->winId(), "_MOTIF_WM_HINTS"));
        QVERIFY2(motif.hasMatch(), qPrintable(XProperty(form->winId(), "_MOTIF_WM_HINTS")));
        const uint flags = motif.captured(1).toUInt(nullptr, 16), functions = motif.captured(2).toUInt(nullptr, 16),
                   decorations = motif.captured(3).toUInt(nullptr, 16);
        QVERIFY((flags & 1) && !(functions & 1) && !(functions & 0x10));
        QVERIFY((flags & 2) && !(decorations & 1) && !(decorations & 0x40));
        // Asked to all the same (as Wayland's client-side title bar would), it stays as it is.
        const QRect before = form->geometry();
        form->setWindowState(Qt::WindowMaximized);
        QTRY_VERIFY(!(form->windowState() & Qt::WindowMaximized));
        QTest::qWait(200);
        QCOMPARE(form->geometry().size(), before.size());
    }

    // The window manager frames the main window as it does its dialogs: the
    // same title bar and sides (a dialog that can be resized may have a grip
    // at the bottom).
    void theWindowManagerFramesEveryWindow()
    {
        const auto extents = [](const QWidget& window) {
            const QRegularExpressionMatch sides = QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"))
                                                      .match(XProperty(window.winId(), "_NET_FRAME_EXTENTS"));
            return sides.capturedTexts().mid(1, 3);
        };
        auto form = ShowWindow();
        QStringList main;
        QTRY_COMPARE((main = extents(*form)).size(), 3);
        QVERIFY2(main[2].toInt() > main[0].toInt(), qPrintable(main.join(QLatin1Char(','))));
        Keys(QStringLiteral("ctrl+l"));
        QDialog* legibility = nullptr;
        QTRY_VERIFY((legibility = form->findChild<QDialog*>()) && legibility->isVisible());
        QTRY_COMPARE(extents(*legibility), main);
        legibility->close();
    }

    void menusFromTheKeyboard()
    {
        auto form = ShowWindow();
        QMenuBar* bar = form->menuBar();
        Keys(QStringLiteral("alt+f"));
        QTRY_VERIFY(form->mniFile->isVisible());
        Keys(QStringLiteral("Escape"));
        QTRY_VERIFY(!form->mniFile->isVisible());
        Keys(QStringLiteral("Escape"));

        // F10: the bar has the focus and shows where it is.
        Keys(QStringLiteral("F10"));
        QTRY_VERIFY(bar->hasFocus());
        const QImage barImage = bar->grab().toImage();
        const QRect file = bar->actionGeometry(form->mniFile->menuAction());
        const QColor highlight = bar->palette().color(QPalette::Highlight);
        int lit = 0;
        for (int y = file.top(); y <= file.bottom(); ++y)
            for (int x = file.left(); x <= file.right(); ++x)
                lit += QColor(barImage.pixel(QPoint(x, y) * barImage.devicePixelRatio())) == highlight;
        QVERIFY2(lit > file.width() * file.height() / 3, "the caption the keyboard is on is not highlighted");
        Keys(QStringLiteral("Right"));
        QTRY_COMPARE(bar->activeAction(), form->mniEdit->menuAction());
        Keys(QStringLiteral("Down"));
        QTRY_VERIFY(form->mniEdit->isVisible());
        Keys(QStringLiteral("Escape"));
        QTRY_VERIFY(!form->mniEdit->isVisible());
        Keys(QStringLiteral("Escape"));
        QTRY_VERIFY(!bar->hasFocus());

        // After F10 a caption's first letter opens its menu. In Display at 1x,
        // "Z" only moves between Zoom In and the disabled Zoom Out.
        Keys(QStringLiteral("F10"));
        QTRY_VERIFY(bar->hasFocus());
        Keys(QStringLiteral("d"));
        QTRY_VERIFY(form->mniDisplay->isVisible());
        QVERIFY(!form->mniZoomOut->isEnabled());
        Keys(QStringLiteral("z"));
        QTRY_COMPARE(form->mniDisplay->activeAction(), form->mniZoomIn);
        QTest::qWait(200);
        QCOMPARE(form->Session().Zoom(), 1);
        QVERIFY(form->mniDisplay->isVisible());
        Keys(QStringLiteral("Escape"));
        QTRY_VERIFY(!form->mniDisplay->isVisible());
        Keys(QStringLiteral("Escape"));
        QTRY_VERIFY(!bar->hasFocus());

        // Alt+D, then the first letter of an item chooses it.
        Keys(QStringLiteral("alt+d"));
        QTRY_VERIFY(form->mniDisplay->isVisible());
        Keys(QStringLiteral("8"));
        QTRY_VERIFY(form->Session().SmallDisplay());
        QVERIFY(form->mniDispSmall->isChecked());

        // Shared letters move between their items: "S" is Save, then Save As.
        Keys(QStringLiteral("alt+f"));
        QTRY_VERIFY(form->mniFile->isVisible());
        Keys(QStringLiteral("s"));
        QTRY_COMPARE(form->mniFile->activeAction(), form->mniSave);
        Keys(QStringLiteral("s"));
        QTRY_COMPARE(form->mniFile->activeAction(), form->mniSaveAs);
        Keys(QStringLiteral("Escape"));
        QTRY_VERIFY(!form->mniFile->isVisible());

        // The Theme menu stays shut while it is disabled.
        Keys(QStringLiteral("alt+t"));
        QTest::qWait(300);
        QVERIFY(!form->mniTheme->isVisible());
        form->mniDispLargeClick();
    }

    void exitFromTheKeyboardEndsTheProgram()
    {
        // The command line first: these answer and end without a window.
        for (const auto& [args, code, says] : {std::tuple{QStringList{QStringLiteral("--version")}, 0, "larkspur-theme-editor 1."},
                                               std::tuple{QStringList{QStringLiteral("--help")}, 0, "usage: larkspur-theme-editor [FILE.lsth]"},
                                               std::tuple{QStringList{QStringLiteral("a.lsth"), QStringLiteral("b.lsth")}, 2, "unexpected argument"}}) {
            QProcess p;
            p.start(QStringLiteral(EDITOR), args);
            QVERIFY(p.waitForFinished(10000));
            QCOMPARE(p.exitCode(), code);
            QVERIFY2((p.readAllStandardOutput() + p.readAllStandardError()).contains(says), says);
        }
        QProcess editor;
        editor.start(QStringLiteral(EDITOR), {});
        QVERIFY(editor.waitForStarted());
        const QString id = Run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--sync"),
                                                          QStringLiteral("--name"),
                                                          QStringLiteral("^Larkspur Theme Editor - Untitled$")})
                               .split(QLatin1Char('\n'))
                               .first();
        QVERIFY(!id.isEmpty());
        Run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), id});
        QTest::qWait(300);
        Keys(QStringLiteral("alt+f"));
        QTest::qWait(300);
        // Up from the top of the menu goes round to Exit, its last item;
        // Enter chooses it.
        for (const char* key : {"Up", "Return"}) {
            Keys(QString::fromLatin1(key));
            QTest::qWait(100);
        }
        // It may have ended while the keys were still being waited for.
        QVERIFY2(editor.state() == QProcess::NotRunning || editor.waitForFinished(5000),
                 "File > Exit did not end the editor");
        QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
        QCOMPARE(editor.exitCode(), 0);
    }

    // The real program, given a theme file, edited, then killed: the next start
    // offers the draft back, and Yes restores the theme with its file name.
    void aKilledEditorsThemeComesBack()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString theme = home.filePath(QStringLiteral("kept.lsth"));
        {
            TThemeColorTable colors{};
            LoadDefaultTheme(colors);
            TPackedTheme packed{};
            std::string name;
            QVERIFY(SaveTheme(theme.toStdString(), colors, packed, false, name));
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        const auto start = [&](QProcess& editor, const QStringList& args, const QString& title, bool activate) {
            editor.setProcessEnvironment(env);
            editor.start(QStringLiteral(EDITOR), args);
            QVERIFY(editor.waitForStarted());
            const QString id = Run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--sync"),
                                                              QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')})
                                   .split(QLatin1Char('\n'))
                                   .first();
            QVERIFY2(!id.isEmpty(), qPrintable(title));
            if (activate)
                Run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), id});
            QTest::qWait(300);
        };
        QProcess first;
        start(first, {theme}, QStringLiteral("Larkspur Theme Editor - kept.lsth"), true);
        QGuiApplication::clipboard()->setText(QStringLiteral("#FF0000"));
        Keys(QStringLiteral("ctrl+v"));
        QTRY_VERIFY_WITH_TIMEOUT(WindowTitled(QStringLiteral("Larkspur Theme Editor - kept.lsth *")), 10000);
        const QDir drafts(home.filePath(QStringLiteral("state/larkspur-theme-editor")));
        QTRY_COMPARE_WITH_TIMEOUT(drafts.entryList({QStringLiteral("draft-*.lsth")}).size(), 1, 5000);
        first.kill();
        QVERIFY(first.waitForFinished(5000));

        QProcess second;
        // The question comes over the window, which is on the screen already,
        // and has the keyboard without any help.
        start(second, {}, QStringLiteral("Confirm"), false);
        QVERIFY(WindowTitled(QStringLiteral("Larkspur Theme Editor - Untitled")));
        QTRY_COMPARE(Run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")}).trimmed(),
                     QStringLiteral("Confirm"));
        Keys(QStringLiteral("Return"));
        QTRY_VERIFY_WITH_TIMEOUT(WindowTitled(QStringLiteral("Larkspur Theme Editor - kept.lsth *")), 10000);
        Keys(QStringLiteral("ctrl+s"));
        QTRY_VERIFY_WITH_TIMEOUT(WindowTitled(QStringLiteral("Larkspur Theme Editor - kept.lsth")), 10000);
        TPackedTheme saved{};
        std::string name;
        QVERIFY(LoadTheme(theme.toStdString(), saved, [](bool) {}, name));
        QCOMPARE(saved[0], TRGB565(0xF800));
        // Saved: the draft is gone, and a clean exit leaves nothing behind.
        QTRY_COMPARE_WITH_TIMEOUT(drafts.entryList({QStringLiteral("draft-*.lsth")}).size(), 0, 5000);
        Keys(QStringLiteral("alt+f"));
        QTest::qWait(300);
        for (const char* key : {"Up", "Return"}) {
            Keys(QString::fromLatin1(key));
            QTest::qWait(100);
        }
        QVERIFY(second.state() == QProcess::NotRunning || second.waitForFinished(5000));
        QCOMPARE(drafts.entryList(QDir::Files).size(), 0);
    }

    // At the scale factor of this run: the frame is a closed line of one
    // logical pixel in the shadow colour, as wide on all four sides, the bitmap
    // fills it with neither gap nor overlap, and the button's glyph has only
    // its own three colours.
    void frameAndGlyphAreCrisp()
    {
        auto form = ShowWindow();
        QTest::qWait(200);
        const qreal s = form->devicePixelRatioF();
        qInfo("device pixel ratio %g", s);
        const QImage shot = form->screen()->grabWindow(form->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint offset = form->surface->mapTo(form.get(), QPoint(0, 0));
        const auto device = [&](int x, int y) { return QPointF((offset.x() + x) * s, (offset.y() + y) * s).toPoint(); };
        const QRgb shadow = form->palette().color(QPalette::Dark).rgb() & 0xFFFFFF;
        const QRgb back = form->palette().color(QPalette::Window).rgb() & 0xFFFFFF;
        const QRgb black = 0;  // page 0's background, all along the bitmap's edges
        const int lineMin = int(s), lineMax = int(std::ceil(s));

        // Across the preview, both ways, where page 0 is only background: window
        // background, frame, bitmap, frame, window background. The frame's four
        // lines are equally wide; the bitmap is a whole number of screen pixels
        // per device pixel, the largest that fits the layout's room.
        const int pixel = std::max(1, int(std::floor(s + 1e-9)));
        // Device row 190 is background from edge to edge: the row through it,
        // the bitmap being centred in the room from logical (5,3) to (245,323).
        const int roomTop = device(5, 3).y(), roomBottom = device(245, 323).y();
        QPoint from(device(1, 0).x(), roomTop + (roomBottom - roomTop - 320 * pixel) / 2 + 190 * pixel + pixel / 2);
        QPoint step(1, 0);
        int across = int(248 * s);
        QVector<int> lines;
        QPoint outer0, outer1, picture;
        for (int bitmapSize : {240 * pixel, 320 * pixel}) {
            const QVector<Run_> runs = Runs(shot, from, step, across);
            QVERIFY2(runs.size() == 5, qPrintable(QStringLiteral("%1 runs across the preview").arg(runs.size())));
            QCOMPARE(runs[0].colour, back);
            QCOMPARE(runs[1].colour, shadow);
            QCOMPARE(runs[2].colour, black);
            QCOMPARE(runs[3].colour, shadow);
            QCOMPARE(runs[4].colour, back);
            for (int i : {1, 3}) {
                QVERIFY2(runs[i].length >= lineMin && runs[i].length <= lineMax,
                         qPrintable(QStringLiteral("frame line %1 device pixels wide").arg(runs[i].length)));
                lines << runs[i].length;
            }
            QCOMPARE(runs[2].length, bitmapSize);
            // Centred in the room, but for an odd pixel.
            QVERIFY2(std::abs(runs[0].length - runs[4].length) <= 2 + lineMax,
                     qPrintable(QStringLiteral("margins %1 and %2").arg(runs[0].length).arg(runs[4].length)));
            const QPoint start = from + step * runs[0].length;
            const QPoint end = start + step * (runs[1].length + runs[2].length + runs[3].length);
            (step.x() ? outer0.rx() : outer0.ry()) = step.x() ? start.x() : start.y();
            (step.x() ? outer1.rx() : outer1.ry()) = step.x() ? end.x() : end.y();
            const QPoint first = start + step * runs[1].length;
            (step.x() ? picture.rx() : picture.ry()) = step.x() ? first.x() : first.y();
            // Down the first column of the bitmap.
            from = QPoint(first.x() + 1, device(0, 0).y());
            step = QPoint(0, 1);
            across = int(326 * s) + 1;
        }
        // Every device pixel drawn as the same square: the screen shows the
        // drawer's bitmap scaled by a whole number, nothing blended.
        const Bitmap& bitmap = form->Session().Drawer().Bitmap();
        int wrong = 0;
        for (int y = 0; y < 320 * pixel; ++y)
            for (int x = 0; x < 240 * pixel; ++x) {
                const std::uint8_t* bgr = bitmap.Data() + (y / pixel) * bitmap.Stride() + (x / pixel) * 3;
                wrong += (shot.pixel(picture + QPoint(x, y)) & 0xFFFFFF) != (qRgb(bgr[2], bgr[1], bgr[0]) & 0xFFFFFF);
            }
        QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1 screen pixels differ from the bitmap").arg(wrong)));
        // The frame is closed: its four lines run unbroken corner to corner.
        for (int x = outer0.x(); x < outer1.x(); ++x)
            for (int y : {outer0.y(), outer1.y() - 1})
                QVERIFY2((shot.pixel(x, y) & 0xFFFFFF) == shadow, qPrintable(QStringLiteral("gap at %1,%2").arg(x).arg(y)));
        for (int y = outer0.y(); y < outer1.y(); ++y)
            for (int x : {outer0.x(), outer1.x() - 1})
                QVERIFY2((shot.pixel(x, y) & 0xFFFFFF) == shadow, qPrintable(QStringLiteral("gap at %1,%2").arg(x).arg(y)));

        // The glyph of the colour button, showing white: button face, a black
        // ring and the white swatch, nothing blended in between, at every scale.
        form->lstColors->setCurrentRow(form->lstColors->row(form->lstColors->findItems(QStringLiteral("Battery"), Qt::MatchExactly).first()));
        QTest::qWait(100);
        const QImage button = form->btnColor->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QRect swatch;
        for (int y = 0; y < button.height(); ++y)
            for (int x = 0; x < button.width() / 3; ++x)
                if ((button.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                    swatch |= QRect(x, y, 1, 1);
        QVERIFY(!swatch.isEmpty());
        QVERIFY2(std::abs(swatch.width() - 13 * s) <= 1 && swatch.width() == swatch.height(),
                 qPrintable(QStringLiteral("swatch %1x%2").arg(swatch.width()).arg(swatch.height())));
        const QRect ring = swatch.adjusted(-lineMax, -lineMax, lineMax, lineMax);
        int blended = 0;
        for (int y = ring.top(); y <= ring.bottom(); ++y)
            for (int x = ring.left(); x <= ring.right(); ++x) {
                const QRgb c = button.pixel(x, y) & 0xFFFFFF;
                blended += c != 0xFFFFFF && c != 0 && !swatch.contains(x, y) && c != (button.pixel(ring.left() - 1, y) & 0xFFFFFF);
            }
        QCOMPARE(blended, 0);
        for (int d = 1; d <= lineMin; ++d)
            QCOMPARE(button.pixel(swatch.left() - d, swatch.center().y()) & 0xFFFFFF, QRgb(0));
    }

    // At 2x zoom each bitmap pixel is one flat square of device pixels, and
    // the pointer over the preview outlines exactly its slot's pixels.
    void zoomIsCrispAndTheOutlineFollowsThePointer()
    {
        auto form = ShowWindow();
        form->preview->SetZoom(2);
        Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("0"), QStringLiteral("0")});
        QTest::qWait(300);
        QTRY_COMPARE(form->preview->HoveredSlot(), -1);
        const qreal s = form->devicePixelRatioF();
        const QPoint offset = form->surface->mapTo(form.get(), QPoint(0, 0));
        const auto grab = [&] {
            return form->screen()->grabWindow(form->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        };
        const auto device = [&](double x, double y) { return QPointF((offset.x() + x) * s, (offset.y() + y) * s).toPoint(); };
        const Bitmap& bitmap = form->Session().Drawer().Bitmap();
        // The centre of bitmap pixel (x, y) in the grab, and its colour there.
        const auto at = [&](const QImage& shot, int x, int y) {
            return shot.pixel(device(PreviewXAt(x, 2) + 1.0, PreviewYAt(y, 2) + 1.0)) & 0xFFFFFF;
        };
        const QImage plain = grab();
        int wrong = 0;
        for (int y = 0; y < 320; y += 7)
            for (int x = 0; x < 240; x += 5) {
                const TColor c = bitmap.Pixel(x, y);
                const QRgb want = qRgb(int(ColorRed(c)), int(ColorGreen(c)), int(ColorBlue(c))) & 0xFFFFFF;
                // Every device pixel of the square, not only its centre.
                const QPoint a = device(PreviewXAt(x, 2), PreviewYAt(y, 2)), b = device(PreviewXAt(x + 1, 2), PreviewYAt(y + 1, 2));
                for (int py = a.y(); py < b.y(); ++py)
                    for (int px = a.x(); px < b.x(); ++px)
                        wrong += (plain.pixel(px, py) & 0xFFFFFF) != want;
            }
        QCOMPARE(wrong, 0);

        // Over the big value: a ring round its pixels appears, and goes with the pointer.
        const QPoint over = form->surface->mapToGlobal(QPoint(PreviewXAt(120, 2) + 1, PreviewYAt(90, 2) + 1));
        // xdotool moves in the screen's device pixels.
        Run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QString::number(qRound(over.x() * s)), QString::number(qRound(over.y() * s))});
        QTRY_COMPARE(form->preview->HoveredSlot(), SlotIndex(SlotId::Main_Dom));
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY(QToolTip::text().startsWith(QStringLiteral("Dominant\n#FFFFFF  0xFFFF")));
        QToolTip::hideText();  // it would cover the pixels looked at
        QTRY_VERIFY(!QToolTip::isVisible());
        QTest::qWait(100);
        const QImage outlined = grab();
        const SlotMap& map = form->Session().Drawer().Slots();
        int ring = 0, touched = 0;
        for (int y = 60; y < 125; ++y)
            for (int x = 60; x < 180; ++x) {
                const bool dom = map.At(x, y).level >= 8 && map.At(x, y).fg == SlotId::Main_Dom;
                const bool changed = at(outlined, x, y) != at(plain, x, y);
                touched += changed && dom;  // the slot's own pixels stay as they are
                ring += changed;
            }
        QCOMPARE(touched, 0);
        QVERIFY2(ring > 100, qPrintable(QString::number(ring)));
        Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("0"), QStringLiteral("0")});
        QTRY_COMPARE(form->preview->HoveredSlot(), -1);
        QTest::qWait(200);
        QCOMPARE(grab(), plain);
        form->preview->SetZoom(1);
    }

    // A remembered 4x and every zoom step keep the whole window, frame
    // included, on the screen (a 1920x1080 one in the runs that call this), and
    // Zoom In stops where one more step would not fit.
    void zoomKeepsTheWindowOnTheScreen()
    {
        QVERIFY(StoreUserSetting(UserConfigFolder() + QStringLiteral("/view.ini"), QStringLiteral("Zoom"), 4));
        auto form = ShowWindow();
        const QRect room = form->screen()->availableGeometry();
        const auto onScreen = [&] { return room.contains(OuterFrame(*form)); };
        const auto where = [&] {
            const QRect f = OuterFrame(*form);
            return qPrintable(QStringLiteral("zoom %1: frame %2,%3 %4x%5 on %6x%7")
                                  .arg(form->Session().Zoom()).arg(f.x()).arg(f.y()).arg(f.width()).arg(f.height())
                                  .arg(room.width()).arg(room.height()));
        };
        const auto nextFits = [&] {
            const QSize next = OuterFrame(*form).size() + QSize(240, 320);
            return next.width() <= room.width() && next.height() <= room.height();
        };
        // The frame is known once the window manager has framed the window.
        QTRY_VERIFY2(OuterFrame(*form) != form->geometry() && onScreen(), where());
        QVERIFY2(form->Session().Zoom() == 4 || !nextFits(), where());
        // Centred at the size it starts at, but for a frame's rounding; the
        // title bar, unknown before the window is first shown, may put it
        // off by up to half the bar's height.
        const QPoint off = OuterFrame(*form).center() - room.center();
        const int bar = form->geometry().top() - OuterFrame(*form).top();
        QVERIFY2(qAbs(off.x()) <= 2 && qAbs(off.y()) <= bar / 2 + 2, where());
        form->activateWindow();
        Keys(QStringLiteral("ctrl+0"));
        QTRY_COMPARE(form->Session().Zoom(), 1);
        QTRY_VERIFY2(onScreen(), where());
        for (int step = 0; step < 4; ++step) {
            const int before = form->Session().Zoom();
            const bool fits = before < 4 && nextFits();
            QCOMPARE(form->mniZoomIn->isEnabled(), fits);
            Keys(QStringLiteral("ctrl+equal"));
            if (fits) {
                QTRY_COMPARE(form->Session().Zoom(), before + 1);
            } else {
                QTest::qWait(200);
                QCOMPARE(form->Session().Zoom(), before);
            }
            QTRY_VERIFY2(onScreen(), where());
        }
        Keys(QStringLiteral("ctrl+0"));
        QTRY_COMPARE(form->Session().Zoom(), 1);
        QTRY_VERIFY2(onScreen(), where());
    }

    // On a screen with little room (1920x1080, at scale 2 only 960x540) the
    // legibility window still leaves the preview in view, and stays on the screen.
    void sideWindowsLeaveThePreviewInView()
    {
        auto form = ShowWindow();
        QTRY_VERIFY(OuterFrame(*form) != form->geometry());
        const QRect preview(form->surface->mapToGlobal(QPoint(4, 2)), QSize(242, 322));
        const QRect room = form->screen()->availableGeometry();
        const QList<std::pair<const char*, std::function<QDialog*()>>> windows = {
            {"ctrl+l", [&] { return form->findChild<QDialog*>(); }},
            {"ctrl+b", [&] { return static_cast<QDialog*>(form->browser); }},
        };
        for (const auto& [keys, find] : windows) {
            Keys(QString::fromLatin1(keys));
            QDialog* window = nullptr;
            QTRY_VERIFY((window = find()) && window->isVisible());
            QTRY_VERIFY(OuterFrame(*window) != window->geometry());
            const QRect at = OuterFrame(*window);
            QVERIFY2(!at.intersects(preview) && room.contains(at),
                     qPrintable(QStringLiteral("%1: window at %2,%3 %4x%5, preview at %6,%7")
                                    .arg(QString::fromLatin1(keys)).arg(at.x()).arg(at.y()).arg(at.width())
                                    .arg(at.height()).arg(preview.x()).arg(preview.y())));
            window->close();
        }
    }

    // The legibility window stands beside the editor and follows each edit;
    // the colour dialog shows each candidate on the preview and in the list,
    // and Cancel leaves the theme and its history as they were.
    void legibilityAndColourPickingAreLive()
    {
        auto form = ShowWindow();
        const auto click = Click;
        Keys(QStringLiteral("ctrl+l"));
        QDialog* legibility = nullptr;
        QTRY_VERIFY((legibility = form->findChild<QDialog*>()) && legibility->isVisible());
        QTRY_VERIFY(OuterFrame(*legibility) != legibility->geometry());
        QVERIFY(!OuterFrame(*legibility).intersects(OuterFrame(*form)));
        auto* rows = legibility->findChild<QTreeWidget*>(QStringLiteral("pairs"));
        auto* summary = legibility->findChild<QLabel*>(QStringLiteral("summary"));
        const auto countSays = [&] {
            const int n = rows->topLevelItemCount();
            return summary->text().startsWith(n == 1 ? QStringLiteral("1 pair is ") : QStringLiteral("%1 pairs are ").arg(n));
        };
        QVERIFY(rows->topLevelItemCount() > 0);
        QVERIFY2(countSays(), qPrintable(summary->text()));

        // A double-click shows the pair's page and text slot, both in view.
        QTreeWidgetItem* first = rows->topLevelItem(0);
        const QStringList pair{first->text(2), first->text(3), first->text(4)};
        const int page = first->data(0, Qt::UserRole).toInt();
        click(rows->viewport(), rows->visualItemRect(first).center(), 2);
        QTRY_COMPARE(form->cmbLayout->currentIndex(), page);
        QTRY_COMPARE(form->lstColors->selectedItems().value(0) ? form->lstColors->selectedItems().first()->text() : QString(),
                     pair[1]);
        QVERIFY(!OuterFrame(*legibility).intersects(OuterFrame(*form)));
        const auto listed = [&] {
            for (int i = 0; i < rows->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* r = rows->topLevelItem(i);
                if (QStringList{r->text(2), r->text(3), r->text(4)} == pair)
                    return true;
            }
            return false;
        };
        // White or black text is legible on any background: one of them
        // mends the pair, and the window says so at once.
        const int slot = form->Session().SelectedSlot() ? SlotIndex(*form->Session().SelectedSlot()) : -1;
        QVERIFY(slot >= 0);
        Run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(form->winId())});
        for (const char* colour : {"#FFFFFF", "#000000"}) {
            QGuiApplication::clipboard()->setText(QString::fromLatin1(colour));
            Keys(QStringLiteral("ctrl+v"));
            QTRY_COMPARE(QString::fromStdString(ColorToHexText(form->Session().ThemeColors()[std::size_t(slot)])), QString::fromLatin1(colour));
            if (!listed())
                break;
        }
        QVERIFY2(!listed(), qPrintable(pair.join(QLatin1Char('/'))));
        QVERIFY2(countSays(), qPrintable(summary->text()));
        Run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(legibility->winId())});
        Keys(QStringLiteral("Escape"));
        QTRY_VERIFY(!legibility->isVisible());

        // The colour dialog, from a click on the colour button.
        const TColor before = form->Session().ThemeColors()[std::size_t(slot)];
        const bool couldUndo = form->Session().Document().History().CanUndo();
        const std::string undoName = form->Session().Document().History().UndoName();
        const TColor candidate = RGB565ToColor(ColorToRGB565(MakeColor(0x12, 0x34, 0x56)));
        const QRgb shown = qRgb(int(ColorRed(candidate)), int(ColorGreen(candidate)), int(ColorBlue(candidate))) & 0xFFFFFF;
        const auto count = [&](const QImage& image) {
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    n += (image.pixel(x, y) & 0xFFFFFF) == shown;
            return n;
        };
        const auto previewShows = [&] { return count(form->surface->grab(QRect(5, 3, 240, 320)).toImage()); };
        const auto listShows = [&] { return count(form->lstColors->grab().toImage()); };
        QCOMPARE(previewShows(), 0);
        // The dialog is modal: what happens while it is open runs from within
        // its own event loop, and it is closed whatever that found.
        bool cancelled = false;
        const auto whileOpen = [&](QColorDialog* dialog) {
            // Framed and placed by the window manager, and with the keyboard.
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QTRY_VERIFY_WITH_TIMEOUT(dialog->isActiveWindow() && OuterFrame(*dialog) != dialog->geometry(), 10000);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Colour of ") + pair[1]);
            const QRect preview(form->surface->mapToGlobal(QPoint(4, 2)), QSize(242, 322));
            QVERIFY(!OuterFrame(*dialog).intersects(preview));
            QLineEdit* html = nullptr;
            for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
                if (edit->text().startsWith(QLatin1Char('#')))
                    html = edit;
            QVERIFY(html);
            click(html, html->rect().center(), 1);
            QTRY_VERIFY_WITH_TIMEOUT(html->hasFocus(), 10000);
            Keys(QStringLiteral("ctrl+a"));
            Run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("#123456")});
            QTRY_COMPARE_WITH_TIMEOUT(html->text(), QStringLiteral("#123456"), 10000);
            QTRY_VERIFY_WITH_TIMEOUT(previewShows() > 0, 10000);
            QTRY_VERIFY_WITH_TIMEOUT(listShows() > 0, 10000);
            // Shown, never stored while it is only tried.
            QCOMPARE(form->Session().ShownColors()[std::size_t(slot)], candidate);
            QCOMPARE(form->Session().ThemeColors()[std::size_t(slot)], before);
            Keys(QStringLiteral("Escape"));
            QTRY_VERIFY(!dialog->isVisible());
            cancelled = true;
        };
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            watch.stop();
            whileOpen(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        watch.start(50);
        click(form->btnColor, form->btnColor->rect().center(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(cancelled || (!watch.isActive() && !QApplication::activeModalWidget()), 60000);
        QVERIFY(cancelled);
        QTRY_COMPARE(form->Session().ThemeColors()[std::size_t(slot)], before);
        QCOMPARE(previewShows(), 0);
        QCOMPARE(form->Session().Document().History().CanUndo(), couldUndo);
        QCOMPARE(form->Session().Document().History().UndoName(), undoName);
        form->Session().Reset();
    }

    // Generate Theme as a user reaches it: Alt+E and G open it beside the
    // window with the keyboard in it; a click on Light and on Shuffle
    // regenerate; Enter in a field applies what the dialog showed, one step.
    void generateThemeFromTheKeyboardAndMouse()
    {
        auto form = ShowWindow();
        const auto click = [](QWidget* w) { Click(w, w->rect().center()); };
        const TThemeColorTable before = form->Session().ThemeColors();
        TThemeColorTable shown{};
        bool done = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            auto* dialog = dynamic_cast<GenerateThemeDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            watch.stop();
            [&] {
                QTRY_VERIFY_WITH_TIMEOUT(dialog->isActiveWindow() && OuterFrame(*dialog) != dialog->geometry(), 10000);
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Generate Theme"));
                const QRect preview(form->surface->mapToGlobal(QPoint(4, 2)), QSize(242, 322));
                QVERIFY(!OuterFrame(*dialog).intersects(preview));
                const QImage first = dialog->preview->pixmap().toImage();
                click(dialog->light);
                QTRY_VERIFY_WITH_TIMEOUT(dialog->light->isChecked(), 10000);
                QVERIFY(dialog->preview->pixmap().toImage() != first);
                QPushButton* shuffle = nullptr;
                for (QPushButton* b : dialog->findChildren<QPushButton*>())
                    if (b->text() == QStringLiteral("&Shuffle"))
                        shuffle = b;
                QVERIFY(shuffle);
                click(shuffle);
                QTRY_VERIFY_WITH_TIMEOUT(dialog->variation->value() != 0, 10000);
                shown = dialog->Result().colors;
                // Enter on a button presses it; from a field it is OK.
                click(dialog->variation);
                QTRY_VERIFY_WITH_TIMEOUT(dialog->variation->hasFocus(), 10000);
                Keys(QStringLiteral("Return"));
                QTRY_VERIFY(!dialog->isVisible());
                done = true;
            }();
            if (dialog->isVisible())
                dialog->reject();
        });
        watch.start(50);
        Keys(QStringLiteral("alt+e"));
        QTRY_VERIFY(form->mniEdit->isVisible());
        Keys(QStringLiteral("g"));
        QTRY_VERIFY_WITH_TIMEOUT(done || (!watch.isActive() && !QApplication::activeModalWidget()), 60000);
        QVERIFY(done);
        QCOMPARE(form->Session().ThemeColors(), shown);
        QVERIFY(form->Session().ThemeColors() != before);
        QCOMPARE(form->Session().Document().History().UndoName(), std::string("Generate Theme"));
        Keys(QStringLiteral("ctrl+z"));
        QTRY_COMPARE(form->Session().ThemeColors(), before);
        form->Session().Reset();
    }

    // Browse and compare as a user does: Ctrl+B shows the folder's themes,
    // a double-click on one opens it; the backslash key held down shows the
    // compared theme on the screen until it comes up; a click on Take All
    // takes its colours.
    void browseAndCompareWithTheMouse()
    {
        QTemporaryDir dir;
        TThemeColorTable colors{};
        LoadDefaultTheme(colors);
        const auto save = [&](const QString& name, TRGB565 background) {
            colors[0] = RGB565ToColor(background);
            TPackedTheme words{};
            std::string ignored;
            return SaveTheme(dir.filePath(name).toStdString(), colors, words, false, ignored);
        };
        QVERIFY(save(QStringLiteral("first.lsth"), 0x0000) && save(QStringLiteral("second.lsth"), 0x001F));
        auto form = ShowWindow();
        form->OpenThemeFile(dir.filePath(QStringLiteral("first.lsth")).toStdString());
        Keys(QStringLiteral("ctrl+b"));
        QTRY_VERIFY(form->browser && form->browser->isVisible() && form->browser->Pending() == 0);
        QTRY_VERIFY_WITH_TIMEOUT(form->browser->isActiveWindow() && OuterFrame(*form->browser) != form->browser->geometry(), 10000);
        QListWidget* items = form->browser->list;
        QCOMPARE(items->count(), 2);
        QListWidgetItem* second = items->item(1);
        QCOMPARE(second->text(), QStringLiteral("second"));
        // A narrow window beside the editor shows one picture a row.
        items->scrollToItem(second);
        QTRY_VERIFY(items->viewport()->rect().contains(items->visualItemRect(second).center()));
        Click(items->viewport(), items->visualItemRect(second).center(), 2);
        QTRY_VERIFY(form->windowTitle().endsWith(QStringLiteral(" - second.lsth")));
        QCOMPARE(form->Session().ThemeColors()[0], RGB565ToColor(0x001F));
        form->browser->close();

        QVERIFY(form->exchange->CompareWith(dir.filePath(QStringLiteral("first.lsth"))));
        QTRY_VERIFY_WITH_TIMEOUT(form->compareWindow->isVisible() &&
                                     OuterFrame(*form->compareWindow) != form->compareWindow->geometry(), 10000);
        const auto previewCorner = [&] {
            return form->surface->grab(QRect(PreviewX + 1, PreviewY + 200, 1, 1)).toImage().pixel(0, 0) & 0xFFFFFF;
        };
        const QRgb mine = previewCorner();
        QCOMPARE(mine, qRgb(0, 0, 255) & 0xFFFFFF);
        // The key works from the compare window, which says to hold it, and from the editor.
        for (QWidget* window : {static_cast<QWidget*>(form->compareWindow), static_cast<QWidget*>(form.get())}) {
            window->activateWindow();
            QTRY_VERIFY_WITH_TIMEOUT(window->isActiveWindow(), 10000);
            Run(QStringLiteral("xdotool"), {QStringLiteral("keydown"), QStringLiteral("backslash")});
            QTRY_COMPARE_WITH_TIMEOUT(previewCorner(), qRgb(0, 0, 0) & 0xFFFFFF, 10000);
            Run(QStringLiteral("xdotool"), {QStringLiteral("keyup"), QStringLiteral("backslash")});
            QTRY_COMPARE_WITH_TIMEOUT(previewCorner(), mine, 10000);
        }
        auto* takeAll = form->compareWindow->findChild<QPushButton*>(QStringLiteral("takeAll"));
        Click(takeAll, takeAll->rect().center());
        QTRY_COMPARE(form->Session().ThemeColors()[0], RGB565ToColor(0x0000));
        QCOMPARE(form->Session().Document().History().UndoName(), std::string("Take Colours"));
        form->compareWindow->close();
        form->Session().Reset();
    }

    // The mouse on the list, as a user clicks it: a row's slot is chosen, and
    // the outline of the preview goes once the pointer moves onto the list.
    // Then Undo after Open and Ctrl+S write the earlier file, never the opened one.
    void mouseOnTheListAndUndoAfterOpen()
    {
        auto form = ShowWindow();
        const auto pointTo = PointTo;
        QListWidget* list = form->lstColors;
        for (int row : {3, 5}) {
            Click(list->viewport(), list->visualItemRect(list->item(row)).center());
            const SlotId slot = static_cast<SlotId>(list->item(row)->data(Qt::UserRole).toInt());
            QTRY_VERIFY(form->Session().SelectedSlot() == slot);
            QVERIFY(form->mniCopyColor->isEnabled() && form->mniPasteColor->isEnabled());
            QVERIFY(form->btnColor->text().startsWith(QString::fromStdString(ColorToHexText(form->Session().ThemeColors()[std::size_t(SlotIndex(slot))]))));
        }
        pointTo(form->surface, QPoint(PreviewXAt(120, 1), PreviewYAt(90, 1)));
        QTRY_COMPARE(form->preview->HoveredSlot(), SlotIndex(SlotId::Main_Dom));
        QTRY_VERIFY(QToolTip::isVisible());
        pointTo(list->viewport(), QPoint(20, 20));
        QTRY_COMPARE(form->preview->HoveredSlot(), -1);
        QTRY_VERIFY(!QToolTip::isVisible());

        QTemporaryDir dir;
        const auto save = [&](const char* name, TRGB565 word) {
            TThemeColorTable colors{};
            LoadDefaultTheme(colors);
            colors[0] = RGB565ToColor(word);
            TPackedTheme packed{};
            std::string ignored;
            SaveTheme(dir.filePath(QString::fromLatin1(name)).toStdString(), colors, packed, false, ignored);
            return dir.filePath(QString::fromLatin1(name));
        };
        const QString a = save("a.lsth", 0x1111);
        const auto bytesOf = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray aBefore = bytesOf(a);
        form->OpenThemeFile((a).toStdString());
        QCOMPARE(form->windowTitle(), QStringLiteral("Larkspur Theme Editor - a.lsth"));
        form->cmbLayout->setFocus();
        Keys(QStringLiteral("ctrl+z"));
        // Back to the untitled default theme: the file went with its document.
        QTRY_COMPARE(form->windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled"));
        QCOMPARE(ColorToRGB565(form->Session().ThemeColors()[0]), ColorToRGB565(MakeColor(0, 0, 0)));
        // Ctrl+S asks for a name (the Save dialog, cancelled here) and writes nothing into a.lsth.
        QStringList dialogs;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                dialogs << box->windowTitle();
                box->close();
            }
        });
        answer.start(50);
        Keys(QStringLiteral("ctrl+s"));
        QTRY_COMPARE(dialogs, QStringList{QStringLiteral("Save Theme")});
        answer.stop();
        QCOMPARE(bytesOf(a), aBefore);
        QCOMPARE(form->windowTitle(), QStringLiteral("Larkspur Theme Editor - Untitled"));
    }

    // Scaling off and a large font resolution: the fonts keep their 96-dpi
    // pixel size, so the fixed layout keeps its geometry.
    void fixedLayoutAtLargeFontResolution()
    {
        auto form = ShowWindow();
        QVERIFY2(form->screen()->logicalDotsPerInch() > 140, "the run did not set a large font resolution");
        QCOMPARE(form->surface->size(), QSize(439, 347));
        QCOMPARE(form->lstColors->font().pixelSize(), 11);
        QVERIFY(QFontMetrics(form->lstColors->font()).height() <= 16);
        QVERIFY(form->menuBar()->height() <= 26);
    }
};

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    app.setApplicationName(QString::fromLatin1(ApplicationTitle));
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DesktopTest.moc"
