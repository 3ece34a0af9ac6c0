// What the user waits for after Graph BiQuad and Graph EQ: the response
// worked out from the edits (compute) and the chart taking the curve and
// drawing it (replot), at 48 and 192 kHz, on the offscreen platform against
// the simulated device. The whole click is measured too.

#include "Dataclocksunit.h"
#include "EqChart.h"
#include "EqPanel.h"
#include "Equnit.h"
#include "I2cunit.h"
#include "MainWindowHooks.h"
#include "SimulatedQmx4600.h"
#include "TransportUi.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const std::string MapFile = std::string(QMX_SOURCE_DATA_DIR) + "/QMX4600.addr";

struct QuietUi : ITransportUi {
    void SetBusStatus(const std::string&, Rgb) override {}
    void ShowCommunicationError() override {}
    HrCheckAnswer AskHrCheck(const std::string&) override { return HrCheckAnswer::No; }
};

struct QuietHooks : IMainWindowHooks {
    void RefreshAll() override {}
    void AdjustToSampleRateMode() override {}
    void StopFsPoll() override {}
    void ResumeFsPoll() override {}
    void RestoreStartDirectory() override {}
    void ShowMessage(const std::string&) override {}
    void OpenDocument(const std::string&) override {}
    void ShowPanel(QWidget*) override {}
};

// The panel over the simulated device at `rate`, shown at its real size,
// with seven peaking biquads stored in Ch1 so the cascade is a real curve.
struct Rig {
    explicit Rig(int rate)
        : device(new SimulatedQmx4600(SimulatedQmx4600::SizesFromMapFile(MapFile))),
          bus(std::unique_ptr<IPMBusTransport>(device), &ui) {
        table.ReadMapFile(MapFile);
        table.SetBus(&bus);
        bus.OpenAdapter();
        device->SetSampleRate(rate);
        table.ReadRegisters(0x00, 0xFF);
        strip.LabelBiquadUnits = &eqName;
        strip.LabelFsUnits = &fs;
        strip.HelpfulCommentsLabel = &comment;
        // b0 1.02, b1 -1.95, b2 0.94, a1 1.95, a2 -0.96 in 5.23.
        const std::vector<uint8_t> peak = {0x00, 0x82, 0x97, 0x8d, 0x0f, 0x05, 0xe5, 0x60, 0x00, 0x78,
                                           0x00, 0x00, 0x00, 0xf9, 0xa1, 0xcb, 0xff, 0x85, 0x2d, 0x0e};
        for (int sub = 0x51; sub <= 0x57; ++sub)
            table.SetData(sub, peak);
        panel = std::make_unique<TEqPanel>(table, eq, clocks, strip, hooks, QDir::tempPath());
        panel->AdjustToSampleRate(false);
        panel->show();
        QApplication::processEvents();
    }

    QuietUi ui;
    SimulatedQmx4600* device; // owned by the transport
    TI2CForm bus;
    TConfigDataUnit table;
    TDataClocks clocks{table, bus};
    TEQ eq{table};
    QuietHooks hooks;
    QLabel eqName, fs, comment;
    DisplayStrip strip;
    std::unique_ptr<TEqPanel> panel;
};

void GraphBiquadCompute(benchmark::State& state) {
    Rig rig(static_cast<int>(state.range(0)));
    for (auto _ : state)
        rig.panel->ComputeBiquadCurve();
}

void GraphEqCompute(benchmark::State& state) {
    Rig rig(static_cast<int>(state.range(0)));
    for (auto _ : state)
        rig.panel->ComputeEqCurve();
}

// The first Graph EQ after the rate changed also works out the grid's sines
// and cosines for the new rate.
void GraphEqComputeAtNewRate(benchmark::State& state) {
    Rig rig(48000);
    const int rate = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        rig.device->SetSampleRate(48000);
        rig.panel->ComputeEqCurve();
        rig.device->SetSampleRate(rate);
        state.ResumeTiming();
        rig.panel->ComputeEqCurve();
    }
}

// Handing the curve to the chart and drawing it.
void GraphBiquadReplot(benchmark::State& state) {
    Rig rig(static_cast<int>(state.range(0)));
    rig.panel->ComputeBiquadCurve();
    for (auto _ : state)
        rig.panel->PlotCurve();
}

void GraphEqReplot(benchmark::State& state) {
    Rig rig(static_cast<int>(state.range(0)));
    rig.panel->ComputeEqCurve();
    for (auto _ : state)
        rig.panel->PlotCurve();
}

// The whole click, as the user has it.
void GraphButton(benchmark::State& state, const char* button) {
    Rig rig(static_cast<int>(state.range(0)));
    auto* target = rig.panel->findChild<QPushButton*>(button);
    for (auto _ : state)
        target->click();
    state.counters["points"] = static_cast<double>(rig.panel->Chart()->Series1()->dataCount());
}

BENCHMARK(GraphBiquadCompute)->Arg(48000)->Arg(192000)->Unit(benchmark::kMillisecond);
BENCHMARK(GraphBiquadReplot)->Arg(48000)->Arg(192000)->Unit(benchmark::kMillisecond);
BENCHMARK(GraphEqCompute)->Arg(48000)->Arg(192000)->Unit(benchmark::kMillisecond);
BENCHMARK(GraphEqComputeAtNewRate)->Arg(192000)->Unit(benchmark::kMillisecond);
BENCHMARK(GraphEqReplot)->Arg(48000)->Arg(192000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GraphButton, GraphBiQuad, "EQBQGraphsuiButton")
    ->Arg(48000)
    ->Arg(192000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GraphButton, GraphEQ, "EQGraphsuiButton")
    ->Arg(48000)
    ->Arg(192000)
    ->Unit(benchmark::kMillisecond);

} // namespace
