#pragma once

// Helpers shared by the device-core tests: temporary folders, files, a
// recording stand-in for the main window's transport UI, a scripted overwrite
// question, and a rig that wires a register table through the real transport
// to the simulated QMX4600.

#include "Configdataunit.h"
#include "I2cunit.h"
#include "ScriptedOverwriteQuestion.h"
#include "SimulatedQmx4600.h"
#include "TransportUi.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace coretest {

using Bytes = std::vector<uint8_t>;

inline std::string DataFile(const std::string& name) {
    return std::string(QMX_SOURCE_DATA_DIR) + "/" + name;
}

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    ASSERT_TRUE(out.good()) << "could not write " << path;
}

// A fresh, empty folder that is removed with everything in it at the end.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qmx-core-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

// Runs a test inside a temporary folder: the data log writes "DataLog.txt"
// into the current directory.
class InTempDir {
public:
    InTempDir() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(dir_.Path()); }
    ~InTempDir() { std::filesystem::current_path(previous_); }
    const TempDir& Dir() const { return dir_; }

private:
    TempDir dir_;
    std::filesystem::path previous_;
};

struct StatusShown {
    std::string text;
    Rgb colour;
    bool operator==(const StatusShown&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const StatusShown& s) {
    return out << '"' << s.text << "\" rgb(" << int(s.colour.red) << ',' << int(s.colour.green) << ','
               << int(s.colour.blue) << ')';
}

class RecordingUi : public ITransportUi {
public:
    void SetBusStatus(const std::string& text, Rgb colour) override { statuses.push_back({text, colour}); }
    void ShowCommunicationError() override { ++dialogsShown; }
    HrCheckAnswer AskHrCheck(const std::string& message) override {
        hrQuestions.push_back(message);
        return hrAnswer;
    }

    std::vector<StatusShown> statuses;
    int dialogsShown = 0;
    std::vector<std::string> hrQuestions;
    HrCheckAnswer hrAnswer = HrCheckAnswer::No;
};

class FixedDeviceAddress : public IDeviceAddressSource {
public:
    explicit FixedDeviceAddress(uint8_t address) : address_(address) {}
    uint8_t GetDeviceAddress() const override { return address_; }

private:
    uint8_t address_;
};

// One register write or read as the adapter saw it.
struct Transfer {
    SimulatedQmx4600::CallKind kind;
    uint8_t address7;
    uint8_t subAddress;
    int32_t count;
    Bytes bytes;
    bool operator==(const Transfer&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Transfer& t) {
    out << (t.kind == SimulatedQmx4600::CallKind::Write ? "write" : "read") << " @0x" << std::hex
        << int(t.address7) << " sub 0x" << int(t.subAddress) << std::dec << " n=" << t.count << " [";
    for (uint8_t b : t.bytes)
        out << ' ' << std::hex << int(b) << std::dec;
    return out << " ]";
}

inline std::vector<Transfer> TransfersOf(const std::vector<SimulatedQmx4600::Call>& calls) {
    std::vector<Transfer> transfers;
    for (const auto& call : calls)
        if (call.kind == SimulatedQmx4600::CallKind::Write || call.kind == SimulatedQmx4600::CallKind::Read)
            transfers.push_back({call.kind, call.address7, call.subAddress, call.count, call.bytes});
    return transfers;
}

inline Transfer WriteOf(uint8_t subAddress, Bytes bytes) {
    return {SimulatedQmx4600::CallKind::Write, SimulatedQmx4600::Address7, subAddress,
            static_cast<int32_t>(bytes.size()), std::move(bytes)};
}

// A register table on a register map, wired through the transport to a
// simulated QMX4600 sized by the same map. The adapter is opened and its
// call record cleared, so a test sees only its own traffic.
class DeviceRig {
public:
    // `mapText` empty: the delivered register map file.
    explicit DeviceRig(const std::string& mapText = {}) {
        if (mapText.empty())
            EXPECT_TRUE(table.ReadMapFile(DataFile("QMX4600.addr")));
        else
            table.ReadMapText(mapText);
        SimulatedQmx4600::RegisterSizes sizes{};
        for (int s = 0; s < 256; ++s)
            sizes[s] = table.GetSize(s);
        auto device = std::make_unique<SimulatedQmx4600>(sizes);
        sim = device.get();
        transport = std::make_unique<TI2CForm>(std::move(device), &ui);
        table.SetBus(transport.get());
        transport->OpenAdapter();
        sim->TakeCalls();
    }

    std::vector<Transfer> TakeTransfers() { return TransfersOf(sim->TakeCalls()); }

    TConfigDataUnit table;
    RecordingUi ui;
    SimulatedQmx4600* sim = nullptr;
    std::unique_ptr<TI2CForm> transport;
};

} // namespace coretest
