#include "BridgeAdapter.h"
#include "FakeKernelI2c.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using Message = FakeKernelI2c::Message;

constexpr const char* Cp2112 = "CP2112 SMBus Bridge on hidraw0";

class BridgeAdapterTest : public ::testing::Test {
protected:
    BridgeAdapterTest() : kernel(new FakeKernelI2c), adapter(std::unique_ptr<IKernelI2c>(kernel)) {}

    // Connects and expects the adapter to be ready.
    void Connect() {
        int32_t status = AdapterStatus::AlsoDone;
        ASSERT_EQ(adapter.ConnectUSB(status), 0);
        ASSERT_EQ(status, AdapterStatus::Done) << adapter.Problem();
        kernel->opened.clear();
    }

    AdapterResult Write(int count, int32_t& status) {
        const std::vector<uint8_t> bytes(static_cast<size_t>(count), 0xA5);
        return adapter.WriteI2CBlock(0x1B, 0x51, count, bytes, status);
    }

    AdapterResult Read(int count, int32_t& status) {
        std::vector<uint8_t> bytes(static_cast<size_t>(count), 0);
        return adapter.ReadI2CBlock(0x1B, 0x51, count, bytes, status);
    }

    FakeKernelI2c* kernel; // owned by the adapter
    BridgeAdapter adapter;
};

struct DiscoveryCase {
    const char* what;
    std::vector<std::pair<int, std::string>> classBuses;
    std::vector<std::pair<int, std::string>> busDevices;
    int32_t status;
    std::vector<std::string> opened;
};

TEST_F(BridgeAdapterTest, FindsBridgesByBusNameAndPassesOverOtherBuses) {
    const DiscoveryCase cases[] = {
        {"no buses at all", {}, {}, AdapterStatus::NoAdapter, {}},
        {"only graphics and chipset buses",
         {{0, "i915 gmbus dpb"}, {1, "SMBus I801 adapter at efa0"}, {2, "AUX B/DDI B/PHY B"}},
         {},
         AdapterStatus::NoAdapter,
         {}},
        {"CP2112 after other buses",
         {{0, "i915 gmbus dpb"}, {5, Cp2112}},
         {},
         AdapterStatus::Done,
         {"/dev/i2c-5"}},
        {"FT260", {{3, "FT260 usb-i2c bridge on hidraw2"}}, {}, AdapterStatus::Done, {"/dev/i2c-3"}},
        {"MCP2221", {{12, "MCP2221 usb-i2c bridge"}}, {}, AdapterStatus::Done, {"/dev/i2c-12"}},
        {"CH341, name in another case",
         {{7, "i2c-CH341-usb at bus 001 device 004"}},
         {},
         AdapterStatus::Done,
         {"/dev/i2c-7"}},
        {"bridge seen only among the bus devices", {}, {{4, Cp2112}}, AdapterStatus::Done, {"/dev/i2c-4"}},
    };
    for (const DiscoveryCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto* fake = new FakeKernelI2c;
        BridgeAdapter bridge{std::unique_ptr<IKernelI2c>(fake)};
        for (const auto& [number, name] : c.classBuses)
            fake->AddClassBus(number, name);
        for (const auto& [number, name] : c.busDevices)
            fake->AddBusDevice(number, name);
        int32_t status = AdapterStatus::AlsoDone;
        EXPECT_EQ(bridge.ConnectUSB(status), 0);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(fake->opened, c.opened);
        EXPECT_EQ(fake->OpenCount(), 0u) << "the device node stays open after the connect";
    }
}

TEST_F(BridgeAdapterTest, SysfsListingSkipsEntriesThatAreNotBuses) {
    kernel->AddClassBus(2, "FT260 usb-i2c bridge on hidraw2");
    kernel->AddBusDevice(2, "a different name for the same bus");
    kernel->AddBusDevice(0, "i915 gmbus dpb");
    std::filesystem::create_directories(kernel->SysRoot() + "/class/i2c-dev/i2c-9"); // no name file
    std::ofstream(kernel->SysRoot() + "/bus/i2c/devices/i2c-x") << "not a bus\n";
    std::filesystem::create_directories(kernel->SysRoot() + "/bus/i2c/devices/2-0050"); // a client device
    std::ofstream(kernel->SysRoot() + "/bus/i2c/devices/2-0050/name") << "24c02\n";

    const std::vector<I2cBusEntry> buses = ListSysfsI2cBuses(kernel->SysRoot());
    ASSERT_EQ(buses.size(), 2u);
    EXPECT_EQ(buses[0].number, 0);
    EXPECT_EQ(buses[0].name, "i915 gmbus dpb");
    EXPECT_EQ(buses[1].number, 2);
    EXPECT_EQ(buses[1].name, "FT260 usb-i2c bridge on hidraw2");
}

TEST_F(BridgeAdapterTest, WriteIsOneMessageOfSubAddressThenBytes) {
    kernel->AddClassBus(5, Cp2112);
    Connect();
    const std::vector<uint8_t> bytes = {0x00, 0x00, 0x00, 0x50};
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(adapter.WriteI2CBlock(0x1B, 0xD9, 4, bytes, status), 0);
    EXPECT_EQ(status, AdapterStatus::Done);
    ASSERT_EQ(kernel->transfers.size(), 1u);
    EXPECT_EQ(kernel->transfers[0], (std::vector<Message>{{0x1B, 0, 5, {0xD9, 0x00, 0x00, 0x00, 0x50}}}));
    EXPECT_EQ(kernel->opened, std::vector<std::string>{"/dev/i2c-5"});
    EXPECT_EQ(kernel->OpenCount(), 0u);
}

TEST_F(BridgeAdapterTest, ReadIsOneCombinedTransferWithRepeatedStart) {
    kernel->AddClassBus(5, Cp2112);
    Connect();
    kernel->readData = {0x00, 0x80, 0x00, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66,
                        0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x01};
    std::vector<uint8_t> bytes(20, 0);
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(adapter.ReadI2CBlock(0x1B, 0x51, 20, bytes, status), 0);
    EXPECT_EQ(status, AdapterStatus::Done);
    EXPECT_EQ(bytes, kernel->readData);
    ASSERT_EQ(kernel->transfers.size(), 1u);
    EXPECT_EQ(kernel->transfers[0], (std::vector<Message>{{0x1B, 0, 1, {0x51}}, {0x1B, I2C_M_RD, 20, {}}}));
    EXPECT_EQ(kernel->OpenCount(), 0u);
}

TEST_F(BridgeAdapterTest, BusFailuresAreStatusesAndOtherErrorsAreAdapterFailures) {
    struct Case {
        const char* what;
        int transferResult;
        AdapterResult result;
        int32_t status;
    };
    const Case cases[] = {
        {"no acknowledge (ENXIO)", -ENXIO, 0, BridgeStatus::NotAcknowledged},
        {"no acknowledge (EREMOTEIO)", -EREMOTEIO, 0, BridgeStatus::NotAcknowledged},
        {"failed transfer (EIO)", -EIO, 0, BridgeStatus::NotAcknowledged},
        {"CP2112 no acknowledge (ETIMEDOUT)", -ETIMEDOUT, 0, BridgeStatus::NotAcknowledged},
        {"only the first message done", 1, 0, BridgeStatus::NotAcknowledged},
        {"no repeated start on this chip", -EOPNOTSUPP, -EOPNOTSUPP, AdapterStatus::AlsoDone},
    };
    kernel->AddClassBus(5, Cp2112);
    Connect();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kernel->transferResult = c.transferResult;
        int32_t status = AdapterStatus::AlsoDone;
        EXPECT_EQ(Read(4, status), c.result);
        EXPECT_EQ(status, c.status);
        if (c.transferResult != 1) {
            status = AdapterStatus::AlsoDone;
            EXPECT_EQ(Write(4, status), c.result);
            EXPECT_EQ(status, c.status);
        }
        EXPECT_EQ(c.result < 0, !adapter.Problem().empty());
    }
}

TEST_F(BridgeAdapterTest, BridgeGoneDuringUseIsNoAdapter) {
    kernel->AddClassBus(5, Cp2112);
    Connect();
    kernel->transferResult = -ENODEV;
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Write(4, status), 0);
    EXPECT_EQ(status, AdapterStatus::NoAdapter);
    kernel->opened.clear();
    status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Read(4, status), 0);
    EXPECT_EQ(status, AdapterStatus::NoAdapter);
    EXPECT_TRUE(kernel->opened.empty()) << "a bridge known to be gone is not opened again";
}

TEST_F(BridgeAdapterTest, NoBridgeMeansNoAdapterForEveryCall) {
    kernel->AddClassBus(0, "i915 gmbus dpb");
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(adapter.ConnectUSB(status), 0);
    EXPECT_EQ(status, AdapterStatus::NoAdapter);
    status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Write(4, status), 0);
    EXPECT_EQ(status, AdapterStatus::NoAdapter);
    status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Read(4, status), 0);
    EXPECT_EQ(status, AdapterStatus::NoAdapter);
    EXPECT_TRUE(kernel->opened.empty());
    EXPECT_TRUE(kernel->transfers.empty());
}

TEST_F(BridgeAdapterTest, ResetPulseSendsNothingAndSaysSo) {
    kernel->AddClassBus(5, Cp2112);
    Connect();
    std::string text;
    EXPECT_EQ(adapter.ResetPulse(text), 0);
    EXPECT_NE(text.find("no reset line"), std::string::npos) << text;
    EXPECT_TRUE(kernel->transfers.empty());
}

TEST_F(BridgeAdapterTest, BridgeWithoutPermissionIsReportedNotHidden) {
    kernel->AddClassBus(5, Cp2112);
    kernel->openErrors["/dev/i2c-5"] = EACCES;
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(adapter.ConnectUSB(status), 0);
    EXPECT_EQ(status, BridgeStatus::CannotOpen);
    EXPECT_EQ(adapter.Problem(),
              "No permission to open /dev/i2c-5 (CP2112 SMBus Bridge on hidraw0): install the "
              "udev rule 70-qmx4600-i2c-bridges.rules and join the plugdev group");
    status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Write(4, status), 0);
    EXPECT_EQ(status, AdapterStatus::NoAdapter);
    EXPECT_TRUE(kernel->transfers.empty());
}

TEST_F(BridgeAdapterTest, MissingDeviceNodeAsksForTheI2cDevModule) {
    kernel->AddBusDevice(4, "MCP2221 usb-i2c bridge");
    kernel->openErrors["/dev/i2c-4"] = ENOENT;
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(adapter.ConnectUSB(status), 0);
    EXPECT_EQ(status, BridgeStatus::CannotOpen);
    EXPECT_NE(adapter.Problem().find("modprobe i2c-dev"), std::string::npos) << adapter.Problem();
}

TEST_F(BridgeAdapterTest, SecondBridgeServesWhenTheFirstCannotBeOpened) {
    kernel->AddClassBus(5, Cp2112);
    kernel->AddClassBus(6, "FT260 usb-i2c bridge on hidraw1");
    kernel->openErrors["/dev/i2c-5"] = EACCES;
    Connect();
    EXPECT_TRUE(adapter.Problem().empty());
    int32_t status = AdapterStatus::AlsoDone;
    EXPECT_EQ(Write(1, status), 0);
    EXPECT_EQ(kernel->opened, std::vector<std::string>{"/dev/i2c-6"});
}

struct LengthCase {
    const char* bus;
    bool write;
    int count;
    bool fits;
};

void PrintTo(const LengthCase& c, std::ostream* out) {
    *out << (c.write ? "write of " : "read of ") << c.count << " bytes on " << c.bus;
}

class BridgeLengthTest : public BridgeAdapterTest, public ::testing::WithParamInterface<LengthCase> {};

// A register that does not fit in one message of the bridge fails, and
// nothing of it reaches the bus; one that fits goes whole.
TEST_P(BridgeLengthTest, RegisterGoesWholeOrNotAtAll) {
    const LengthCase c = GetParam();
    kernel->AddClassBus(1, c.bus);
    Connect();
    int32_t status = AdapterStatus::AlsoDone;
    const AdapterResult result = c.write ? Write(c.count, status) : Read(c.count, status);
    if (c.fits) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(status, AdapterStatus::Done);
        ASSERT_EQ(kernel->transfers.size(), 1u);
        EXPECT_EQ(kernel->transfers[0].back().length, c.write ? c.count + 1 : c.count);
    } else {
        EXPECT_EQ(result, -EMSGSIZE);
        EXPECT_TRUE(kernel->transfers.empty());
        EXPECT_TRUE(kernel->opened.empty());
        EXPECT_NE(adapter.Problem().find("does not fit"), std::string::npos) << adapter.Problem();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bridges, BridgeLengthTest,
    ::testing::Values(LengthCase{Cp2112, true, 52, true}, LengthCase{Cp2112, true, 60, true},
                      LengthCase{Cp2112, true, 61, false}, LengthCase{Cp2112, false, 512, true},
                      LengthCase{Cp2112, false, 513, false},
                      LengthCase{"FT260 usb-i2c bridge on hidraw0", true, 59, true},
                      LengthCase{"FT260 usb-i2c bridge on hidraw0", true, 60, false},
                      LengthCase{"FT260 usb-i2c bridge on hidraw0", false, 181, false},
                      LengthCase{"MCP2221 usb-i2c bridge", true, 52, true},
                      LengthCase{"MCP2221 usb-i2c bridge", true, 60, false},
                      LengthCase{"i2c-ch341-usb at bus 001 device 004", true, 20, true},
                      LengthCase{"i2c-ch341-usb at bus 001 device 004", true, 52, false},
                      LengthCase{"i2c-ch341-usb at bus 001 device 004", false, 52, false}));

} // namespace
