// The editor on Wayland, where the window draws its own title bar: weston
// runs as a window on an X server with a window manager (on-xvfb.sh, then
// on-weston.sh with LARKSPUR_WESTON_ON_X=1), so the X pointer is the
// compositor's pointer. What the user sees is read back from the
// compositor's screenshot.

#include "ClientSurface.h"
#include "DesktopSession.h"
#include "LarkspurApplication.h"
#include "WindowLayout.h"

#include <QDir>
#include <QGuiApplication>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

// The compositor's whole output, as weston-screenshooter writes it.
QImage Screenshot()
{
    QTemporaryDir dir;
    QProcess shooter;
    shooter.setWorkingDirectory(dir.path());
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    if (!shooter.waitForFinished(10000) || shooter.exitCode() != 0)
        return {};
    const QStringList shots = QDir(dir.path()).entryList({QStringLiteral("*.png")});
    return shots.isEmpty() ? QImage() : QImage(dir.filePath(shots.first())).convertToFormat(QImage::Format_RGB32);
}

// Where picture lies on screen pixel for pixel, or (-1,-1).
QPoint Find(const QImage& screen, const QImage& picture)
{
    const auto line = [](const QImage& image, int y) { return reinterpret_cast<const QRgb*>(image.constScanLine(y)); };
    for (int y = 0; y + picture.height() <= screen.height(); ++y)
        for (int x = 0; x + picture.width() <= screen.width(); ++x) {
            bool same = true;
            for (int row = 0; same && row < picture.height(); ++row)
                same = std::equal(line(picture, row), line(picture, row) + picture.width(), line(screen, y + row) + x);
            if (same)
                return {x, y};
        }
    return {-1, -1};
}

QImage Drawn(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Where the window is on the compositor's output, in its pixels, once it
// shows what it draws (drawn again each time: it is drawn dimmed until the
// compositor makes it the active window).
QPoint OnOutput(QWidget& window)
{
    QPoint at(-1, -1);
    if (!QTest::qWaitFor([&] { return (at = Find(Screenshot(), Drawn(window))).x() >= 0; }, 10000))
        qWarning("the window's pixels never came on the screen");
    return at;
}

// The X pixel where the compositor shows its output's top-left pixel.
QPoint OutputOrigin()
{
    const QString info = Run(QStringLiteral("xwininfo"), {QStringLiteral("-name"), QStringLiteral("Weston Compositor - screen0")});
    const auto number = [&](const char* label) {
        return QRegularExpression(QString::fromLatin1(label) + QStringLiteral(":\\s*(-?\\d+)")).match(info).captured(1).toInt();
    };
    return {number("Absolute upper-left X"), number("Absolute upper-left Y")};
}

// The X pointer over point p of the title bar, the window being at `at` on the output.
QString PointerAt(const ClientTitleBar& bar, QPoint at, QPoint p)
{
    const QPoint x = OutputOrigin() + at + (QPointF(p) * bar.devicePixelRatioF()).toPoint();
    return QStringLiteral("mousemove %1 %2").arg(x.x()).arg(x.y());
}

void Pointer(const QString& steps) { Run(QStringLiteral("xdotool"), steps.split(QLatin1Char(' '))); }

// The pointer on the compositor's panel along the top, where it covers no
// window in the screenshots.
void PointerAway()
{
    const QPoint away = OutputOrigin() + QPoint(300, 8) * qRound(qApp->devicePixelRatio());
    Pointer(QStringLiteral("mousemove %1 %2").arg(away.x()).arg(away.y()));
}

std::unique_ptr<TfrmMain> ShowWindow()
{
    auto form = NewEditor();
    PointerAway();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("the window was never shown");
    return form;
}

}  // namespace

class WaylandTest : public QObject {
    Q_OBJECT

private slots:
    // The window's title bar is its own: the toolkit adds no frame around
    // it, so the screen shows the window's own pixels and nothing else of
    // it. The caption follows the title; a drag on it moves the window;
    // Close closes, Minimize hides, each only for a click that ends on it.
    void theWindowDrawsItsOwnTitleBar()
    {
        auto form = ShowWindow();
        ClientTitleBar* bar = ClientTitleBar::Of(*form);
        QVERIFY(bar);
        QCOMPARE(form->windowHandle()->frameMargins(), QMargins());
        QCOMPARE(bar->geometry(), QRect(0, 0, form->width(), form->contentsMargins().top()));
        QCOMPARE(form->menuBar()->y(), bar->height());
        QPoint at = OnOutput(*form);
        QVERIFY(at.x() >= 0);

        // A new title is on the screen, in the bar.
        form->setWindowTitle(QStringLiteral("Larkspur Theme Editor - a longer name.lsth"));
        QCOMPARE(OnOutput(*form), at);

        // Dragged by its caption, the window follows the pointer: towards
        // the middle of the output, so the window stays whole on it.
        const QPoint caption(bar->width() / 3, bar->height() / 2);
        const QPointF logical = QPointF(at) / bar->devicePixelRatioF();
        const QPoint by(logical.x() > 250 ? -90 : 90, logical.y() > 250 ? -60 : 60);
        // The compositor moves it from the press the window hands it on.
        Pointer(PointerAt(*bar, at, caption) + QStringLiteral(" mousedown 1"));
        QVERIFY(LeftButtonIs(true));
        Pointer(PointerAt(*bar, at, caption + by / 2));
        Pointer(PointerAt(*bar, at, caption + by));
        Pointer(QStringLiteral("mouseup 1"));
        PointerAway();
        at += (QPointF(by) * bar->devicePixelRatioF()).toPoint();
        QTRY_COMPARE_WITH_TIMEOUT(Find(Screenshot(), Drawn(*form)), at, 10000);

        // A press on Close that ends off it does nothing; a click closes.
        const QPoint close = bar->ButtonRect(ClientTitleBar::Button::Close).center();
        Pointer(PointerAt(*bar, at, close) + QStringLiteral(" mousedown 1"));
        QVERIFY(LeftButtonIs(true));
        Pointer(PointerAt(*bar, at, close + QPoint(0, 3 * bar->height())) + QStringLiteral(" mouseup 1"));
        QVERIFY(LeftButtonIs(false));
        QVERIFY(form->isVisible());
        Pointer(PointerAt(*bar, at, close) + QStringLiteral(" click 1"));
        QTRY_VERIFY(!form->isVisible());

        // Minimize takes the window off the screen, preview and all; the program goes on.
        form = ShowWindow();
        bar = ClientTitleBar::Of(*form);
        at = OnOutput(*form);
        QVERIFY(at.x() >= 0);
        const qreal ratio = bar->devicePixelRatioF();
        const QImage preview =
            Drawn(*form->surface).copy(QRect(QPoint(PreviewX, PreviewY) * ratio, QSize(240, 320) * ratio));
        QVERIFY(Find(Screenshot(), preview).x() >= 0);
        Pointer(PointerAt(*bar, at, bar->ButtonRect(ClientTitleBar::Button::Minimize).center()) +
                QStringLiteral(" click 1"));
        QTRY_VERIFY_WITH_TIMEOUT(Find(Screenshot(), preview).x() < 0, 10000);
        QVERIFY(form->isVisible());
    }
};

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    WaylandTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WaylandTest.moc"
