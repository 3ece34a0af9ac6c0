// The cost of the device core per register transfer.
//
// Three figures per register size separate the core from the simulator:
//   CoreToIdleAdapter    table + transport over an adapter that does nothing:
//                        the core's own cost;
//   CoreToSimulator      the same through the simulated QMX4600, which also
//                        records every call (cleared every 1024 writes, so
//                        the recording is part of the figure);
//   SimulatorAlone       the simulator's write call by itself.

#include "Configdataunit.h"
#include "I2cunit.h"
#include "SimulatedQmx4600.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string DataDir = QMX_SOURCE_DATA_DIR;

class QuietUi : public ITransportUi {
public:
    void SetBusStatus(const std::string&, Rgb) override {}
    void ShowCommunicationError() override {}
    HrCheckAnswer AskHrCheck(const std::string&) override { return HrCheckAnswer::No; }
};

// Answers every call as done and keeps nothing.
class IdleAdapter : public IPMBusTransport {
public:
    AdapterResult ConnectUSB(int32_t& status) override {
        status = AdapterStatus::Done;
        return 0;
    }
    AdapterResult ResetPulse(std::string&) override { return 0; }
    AdapterResult WriteI2CBlock(uint8_t, uint8_t, int32_t, std::span<const uint8_t> bytes,
                                int32_t& status) override {
        benchmark::DoNotOptimize(bytes.data());
        status = AdapterStatus::Done;
        return 0;
    }
    AdapterResult ReadI2CBlock(uint8_t, uint8_t, int32_t, std::vector<uint8_t>& bytes,
                               int32_t& status) override {
        benchmark::DoNotOptimize(bytes.data());
        status = AdapterStatus::Done;
        return 0;
    }
};

// The delivered register map on a transport over the given adapter.
struct Rig {
    explicit Rig(std::unique_ptr<IPMBusTransport> adapter) {
        table.ReadMapFile(DataDir + "/QMX4600.addr");
        transport = std::make_unique<TI2CForm>(std::move(adapter), &ui);
        table.SetBus(transport.get());
        transport->OpenAdapter();
    }
    QuietUi ui;
    TConfigDataUnit table;
    std::unique_ptr<TI2CForm> transport;
};

SimulatedQmx4600::RegisterSizes DeliveredSizes() {
    return SimulatedQmx4600::SizesFromMapFile(DataDir + "/QMX4600.addr");
}

// 0xD9 (master volume) has 4 bytes, 0x51 (a biquad) 20.
uint8_t RegisterOfSize(int64_t bytes) {
    return bytes == 4 ? 0xD9 : 0x51;
}

void CoreToIdleAdapter(benchmark::State& state) {
    Rig rig(std::make_unique<IdleAdapter>());
    const uint8_t subAddress = RegisterOfSize(state.range(0));
    for (auto _ : state)
        rig.table.WriteRegister(subAddress);
    state.SetItemsProcessed(state.iterations());
}

void CoreToSimulator(benchmark::State& state) {
    auto device = std::make_unique<SimulatedQmx4600>(DeliveredSizes());
    SimulatedQmx4600& sim = *device;
    Rig rig(std::move(device));
    const uint8_t subAddress = RegisterOfSize(state.range(0));
    int64_t n = 0;
    for (auto _ : state) {
        rig.table.WriteRegister(subAddress);
        if (++n % 1024 == 0)
            sim.TakeCalls();
    }
    if (!rig.transport->IsTransferOk())
        state.SkipWithError("the simulated device refused a write");
    state.SetItemsProcessed(state.iterations());
}

void SimulatorAlone(benchmark::State& state) {
    SimulatedQmx4600 sim(DeliveredSizes());
    const uint8_t subAddress = RegisterOfSize(state.range(0));
    const std::vector<uint8_t> bytes(static_cast<size_t>(state.range(0)), 0x5A);
    int32_t status = 0;
    int64_t n = 0;
    for (auto _ : state) {
        sim.WriteI2CBlock(SimulatedQmx4600::Address7, subAddress, static_cast<int32_t>(bytes.size()), bytes,
                          status);
        if (++n % 1024 == 0)
            sim.TakeCalls();
    }
    state.SetItemsProcessed(state.iterations());
}

// Registers 0x00..0xFE, one read each; the call record is cleared in every
// round, inside the timing.
void ReadAllRegisters(benchmark::State& state) {
    auto device = std::make_unique<SimulatedQmx4600>(DeliveredSizes());
    SimulatedQmx4600& sim = *device;
    Rig rig(std::move(device));
    for (auto _ : state) {
        rig.table.ReadRegisters(0x00, 0xFF);
        sim.TakeCalls();
    }
    if (!rig.transport->IsTransferOk())
        state.SkipWithError("the simulated device refused a read");
    state.SetItemsProcessed(state.iterations() * 255);
}

void ReadAllRegistersFromIdleAdapter(benchmark::State& state) {
    Rig rig(std::make_unique<IdleAdapter>());
    for (auto _ : state)
        rig.table.ReadRegisters(0x00, 0xFF);
    state.SetItemsProcessed(state.iterations() * 255);
}

// The whole init file: read, parsed, stored and written register by register.
void LoadInitFile(benchmark::State& state) {
    auto device = std::make_unique<SimulatedQmx4600>(DeliveredSizes());
    SimulatedQmx4600& sim = *device;
    Rig rig(std::move(device));
    const std::string file = DataDir + "/QMX4600Init.cfg";
    size_t records = 0;
    for (auto _ : state) {
        const FileReport report = rig.table.LoadConfigFile(file);
        records = sim.TakeCalls().size();
        benchmark::DoNotOptimize(report.opened);
    }
    if (records == 0)
        state.SkipWithError("the init file wrote nothing");
    state.counters["writes"] = static_cast<double>(records);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(records));
}

// The delivered register map read into a fresh table, as at start-up: every
// record looks its sub-address up in the table.
void ReadDeliveredMap(benchmark::State& state) {
    const std::optional<std::string> text = ReadTextFile(DataDir + "/QMX4600.addr");
    if (!text) {
        state.SkipWithError("cannot read the delivered map");
        return;
    }
    for (auto _ : state) {
        TConfigDataUnit table;
        table.ReadMapText(*text);
        benchmark::DoNotOptimize(table.FindEntry(0xD9));
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(CoreToIdleAdapter)->Arg(4)->Arg(20);
BENCHMARK(CoreToSimulator)->Arg(4)->Arg(20);
BENCHMARK(SimulatorAlone)->Arg(4)->Arg(20);
BENCHMARK(ReadAllRegisters)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadAllRegistersFromIdleAdapter)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadInitFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadDeliveredMap)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
