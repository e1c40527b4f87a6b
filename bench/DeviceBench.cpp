// The receiving side of a transfer: one report through the device conversation,
// and a whole simulated download from the theme-read command to the refreshed
// window (the firmware check's 500 ms timer is not part of it).
// Run: build/bench/device_bench
#include "LarkspurApplication.h"
#include "SimulatedHidBackend.h"
#include "CompareWindow.h"
#include "PreviewPanel.h"
#include "StatusLine.h"
#include "ThemeExchange.h"
#include "Unit1.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

class NoDialogs : public EditorDialogs {
public:
    bool PickColor(QWidget*, TColor, const ColorQuestion&, TColor&) override { return false; }
    bool ConfirmContinue(QWidget*) override { return true; }
    QString OpenThemeFile(QWidget*, const QString&) override { return {}; }
    QString SaveThemeFile(QWidget*, const QString&) override { return {}; }
    bool ConfirmRestoreDraft(QWidget*, const DraftQuestion&) override { return false; }
    bool ConfirmOverwriteChanged(QWidget*) override { return true; }
    QString ExportImageFile(QWidget*, const ExportQuestion&) override { return {}; }
};

struct Connected {
    std::shared_ptr<SimulatedHidBackend> sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
    std::unique_ptr<TfrmMain> form;
    Connected()
    {
        form = std::make_unique<TfrmMain>(std::make_unique<NoDialogs>(), sim);
        form->show();
        while (form->status->Text() != QStringLiteral("Theme was downloaded successfully"))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
};

// A port that takes every report and holds nothing waiting.
class NullPort : public DevicePort {
public:
    bool WriteReport(const std::uint8_t*, std::size_t, std::string*) override { return true; }
    void DiscardInput() override {}
};

void DeviceDataPerReport(benchmark::State& state)
{
    NullPort port;
    DeviceConversation conversation;
    conversation.Attach(port, {"bench", 0x0416, 65, 65});
    std::uint8_t payload[64] = {};
    for (auto _ : state) {
        conversation.BeginFirmwareCheck("");  // nine reports' worth expected
        benchmark::DoNotOptimize(conversation.OnReport(payload, sizeof payload));
    }
}
BENCHMARK(DeviceDataPerReport);

void WholeSimulatedDownload(benchmark::State& state)
{
    Connected c;
    for (auto _ : state) {
        c.form->status->Set(QString());
        c.form->mniDownloadClick();
        while (c.form->status->Text().isEmpty())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
}
BENCHMARK(WholeSimulatedDownload)->Unit(benchmark::kMicrosecond);

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
