// What the user waits for in the main window: start-up to a shown, refreshed
// window; one RefreshAll; and how many bus transfers each navigation button
// causes. Runs against the simulated device on the offscreen platform.

#include "DocumentViewer.h"
#include "FileDialogs.h"
#include "Mainunit.h"
#include "MessageBoxes.h"
#include "Program.h"
#include "SimulatedQmx4600.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

class NoDialogs : public IFileDialogs {
public:
    QString GetOpenFileName(QWidget*, const FileDialogRequest&) override { return {}; }
    QString GetSaveFileName(QWidget*, const FileDialogRequest&) override { return {}; }
};

class NoBoxes : public IMessageBoxes {
public:
    HrCheckAnswer AskHrCheck(QWidget*, const QString&) override { return HrCheckAnswer::No; }
    void ShowError(QWidget*, const QString&) override {}
    void ShowMessage(QWidget*, const QString&) override {}
};

class NoViewer : public IDocumentViewer {
public:
    bool Open(const QString&, std::function<void(ViewerEnd)>) override { return false; }
};

// A start directory with the delivered files, current while the program runs.
struct StartDirectory {
    QTemporaryDir dir;
    StartDirectory() {
        for (const char* name : {"QMX4600.addr", "QMX4600Init.cfg"})
            QFile::copy(QString(QMX_SOURCE_DATA_DIR) + '/' + name, dir.filePath(name));
        // The pictures the mixer and bass-management buttons read on every showing.
        for (const char* name : {"GreenMultiply.BMP", "RedMultiply.BMP", "BlueMultiply.BMP",
                                 "QMX4600BassMan4Ch.jpg", "QMX4600BassMan3Ch.jpg"})
            QFile::copy(QString(QMX_RUNTIME_DIR) + '/' + name, dir.filePath(name));
        QDir::setCurrent(dir.path());
    }
};

struct Running {
    NoDialogs dialogs;
    NoBoxes boxes;
    NoViewer viewer;
    SimulatedQmx4600* sim = nullptr;
    std::unique_ptr<TProgram> program;

    Running() {
        auto create = [this]() -> std::unique_ptr<IPMBusTransport> {
            auto device =
                std::make_unique<SimulatedQmx4600>(SimulatedQmx4600::SizesFromMapFile("QMX4600.addr"));
            sim = device.get();
            return device;
        };
        program = std::make_unique<TProgram>(ProgramServices{create, dialogs, boxes, viewer});
        program->MainForm().show();
        QApplication::processEvents();
    }
};

void StartUpToShownWindow(benchmark::State& state) {
    StartDirectory start;
    for (auto _ : state) {
        Running running;
        benchmark::DoNotOptimize(running.program.get());
    }
}
BENCHMARK(StartUpToShownWindow)->Unit(benchmark::kMillisecond);

void RefreshAll(benchmark::State& state) {
    StartDirectory start;
    Running running;
    for (auto _ : state) {
        running.program->MainForm().RefreshAll();
        running.sim->TakeCalls();
    }
}
BENCHMARK(RefreshAll)->Unit(benchmark::kMicrosecond);

// Bus transfers a navigation button causes, shown as a counter.
void NavigationButton(benchmark::State& state, const char* button) {
    StartDirectory start;
    Running running;
    auto* target = running.program->MainForm().findChild<QAbstractButton*>(button);
    size_t transfers = 0;
    for (auto _ : state) {
        running.sim->TakeCalls();
        target->click();
        transfers = running.sim->TakeCalls().size();
    }
    state.counters["transfers"] = static_cast<double>(transfers);
}
BENCHMARK_CAPTURE(NavigationButton, Volume, "VolumesuiButton")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NavigationButton, Tone, "TonesuiButton")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NavigationButton, Loudness, "LoudnesssuiButton")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NavigationButton, Compression, "DRCsuiButton")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NavigationButton, EQ, "EQsuiButton")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NavigationButton, BankSelect, "ConfigControlsuiButton")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NavigationButton, DataFormat, "DataClockControlsuiButton")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NavigationButton, Mixers, "MixersuiButton")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NavigationButton, BassManage, "BassMansuiButton")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NavigationButton, BlockDiagram, "DisplayImagesuiButton")->Unit(benchmark::kMicrosecond);

} // namespace
