#include "SystemAdapter.h"
#include "FakeKernelI2c.h"
#include "I2cunit.h"
#include "SimulatedQmx4600.h"

#include <gtest/gtest.h>

namespace {

using CallKind = SimulatedQmx4600::CallKind;

SimulatedQmx4600::RegisterSizes FourByteRegisters() {
    SimulatedQmx4600::RegisterSizes sizes{};
    sizes.fill(4);
    return sizes;
}

class RecordingUi : public ITransportUi {
public:
    void SetBusStatus(const std::string& text, Rgb) override { statusTexts.push_back(text); }
    void ShowCommunicationError() override {}
    HrCheckAnswer AskHrCheck(const std::string& message) override {
        hrChecks.push_back(message);
        return HrCheckAnswer::No;
    }
    std::vector<std::string> statusTexts;
    std::vector<std::string> hrChecks;
};

// The simulated device as the simulator adapter, whose connect query can be
// made to fail as the socket adapter's does when the simulator answers late.
class SimulatorStandIn : public IPMBusTransport {
public:
    explicit SimulatorStandIn(SimulatedQmx4600* device) : device_(device) {}

    AdapterResult ConnectUSB(int32_t& status) override {
        return connectFails ? -ETIMEDOUT : device_->ConnectUSB(status);
    }
    AdapterResult ResetPulse(std::string& text) override { return device_->ResetPulse(text); }
    AdapterResult WriteI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                std::span<const uint8_t> bytes, int32_t& status) override {
        return device_->WriteI2CBlock(address7, subAddress, count, bytes, status);
    }
    AdapterResult ReadI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                               std::vector<uint8_t>& bytes, int32_t& status) override {
        return device_->ReadI2CBlock(address7, subAddress, count, bytes, status);
    }

    bool connectFails = false;

private:
    std::unique_ptr<SimulatedQmx4600> device_;
};

// A system adapter over a fake kernel's bridge and an in-process simulated
// device standing in for the simulator.
class SystemAdapterTest : public ::testing::Test {
protected:
    SystemAdapterTest()
        : kernel(new FakeKernelI2c), simulator(new SimulatedQmx4600(FourByteRegisters())),
          standIn(new SimulatorStandIn(simulator)),
          adapter(std::make_unique<SystemAdapter>(
              std::make_unique<BridgeAdapter>(std::unique_ptr<IKernelI2c>(kernel)),
              std::unique_ptr<IPMBusTransport>(standIn))) {}

    int32_t Connect() {
        int32_t status = AdapterStatus::AlsoDone;
        EXPECT_EQ(adapter->ConnectUSB(status), 0);
        return status;
    }

    int32_t WriteVolume() {
        const std::vector<uint8_t> bytes = {0x00, 0x00, 0x00, 0x50};
        int32_t status = AdapterStatus::AlsoDone;
        EXPECT_EQ(adapter->WriteI2CBlock(0x1B, 0xD9, 4, bytes, status), 0);
        return status;
    }

    bool SimulatorGotWrite() const {
        for (const SimulatedQmx4600::Call& call : simulator->Calls())
            if (call.kind == CallKind::Write)
                return true;
        return false;
    }

    FakeKernelI2c* kernel;       // owned by the adapter
    SimulatedQmx4600* simulator; // owned by the stand-in
    SimulatorStandIn* standIn;   // owned by the adapter
    std::unique_ptr<SystemAdapter> adapter;
};

TEST_F(SystemAdapterTest, BridgeIsPreferredOverTheSimulator) {
    kernel->AddClassBus(5, "CP2112 SMBus Bridge on hidraw0");
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    EXPECT_EQ(WriteVolume(), AdapterStatus::Done);
    EXPECT_EQ(kernel->transfers.size(), 1u);
    EXPECT_TRUE(simulator->Calls().empty()) << "the simulator is not even asked while a bridge answers";
}

TEST_F(SystemAdapterTest, SimulatorServesWhenNoBridgeIsThere) {
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    EXPECT_EQ(WriteVolume(), AdapterStatus::Done);
    EXPECT_TRUE(kernel->transfers.empty());
    EXPECT_EQ(simulator->Register(0xD9), (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x50}));
}

TEST_F(SystemAdapterTest, EachConnectLooksAgain) {
    kernel->AddClassBus(5, "CP2112 SMBus Bridge on hidraw0");
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    kernel->RemoveBuses();
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    EXPECT_EQ(WriteVolume(), AdapterStatus::Done);
    EXPECT_TRUE(kernel->transfers.empty());
    EXPECT_TRUE(SimulatorGotWrite());
}

TEST_F(SystemAdapterTest, NeitherThereIsNoAdapterForEveryCall) {
    simulator->SetPluggedIn(false);
    EXPECT_EQ(Connect(), AdapterStatus::NoAdapter);
    EXPECT_EQ(WriteVolume(), AdapterStatus::NoAdapter);
    std::vector<uint8_t> bytes(4, 0);
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(adapter->ReadI2CBlock(0x1B, 0xD9, 4, bytes, status), 0);
    EXPECT_EQ(status, AdapterStatus::NoAdapter);
    std::string text;
    EXPECT_EQ(adapter->ResetPulse(text), 0);
    EXPECT_EQ(text, "no adapter: reset not sent");
    EXPECT_FALSE(SimulatorGotWrite());
}

TEST_F(SystemAdapterTest, NeitherThereGivesTheTransportNoAdapterAndNoHrCheck) {
    simulator->SetPluggedIn(false);
    RecordingUi ui;
    TI2CForm transport(std::move(adapter), &ui);
    transport.OpenAdapter();
    EXPECT_FALSE(transport.IsUsbConnected());
    EXPECT_EQ(transport.ConnectionText(), "Unable to Connect to USB");
    EXPECT_TRUE(ui.hrChecks.empty());
    uint8_t byte = 0;
    transport.I2CRead(0x36, 0x00, 1, &byte);
    EXPECT_EQ(ui.statusTexts, std::vector<std::string>{"USB error"});
}

TEST_F(SystemAdapterTest, BridgeWithoutPermissionIsReportedWhenNothingElseServes) {
    kernel->AddClassBus(5, "CP2112 SMBus Bridge on hidraw0");
    kernel->openErrors["/dev/i2c-5"] = EACCES;
    simulator->SetPluggedIn(false);
    EXPECT_EQ(Connect(), BridgeStatus::CannotOpen);
    EXPECT_NE(adapter->Problem().find("No permission to open /dev/i2c-5"), std::string::npos);

    simulator->SetPluggedIn(true);
    EXPECT_EQ(Connect(), AdapterStatus::Done);
    EXPECT_EQ(WriteVolume(), AdapterStatus::Done);
    EXPECT_TRUE(SimulatorGotWrite());
}

struct FailedQueryCase {
    const char* what;
    bool bridgeInUse;
    bool bridgeCannotOpen; // during the query
    bool simulatorFails;   // its query fails
    bool simulatorPluggedIn;
    AdapterResult result;
    int32_t status;
};

// A connect query that fails, or finds only a bridge it cannot open, leaves
// the adapter in use as it was: the next write goes where the one before went.
TEST_F(SystemAdapterTest, FailedQueryKeepsTheAdapterInUse) {
    const FailedQueryCase cases[] = {
        {"simulator in use, its query fails", false, false, true, true, -ETIMEDOUT, AdapterStatus::AlsoDone},
        {"bridge in use, busy for a moment, no simulator", true, true, false, false, 0,
         BridgeStatus::CannotOpen},
        {"bridge in use, busy for a moment, simulator query fails", true, true, true, true, 0,
         BridgeStatus::CannotOpen},
    };
    for (const FailedQueryCase& c : cases) {
        SCOPED_TRACE(c.what);
        kernel->RemoveBuses();
        kernel->openErrors.clear();
        kernel->transfers.clear();
        standIn->connectFails = false;
        simulator->SetPluggedIn(true);
        if (c.bridgeInUse)
            kernel->AddClassBus(5, "CP2112 SMBus Bridge on hidraw0");
        ASSERT_EQ(Connect(), AdapterStatus::Done);
        simulator->TakeCalls();

        if (c.bridgeCannotOpen)
            kernel->openErrors["/dev/i2c-5"] = EBUSY;
        standIn->connectFails = c.simulatorFails;
        simulator->SetPluggedIn(c.simulatorPluggedIn);
        int32_t status = AdapterStatus::AlsoDone;
        EXPECT_EQ(adapter->ConnectUSB(status), c.result);
        EXPECT_EQ(status, c.status);

        kernel->openErrors.clear();
        simulator->SetPluggedIn(true);
        EXPECT_EQ(WriteVolume(), AdapterStatus::Done);
        EXPECT_EQ(kernel->transfers.size(), c.bridgeInUse ? 1u : 0u);
        EXPECT_EQ(SimulatorGotWrite(), !c.bridgeInUse);
    }
}

} // namespace
