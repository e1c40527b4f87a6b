// The editor's two busiest paths, on Qt's offscreen platform: a page change
// (list fill, draw, paint) and a colour edit with the dialog answered at once.
// Run: build/bench/window_bench
#include "EditorState.h"
#include "LarkspurApplication.h"
#include "Unit1.h"

#include <QComboBox>
#include <benchmark/benchmark.h>

namespace {

class InstantDialogs : public EditorDialogs {
public:
    bool PickColor(QWidget*, TColor initial, TColor& chosen) override
    {
        chosen = initial ^ 0x00102030u;
        return true;
    }
    bool ConfirmContinue(QWidget*) override { return true; }
    QString OpenThemeFile(QWidget*, const QString&) override { return {}; }
    QString SaveThemeFile(QWidget*, const QString&) override { return {}; }
    bool ConfirmRestoreDraft(QWidget*) override { return false; }
    bool ConfirmOverwriteChanged(QWidget*) override { return true; }
    QString ExportImageFile(QWidget*, const QString&) override { return {}; }
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

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    LarkspurApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
