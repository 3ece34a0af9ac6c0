// Round trips through the simulator's socket: single transfers as the
// panels make them, and the whole start-up read of the register table.
#include "Configdataunit.h"
#include "I2cunit.h"
#include "SimulatorProcess.h"
#include "SimulatorSocketAdapter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

class SilentUi : public ITransportUi {
public:
    void SetBusStatus(const std::string&, Rgb) override {}
    void ShowCommunicationError() override {}
    HrCheckAnswer AskHrCheck(const std::string&) override { return HrCheckAnswer::No; }
};

std::string SocketPath() {
    return (std::filesystem::temp_directory_path() / ("qmx-bench-" + std::to_string(::getpid()) + ".sock"))
        .string();
}

SimulatorSocketAdapter& ConnectedAdapter(benchmark::State& state) {
    static SimulatorSocketAdapter adapter;
    int32_t status = AdapterStatus::AlsoDone;
    if (adapter.ConnectUSB(status) < 0 || status != AdapterStatus::Done)
        state.SkipWithError("simulator not reachable");
    return adapter;
}

void CountTransfers(benchmark::State& state, int64_t perIteration) {
    state.counters["transfers/s"] = benchmark::Counter(static_cast<double>(state.iterations() * perIteration),
                                                       benchmark::Counter::kIsRate);
}

void WriteFourBytes(benchmark::State& state) {
    SimulatorSocketAdapter& adapter = ConnectedAdapter(state);
    const std::vector<uint8_t> bytes = {0x00, 0x00, 0x00, 0x50};
    for (auto _ : state) {
        int32_t status = AdapterStatus::AlsoDone;
        if (adapter.WriteI2CBlock(0x1B, 0xD9, 4, bytes, status) < 0 || status != AdapterStatus::Done) {
            state.SkipWithError("write failed");
            break;
        }
    }
    CountTransfers(state, 1);
}
BENCHMARK(WriteFourBytes)->UseRealTime();

void ReadTwentyBytes(benchmark::State& state) {
    SimulatorSocketAdapter& adapter = ConnectedAdapter(state);
    std::vector<uint8_t> bytes(20, 0);
    for (auto _ : state) {
        int32_t status = AdapterStatus::AlsoDone;
        if (adapter.ReadI2CBlock(0x1B, 0x51, 20, bytes, status) < 0 || status != AdapterStatus::Done) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    CountTransfers(state, 1);
}
BENCHMARK(ReadTwentyBytes)->UseRealTime();

// What the tool does at start-up: connect, reset, read 0x00 to 0xFE.
void StartUpRead(benchmark::State& state) {
    SilentUi ui;
    TI2CForm transport(std::make_unique<SimulatorSocketAdapter>(), &ui);
    TConfigDataUnit table;
    table.ReadMapFile(std::string(QMX_SOURCE_DATA_DIR) + "/QMX4600.addr");
    table.SetBus(&transport);
    int64_t registers = 0;
    for (int s = 0x00; s <= 0xFE; ++s)
        registers += table.GetSize(s) > 0;
    for (auto _ : state) {
        transport.OpenAdapter();
        table.ReadRegisters(0x00, 0xFF);
        if (!transport.IsTransferOk()) {
            state.SkipWithError("start-up read failed");
            break;
        }
    }
    CountTransfers(state, registers + 2);
}
BENCHMARK(StartUpRead)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    const std::string socketPath = SocketPath();
    ::setenv("QMX4600_SIM_SOCKET", socketPath.c_str(), 1);
    SimulatorProcess simulator(QMX4600_SIM_EXECUTABLE, socketPath);
    if (!simulator.Start({"--quiet"})) {
        std::cerr << "qmx4600-sim did not start\n";
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
