// The editor's busiest paths, on Qt's offscreen platform at scale 2: a page
// change (list fill, draw, paint), a colour edit with the dialog answered at
// once, at 4x zoom the pointer moving over the preview and an edit, a
// change in the Generate Theme dialog, and a folder of 500 themes browsed.
// Run: build/bench/window_bench
#include "ClientSurface.h"
#include "GenerateDialog.h"
#include "ThemeBrowser.h"
#include "ThemeFile.h"
#include "LarkspurApplication.h"
#include "CompareWindow.h"
#include "PreviewPanel.h"
#include "StatusLine.h"
#include "ThemeExchange.h"
#include "Unit1.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QListWidget>
#include <QLabel>
#include <QSpinBox>
#include <benchmark/benchmark.h>

namespace {

class InstantDialogs : public EditorDialogs {
public:
    bool PickColor(QWidget*, TColor initial, const ColorQuestion&, TColor& chosen) override
    {
        chosen = initial ^ 0x00102030u;
        return true;
    }
    bool ConfirmContinue(QWidget*) override { return true; }
    QString OpenThemeFile(QWidget*, const QString&) override { return {}; }
    QString SaveThemeFile(QWidget*, const QString&) override { return {}; }
    bool ConfirmRestoreDraft(QWidget*, const DraftQuestion&) override { return false; }
    bool ConfirmOverwriteChanged(QWidget*) override { return true; }
    QString ExportImageFile(QWidget*, const ExportQuestion&) override { return {}; }
};

TfrmMain* Window()
{
    static TfrmMain* form = [] {
        auto* f = new TfrmMain(std::make_unique<InstantDialogs>());
        f->show();
        return f;
    }();
    return form;
}

void PageChange(benchmark::State& state)
{
    TfrmMain* form = Window();
    int page = 0;
    for (auto _ : state) {
        form->cmbLayout->setCurrentIndex(page);
        form->cmbLayoutClick();
        page = (page + 1) % 8;
    }
}
BENCHMARK(PageChange)->Unit(benchmark::kMicrosecond);

void ColourEdit(benchmark::State& state)
{
    TfrmMain* form = Window();
    form->cmbLayout->setCurrentIndex(0);
    form->cmbLayoutClick();
    for (auto _ : state)
        form->btnColorClick();
}
BENCHMARK(ColourEdit)->Unit(benchmark::kMicrosecond);

// The pointer moving between the big value and the background at 4x zoom on a
// scale-2 screen: the new slot's outline built, the tooltip shown and the
// preview painted, as one frame must do it.
void HoverAtZoom4(benchmark::State& state)
{
    TfrmMain* form = Window();
    form->cmbLayout->setCurrentIndex(0);
    form->cmbLayoutClick();
    form->preview->SetZoom(4);
    const QPoint over[2] = {QPoint(5 + 4 * 120, 3 + 4 * 90), QPoint(5 + 4 * 3, 3 + 4 * 3)};
    int i = 0;
    for (auto _ : state) {
        const QPoint p = over[i++ % 2];
        form->FormMouseMove(p.x(), p.y(), form->surface->mapToGlobal(p));
        form->surface->repaint();
    }
    form->preview->SetZoom(1);
}
BENCHMARK(HoverAtZoom4)->Unit(benchmark::kMicrosecond);

// A colour edit at 4x zoom on a scale-2 screen, up to the repainted preview.
void ColourEditAtZoom4(benchmark::State& state)
{
    TfrmMain* form = Window();
    form->cmbLayout->setCurrentIndex(0);
    form->cmbLayoutClick();
    form->preview->SetZoom(4);
    for (auto _ : state)
        form->btnColorClick();
    form->preview->SetZoom(1);
}
BENCHMARK(ColourEditAtZoom4)->Unit(benchmark::kMicrosecond);

// A change in the Generate Theme dialog: a new variation, the theme made
// again and its page drawn into the dialog's preview, painted.
void GenerateDialogChange(benchmark::State& state)
{
    TfrmMain* form = Window();
    GenerateThemeDialog dialog(form, form->Session().ThemeColors(), {}, 0, form->Session().Drawer().Clock(),
                               [](SlotId slot) { return QString::fromLatin1(SlotKey(slot)); });
    dialog.show();
    int variation = 0;
    for (auto _ : state) {
        dialog.variation->setValue(++variation % 1000);
        dialog.preview->repaint();
    }
}
BENCHMARK(GenerateDialogChange)->Unit(benchmark::kMicrosecond);

// A folder of 500 themes in Browse Themes: the first screenful (a dozen
// pictures) and all of them drawn, in the three cases below, and the
// longest the window's event loop could not answer meanwhile (after Show).
QString FolderOf500()
{
    static const QString folder = [] {
        const QString dir = QDir::tempPath() + QStringLiteral("/larkspur-browse-bench");
        QDir().mkpath(dir);
        TThemeColorTable colors{};
        LoadDefaultTheme(colors);
        for (int i = 0; i < 500; ++i) {
            colors[0] = RGB565ToColor(std::uint32_t(i * 131));
            TPackedTheme words{};
            std::string name;
            SaveTheme(QStringLiteral("%1/theme-%2.lsth").arg(dir).arg(i, 3, 10, QLatin1Char('0')).toStdString(), colors, words,
                      false, name);
        }
        return dir;
    }();
    return folder;
}

// 0: the first open, a new window and nothing drawn; 1: open again, all
// drawn before; 2: the window open, another page chosen, nothing drawn for it.
void Browse500(benchmark::State& state)
{
    const int mode = int(state.range(0));
    TfrmMain* form = Window();
    const QString folder = FolderOf500();
    std::unique_ptr<ThemeBrowser> browser;
    double firstScreen = 0, longest = 0;
    int page = 0;
    const auto drawAll = [&] {
        while (browser->Pending() > 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    for (auto _ : state) {
        if (mode == 0 || !browser) {
            state.PauseTiming();
            browser = std::make_unique<ThemeBrowser>(form, [](const QString&) {}, [](const QString&) {},
                                                     [](const QString&) { return QString(); });
            if (mode != 0) {
                browser->Show(folder, 0, false, FixedClock(std::tm{}));
                drawAll();
            }
            state.ResumeTiming();
        }
        if (mode == 2)
            page = (page + 1) % PageCount;
        QElapsedTimer clock;
        clock.start();
        browser->Show(folder, page, false, FixedClock(std::tm{}));
        // A timer of 1 ms in the window's own event loop: the longest gap
        // between its ticks is the longest the window could not answer.
        QEventLoop loop;
        QTimer tick;
        tick.setInterval(1);
        qint64 last = clock.nsecsElapsed();
        bool screenful = false;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, (now - last) / 1e6);
            last = now;
            if (!screenful && browser->Pending() <= browser->list->count() - 12) {
                screenful = true;
                firstScreen = now / 1e6;
            }
            if (browser->Pending() == 0)
                loop.quit();
        });
        tick.start();
        loop.exec();
        if (!screenful)
            firstScreen = clock.nsecsElapsed() / 1e6;
    }
    qsizetype bytes = 0;
    for (int i = 0; i < browser->list->count(); ++i)
        bytes += browser->PictureOf(browser->list->item(i)->data(Qt::UserRole).toString()).sizeInBytes();
    state.counters["first_screen_ms"] = firstScreen;
    state.counters["longest_event_ms"] = longest;
    state.counters["pictures_mb"] = double(bytes) / (1 << 20);
}
BENCHMARK(Browse500)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Browse500)->Arg(2)->Iterations(PageCount - 1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A high-resolution screen: every preview pixel is 8 x 8 device pixels at 4x.
    qputenv("QT_SCALE_FACTOR", "2");
    // The zoom it sets is remembered: not in the user's own settings.
    qputenv("XDG_CONFIG_HOME", QDir::tempPath().toUtf8() + "/larkspur-window-bench");
    qputenv("XDG_STATE_HOME", QDir::tempPath().toUtf8() + "/larkspur-window-bench");
    LarkspurApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
