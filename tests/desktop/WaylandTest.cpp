// The editor on Wayland, under weston's headless compositor (on-weston.sh).
// What the user sees is read back from the compositor's screenshot.

#include "DesktopSession.h"
#include "LarkspurApplication.h"

#include <QDialog>
#include <QDir>
#include <QProcess>
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

std::unique_ptr<TfrmMain> ShowWindow()
{
    auto form = NewEditor();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("the window was never shown");
    return form;
}

}  // namespace

class WaylandTest : public QObject {
    Q_OBJECT

private slots:
    // weston leaves decorations to its clients: the toolkit's title bar
    // frames the main window and its dialogs alike. A maximise, as that
    // title bar's button asks for it, leaves the window as it was, on the
    // screen and connected.
    void theToolkitFramesEveryWindow()
    {
        auto form = ShowWindow();
        const QMargins frame = form->windowHandle()->frameMargins();
        QVERIFY2(frame.top() > frame.left(), "the main window has no title bar");
        form->mniCheckLegibility->trigger();
        QDialog* legibility = nullptr;
        QTRY_VERIFY((legibility = form->findChild<QDialog*>()) && legibility->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(legibility));
        QCOMPARE(legibility->windowHandle()->frameMargins(), frame);
        legibility->close();

        const QSize size = form->size();
        form->windowHandle()->setWindowState(Qt::WindowMaximized);
        QTRY_VERIFY(!(form->windowState() & Qt::WindowMaximized));
        QCOMPARE(form->size(), size);
        QVERIFY(OnOutput(*form).x() >= 0);
    }
};

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    WaylandTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WaylandTest.moc"
