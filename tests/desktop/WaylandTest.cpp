// The editor on Wayland, under weston's headless compositor (see on-weston.sh),
// where the window draws its own title bar. What the user sees is read back
// from the compositor's screenshot. The headless compositor has no pointer, so
// the title bar's buttons get their press and release from Qt Test.

#include "ClientTitleBar.h"
#include "EditorState.h"
#include "EditorDialogs.h"
#include "LarkspurApplication.h"
#include "SimulatedHidBackend.h"
#include "Unit1.h"

#include <QDir>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

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
    const QRgb first = picture.pixel(0, 0);
    for (int y = 0; y + picture.height() <= screen.height(); ++y)
        for (int x = 0; x + picture.width() <= screen.width(); ++x) {
            if (screen.pixel(x, y) != first)
                continue;
            bool same = true;
            for (int row = 0; same && row < picture.height(); ++row)
                same = std::equal(reinterpret_cast<const QRgb*>(picture.constScanLine(row)),
                                  reinterpret_cast<const QRgb*>(picture.constScanLine(row)) + picture.width(),
                                  reinterpret_cast<const QRgb*>(screen.constScanLine(y + row)) + x);
            if (same)
                return {x, y};
        }
    return {-1, -1};
}

}  // namespace

class WaylandTest : public QObject {
    Q_OBJECT

private slots:
    // The window's title bar is its own: the toolkit adds no frame around
    // it, so the screen shows the window's own pixels and nothing else of
    // it, the caption follows the title, and Close closes.
    void theWindowDrawsItsOwnTitleBar()
    {
        SmallDisplay = false;
        SelectedSlot = nullptr;
        Modified = false;
        TfrmMain form(std::make_unique<QtEditorDialogs>(),
                      std::make_shared<SimulatedHidBackend>(SimulatorModel::Large, "", false));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* bar = dynamic_cast<ClientTitleBar*>(form.findChild<QWidget*>(QStringLiteral("ClientTitleBar")));
        QVERIFY(bar);
        QCOMPARE(form.windowHandle()->frameMargins(), QMargins());
        QCOMPARE(bar->geometry(), QRect(0, 0, form.width(), form.contentsMargins().top()));
        QCOMPARE(form.menuBar()->y(), bar->height());

        // What the screen shows once the window has painted: the whole window.
        const QImage window = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QPoint at(-1, -1);
        QTRY_VERIFY_WITH_TIMEOUT((at = Find(Screenshot(), window)).x() >= 0, 10000);

        // A new title is on the screen, in the bar.
        form.setWindowTitle(QStringLiteral("Larkspur Theme Editor - a longer name.lsth"));
        const QImage renamed = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QTRY_COMPARE_WITH_TIMEOUT(Find(Screenshot(), renamed), at, 10000);

        // A press that ends off the button does nothing; one that ends on it closes.
        const QPoint close = bar->ButtonRect(ClientTitleBar::Button::Close).center();
        QTest::mousePress(bar, Qt::LeftButton, {}, close);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(close.x(), bar->height() + 5));
        QVERIFY(form.isVisible());
        QTest::mouseClick(bar, Qt::LeftButton, {}, close);
        QTRY_VERIFY(!form.isVisible());
    }
};

int main(int argc, char** argv)
{
    LarkspurApplication app(argc, argv);
    WaylandTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WaylandTest.moc"
