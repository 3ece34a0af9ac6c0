#pragma once

// A register table read from the delivered map, over a real transport
// talking to a simulated QMX4600. Tests read what reached the device from
// the simulator's call record.

#include "Configdataunit.h"
#include "I2cunit.h"
#include "SimulatedQmx4600.h"
#include "TransportUi.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

inline const std::string MapFile = std::string(QMX_SOURCE_DATA_DIR) + "/QMX4600.addr";

// "d9: 00 00 00 50" for a write, as a test expects to read it.
inline std::string WriteText(uint8_t subAddress, const std::vector<uint8_t>& bytes) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x:", subAddress);
    std::string result = text;
    for (uint8_t b : bytes) {
        std::snprintf(text, sizeof text, " %02x", b);
        result += text;
    }
    return result;
}

// What the transport told the user: the status texts it showed.
struct RecordingTransportUi : ITransportUi {
    void SetBusStatus(const std::string& text, Rgb) override { statuses.push_back(text); }
    void ShowCommunicationError() override { statuses.push_back("error dialog"); }
    HrCheckAnswer AskHrCheck(const std::string&) override { return HrCheckAnswer::No; }

    std::vector<std::string> statuses;
};

struct DeviceRig {
    DeviceRig()
        : device(new SimulatedQmx4600(SimulatedQmx4600::SizesFromMapFile(MapFile))),
          bus(std::unique_ptr<IPMBusTransport>(device), &ui) {
        table.ReadMapFile(MapFile);
        table.SetBus(&bus);
        bus.OpenAdapter();
        table.ReadRegisters(0x00, 0xFF);
        device->TakeCalls();
    }

    // The adapter goes away and the system says so: no transfer is possible.
    void Unplug() {
        device->SetPluggedIn(false);
        bus.OnDeviceChange();
        device->TakeCalls();
        ui.statuses.clear();
    }

    // Stores bytes in the table only, as a configuration file would.
    void Store(int subAddress, const std::vector<uint8_t>& bytes) { table.SetData(subAddress, bytes); }

    // Every write that reached the device since the last call, in order.
    // A write to any other bus address would be a fault and shows as such.
    std::vector<std::string> TakeWrites() {
        std::vector<std::string> writes;
        for (const SimulatedQmx4600::Call& call : device->TakeCalls())
            if (call.kind == SimulatedQmx4600::CallKind::Write)
                writes.push_back(call.address7 == SimulatedQmx4600::Address7
                                     ? WriteText(call.subAddress, call.bytes)
                                     : "wrong device address");
        return writes;
    }

    // The sub-addresses read from the device since the last call.
    std::vector<int> TakeReads() {
        std::vector<int> reads;
        for (const SimulatedQmx4600::Call& call : device->TakeCalls())
            if (call.kind == SimulatedQmx4600::CallKind::Read)
                reads.push_back(call.subAddress);
        return reads;
    }

    // Makes every transfer fail, so the transport stops trying.
    void BreakBus() {
        device->NackAll(true);
        table.ReadRegisters(0x01, 0x01);
        device->TakeCalls();
        ui.statuses.clear();
    }

    TConfigDataUnit table;
    RecordingTransportUi ui;
    SimulatedQmx4600* device; // owned by the transport
    TI2CForm bus;
};
