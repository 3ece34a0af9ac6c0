// The I2C transport: its three flags under each fault, what it shows the
// user, and what reaches the adapter.

#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>

namespace {

using coretest::Bytes;
using coretest::RecordingUi;
using coretest::StatusShown;
using coretest::Transfer;

const StatusShown I2cError{"I2C Error", Colours::Red};
const StatusShown UsbError{"USB error", Colours::Red};
const StatusShown BusOk{"OK", Colours::Green};

// A transport on a simulated device whose registers all hold four bytes,
// not yet opened, so a test can arrange faults first.
struct TransportRig {
    explicit TransportRig(bool withAdapter) {
        if (withAdapter) {
            SimulatedQmx4600::RegisterSizes sizes;
            sizes.fill(4);
            auto device = std::make_unique<SimulatedQmx4600>(sizes);
            sim = device.get();
            transport = std::make_unique<TI2CForm>(std::move(device), &ui);
        } else {
            transport = std::make_unique<TI2CForm>(nullptr, &ui);
        }
    }
    void Write(uint8_t subAddress = 0x20) {
        const uint8_t bytes[4] = {1, 2, 3, 4};
        transport->I2CWrite(0x36, subAddress, 4, bytes);
    }
    void Read(uint8_t subAddress = 0x20) {
        uint8_t buffer[4] = {};
        transport->I2CRead(0x36, subAddress, 4, buffer);
    }
    void Nack() { sim->NackAll(true); }
    void Heal() { sim->ClearNacks(); }

    RecordingUi ui;
    SimulatedQmx4600* sim = nullptr;
    std::unique_ptr<TI2CForm> transport;
};

struct Flags {
    bool usbConnected, transferOk, errorReported;
    bool operator==(const Flags&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Flags& f) {
    return out << "{usb " << f.usbConnected << ", ok " << f.transferOk << ", reported " << f.errorReported
               << '}';
}

struct FlagCase {
    const char* label;
    bool withAdapter;
    std::function<void(TransportRig&)> steps;
    Flags flags;
    std::vector<StatusShown> statuses;
    int dialogs;
    const char* connectionText;
};

class TransportFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(TransportFlags, FollowTheEvents) {
    const FlagCase& c = GetParam();
    TransportRig rig(c.withAdapter);
    c.steps(rig);
    const TI2CForm& t = *rig.transport;
    EXPECT_EQ((Flags{t.IsUsbConnected(), t.IsTransferOk(), t.IsErrorReported()}), c.flags);
    EXPECT_EQ(rig.ui.statuses, c.statuses);
    EXPECT_EQ(rig.ui.dialogsShown, c.dialogs);
    EXPECT_EQ(t.ConnectionText(), c.connectionText);
}

void Open(TransportRig& r) {
    r.transport->OpenAdapter();
}

const FlagCase FlagCases[] = {
    {"CreatedWithAdapter", true, [](TransportRig&) {}, {false, true, false}, {}, 0, "USB Status"},
    {"CreatedWithoutAdapter", false, [](TransportRig&) {}, {false, false, false}, {}, 0, "USB Status"},
    {"OpenedReady", true, Open, {true, true, false}, {}, 0, "Connected to USB"},
    {"OpenedUnplugged",
     true,
     [](TransportRig& r) {
         r.sim->SetPluggedIn(false);
         Open(r);
     },
     {false, false, false},
     {},
     0,
     "Unable to Connect to USB"},
    {"OpenedComponentFailure",
     true,
     [](TransportRig& r) {
         r.sim->SetComponentFailure(true);
         Open(r);
     },
     {false, true, false},
     {},
     0,
     "Unable to Connect to RTV COM Component"},
    {"OpenedWithoutAdapter",
     false,
     Open,
     {false, false, false},
     {},
     0,
     "Unable to Connect to RTV COM Component"},
    {"WriteAcknowledgedShowsNothing",
     true,
     [](TransportRig& r) {
         Open(r);
         r.Write();
         r.Read();
     },
     {true, true, false},
     {},
     0,
     "Connected to USB"},
    {"WriteNacked",
     true,
     [](TransportRig& r) {
         Open(r);
         r.Nack();
         r.Write();
     },
     {true, false, true},
     {I2cError},
     1,
     "Connected to USB"},
    {"ReadNacked",
     true,
     [](TransportRig& r) {
         Open(r);
         r.Nack();
         r.Read();
     },
     {true, false, true},
     {I2cError},
     1,
     "Connected to USB"},
    {"WriteWithComponentFailure",
     true,
     [](TransportRig& r) {
         Open(r);
         r.sim->SetComponentFailure(true);
         r.Write();
     },
     {true, false, true},
     {I2cError},
     1,
     "Connected to USB"},
    {"WriteWithoutAdapter",
     false,
     [](TransportRig& r) {
         Open(r);
         r.Write();
     },
     {false, false, true},
     {UsbError},
     1,
     "Unable to Connect to RTV COM Component"},
    {"UsbErrorRepeatsWhileUnplugged",
     true,
     [](TransportRig& r) {
         r.sim->SetPluggedIn(false);
         Open(r);
         r.Write();
         r.Read();
         r.Write();
     },
     {false, false, true},
     {UsbError, UsbError, UsbError},
     1,
     "Unable to Connect to USB"},
    {"TransfersAfterAFailureAreSkippedQuietly",
     true,
     [](TransportRig& r) {
         Open(r);
         r.Nack();
         r.Write();
         r.Heal();
         r.Write();
         r.Read();
     },
     {true, false, true},
     {I2cError},
     1,
     "Connected to USB"},
    {"ReconnectClearsTheFailure",
     true,
     [](TransportRig& r) {
         Open(r);
         r.Nack();
         r.Write();
         r.Heal();
         r.transport->Reconnect();
     },
     {true, true, false},
     {I2cError},
     1,
     "Connected to USB"},
    {"ReconnectUnpluggedStillAllowsTransfersToFail",
     true,
     [](TransportRig& r) {
         Open(r);
         r.Nack();
         r.Write();
         r.sim->SetPluggedIn(false);
         r.transport->Reconnect();
     },
     {false, true, false},
     {I2cError},
     1,
     "Unable to Connect to USB"},
    {"ReconnectUnpluggedThenWrite",
     true,
     [](TransportRig& r) {
         Open(r);
         r.Nack();
         r.Write();
         r.sim->SetPluggedIn(false);
         r.transport->Reconnect();
         r.Write();
     },
     {false, false, true},
     {I2cError, UsbError},
     2,
     "Unable to Connect to USB"},
    {"ReconnectWithoutAdapterShowsTheDialogAgain",
     false,
     [](TransportRig& r) {
         Open(r);
         r.Write();
         r.transport->Reconnect();
         r.Write();
     },
     {false, false, true},
     {UsbError, UsbError},
     2,
     "Unable to Connect to RTV COM Component"},
    {"DialogShownOnceUntilReconnect",
     true,
     [](TransportRig& r) {
         Open(r);
         r.Nack();
         r.Write();
         r.transport->OnDeviceChange();
         r.Write();
         r.transport->Reconnect();
         r.Write();
     },
     {true, false, true},
     {I2cError, BusOk, I2cError, I2cError},
     2,
     "Connected to USB"},
    {"DeviceChangeReadyKeepsErrorReported",
     true,
     [](TransportRig& r) {
         Open(r);
         r.Nack();
         r.Write();
         r.Heal();
         r.transport->OnDeviceChange();
     },
     {true, true, true},
     {I2cError, BusOk},
     1,
     "Connected to USB"},
    {"DeviceChangeUnplugged",
     true,
     [](TransportRig& r) {
         Open(r);
         r.sim->SetPluggedIn(false);
         r.transport->OnDeviceChange();
     },
     {false, false, false},
     {},
     0,
     "Unable to Connect to USB"},
    {"DeviceChangeComponentFailureChangesNothing",
     true,
     [](TransportRig& r) {
         Open(r);
         r.Nack();
         r.Write();
         r.sim->SetComponentFailure(true);
         r.transport->OnDeviceChange();
     },
     {true, false, true},
     {I2cError},
     1,
     "Connected to USB"},
    {"DeviceChangeWithoutAdapterChangesNothing",
     false,
     [](TransportRig& r) { r.transport->OnDeviceChange(); },
     {false, false, false},
     {},
     0,
     "USB Status"},
    {"DeviceChangeFindsThePluggedInAdapter",
     true,
     [](TransportRig& r) {
         r.sim->SetPluggedIn(false);
         Open(r);
         r.sim->SetPluggedIn(true);
         r.transport->OnDeviceChange();
         r.Write();
     },
     {true, true, false},
     {BusOk},
     0,
     "Connected to USB"},
};

INSTANTIATE_TEST_SUITE_P(Cases, TransportFlags, ::testing::ValuesIn(FlagCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(TransportRoad, MasterVolumeStep80ReachesTheAdapter) {
    coretest::DeviceRig rig;
    rig.table.SetData(0xD9, Bytes{0x00, 0x00, 0x00, 80});
    rig.table.WriteRegister(0xD9);
    const std::vector<Transfer> expected = {
        {SimulatedQmx4600::CallKind::Write, 0x1B, 0xD9, 4, {0x00, 0x00, 0x00, 0x50}}};
    EXPECT_EQ(rig.TakeTransfers(), expected);
    EXPECT_EQ(rig.sim->Register(0xD9), (Bytes{0x00, 0x00, 0x00, 0x50}));
    EXPECT_TRUE(rig.ui.statuses.empty()) << "a successful transfer leaves the status area alone";
    EXPECT_TRUE(rig.transport->IsTransferOk());
}

TEST(TransportRoad, TheAdapterGetsHalfTheDeviceAddress) {
    const struct {
        uint8_t deviceAddress, address7;
        bool acknowledged;
    } cases[] = {{0x36, 0x1B, true}, {0x37, 0x1B, true}, {0x38, 0x1C, false}, {0x00, 0x00, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.deviceAddress));
        coretest::DeviceRig rig;
        coretest::FixedDeviceAddress address(c.deviceAddress);
        rig.table.SetDeviceAddressSource(&address);
        rig.table.WriteRegister(0x0F);
        const std::vector<Transfer> transfers = rig.TakeTransfers();
        ASSERT_EQ(transfers.size(), 1u);
        EXPECT_EQ(transfers[0].address7, c.address7);
        EXPECT_EQ(rig.transport->IsTransferOk(), c.acknowledged);
    }
}

TEST(TransportTraffic, SkippedTransfersNeverReachTheAdapter) {
    TransportRig rig(true);
    Open(rig);
    rig.sim->NackSubAddress(0x20);
    rig.Write(0x20);
    rig.Write(0x21);
    uint8_t buffer[4] = {9, 9, 9, 9};
    rig.transport->I2CRead(0x36, 0x21, 4, buffer);
    EXPECT_EQ(buffer[0], 9);
    const std::vector<Transfer> transfers = coretest::TransfersOf(rig.sim->Calls());
    ASSERT_EQ(transfers.size(), 1u);
    EXPECT_EQ(transfers[0].subAddress, 0x20);
}

TEST(TransportTraffic, ReadOfNoBytesMakesNoAdapterCall) {
    TransportRig rig(true);
    Open(rig);
    rig.sim->TakeCalls();
    rig.transport->I2CRead(0x36, 0x20, 0, nullptr);
    EXPECT_TRUE(rig.sim->Calls().empty());
    EXPECT_TRUE(rig.transport->IsTransferOk());
}

TEST(TransportTraffic, ReadFillsTheBufferWheneverTheAdapterCallItselfWorked) {
    const struct {
        const char* label;
        std::function<void(SimulatedQmx4600&)> fault;
        Bytes buffer;
        bool ok;
    } cases[] = {
        {"acknowledged", [](SimulatedQmx4600&) {}, {0xCA, 0xFE, 0xBA, 0xBE}, true},
        {"not acknowledged", [](SimulatedQmx4600& s) { s.NackAll(true); }, {0xFF, 0xFF, 0xFF, 0xFF}, false},
        {"component failure",
         [](SimulatedQmx4600& s) { s.SetComponentFailure(true); },
         {0x11, 0x11, 0x11, 0x11},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TransportRig rig(true);
        Open(rig);
        rig.sim->SetRegister(0x20, Bytes{0xCA, 0xFE, 0xBA, 0xBE});
        c.fault(*rig.sim);
        Bytes buffer(4, 0x11);
        rig.transport->I2CRead(0x36, 0x20, 4, buffer.data());
        EXPECT_EQ(buffer, c.buffer);
        EXPECT_EQ(rig.transport->IsTransferOk(), c.ok);
    }
}

// --- reading register ranges ---

std::vector<int> SubAddressesRead(const std::vector<Transfer>& transfers) {
    std::vector<int> subs;
    for (const Transfer& t : transfers) {
        EXPECT_EQ(t.kind, SimulatedQmx4600::CallKind::Read);
        subs.push_back(t.subAddress);
    }
    return subs;
}

std::vector<int> Span(int first, int last) {
    std::vector<int> subs;
    for (int s = first; s <= last; ++s)
        subs.push_back(s);
    return subs;
}

TEST(ReadRegisters, ReadsTheRangeButNever0xFFAfterIt) {
    const struct {
        uint8_t first, last;
        std::vector<int> read;
    } cases[] = {
        {0x00, 0xFF, Span(0x00, 0xFE)}, {0x10, 0x12, Span(0x10, 0x12)}, {0xFE, 0xFF, {0xFE}},
        {0x20, 0x10, {0x20}},           {0xFF, 0xFF, {0xFF}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
        coretest::DeviceRig rig;
        rig.table.ReadRegisters(c.first, c.last);
        const std::vector<Transfer> transfers = rig.TakeTransfers();
        EXPECT_EQ(SubAddressesRead(transfers), c.read);
        for (const Transfer& t : transfers) {
            EXPECT_EQ(t.count, rig.table.GetSize(t.subAddress)) << std::hex << int(t.subAddress);
            EXPECT_EQ(t.address7, 0x1B);
        }
    }
}

TEST(ReadRegisters, StoresWhatTheDeviceHolds) {
    coretest::DeviceRig rig;
    rig.sim->SetSampleRate(96000);
    Bytes biquad(20);
    for (size_t i = 0; i < biquad.size(); ++i)
        biquad[i] = static_cast<uint8_t>(0xA0 + i);
    rig.sim->SetRegister(0x51, biquad);
    rig.table.ReadRegisters(0x00, 0xFF);
    for (int s = 0x00; s <= 0xFE; ++s)
        EXPECT_EQ(rig.table.GetData(s), rig.sim->Register(static_cast<uint8_t>(s))) << std::hex << s;
    EXPECT_EQ(rig.table.GetData(0x00), (Bytes{0xAC})) << "96 kHz at 256 x fs";
    EXPECT_EQ(rig.table.GetData(0x51), biquad);
}

TEST(ReadRegisters, StopsRightAfterTheFirstFailureAndKeepsThatRegister) {
    coretest::DeviceRig rig;
    rig.table.SetData(0x41, Bytes(32, 0x77));
    rig.table.SetData(0x42, Bytes(32, 0x66));
    rig.sim->NackSubAddress(0x41);
    rig.table.ReadRegisters(0x00, 0xFF);
    EXPECT_EQ(SubAddressesRead(rig.TakeTransfers()), Span(0x00, 0x41));
    EXPECT_EQ(rig.table.GetData(0x41), Bytes(32, 0x77));
    EXPECT_EQ(rig.table.GetData(0x42), Bytes(32, 0x66));
    EXPECT_EQ(rig.table.GetData(0x0E), rig.sim->Register(0x0E));
    EXPECT_EQ(rig.ui.statuses, std::vector<StatusShown>{I2cError});
}

TEST(ReadRegisters, RegistersMissingFromTheMapCauseNoTransfer) {
    coretest::DeviceRig rig("#1 0x10 2 !r_a\n#2 0x12 1 !r_b\n");
    rig.table.ReadRegisters(0x0F, 0x13);
    const std::vector<Transfer> transfers = rig.TakeTransfers();
    EXPECT_EQ(SubAddressesRead(transfers), (std::vector<int>{0x10, 0x12}));
    ASSERT_EQ(transfers.size(), 2u);
    EXPECT_EQ(transfers[0].count, 2);
    EXPECT_EQ(transfers[1].count, 1);
}

// --- the "HRCHECK: " question after a failed reset pulse ---

// An adapter whose answers a test sets: the reset pulse's result and, for
// every transfer, the result, the status (none: the caller's preset is left
// as it is) and the byte a read returns.
class ScriptedAdapter : public IPMBusTransport {
public:
    AdapterResult resetResult = 0;
    AdapterResult transferResult = 0;
    std::optional<int32_t> transferStatus = AdapterStatus::Done;
    uint8_t readByte = 0xAB;

    AdapterResult ConnectUSB(int32_t& status) override {
        status = AdapterStatus::Done;
        return 0;
    }
    AdapterResult ResetPulse(std::string& text) override {
        text = "reset";
        return resetResult;
    }
    AdapterResult WriteI2CBlock(uint8_t, uint8_t, int32_t, std::span<const uint8_t>,
                                int32_t& status) override {
        if (transferStatus)
            status = *transferStatus;
        return transferResult;
    }
    AdapterResult ReadI2CBlock(uint8_t, uint8_t, int32_t, std::vector<uint8_t>& bytes,
                               int32_t& status) override {
        std::fill(bytes.begin(), bytes.end(), readByte);
        if (transferStatus)
            status = *transferStatus;
        return transferResult;
    }
};

std::unique_ptr<ScriptedAdapter> FailingReset(AdapterResult code) {
    auto adapter = std::make_unique<ScriptedAdapter>();
    adapter->resetResult = code;
    return adapter;
}

TEST(TransportOutcome, StatusZeroOrSixWithAResultNotNegativeIsSuccess) {
    const struct {
        const char* label;
        AdapterResult result;
        std::optional<int32_t> status;
        bool ok;
    } cases[] = {
        {"status 0", 0, 0, true},
        {"status 6", 0, 6, true},
        {"status left at the preset 6", 0, std::nullopt, true},
        {"positive result", 1, 0, true},
        {"status 1", 0, 1, false},
        {"status 2", 0, 2, false},
        {"status 7", 0, 7, false},
        {"negative result", -EIO, 0, false},
    };
    for (const auto& c : cases) {
        for (bool write : {true, false}) {
            SCOPED_TRACE(std::string(c.label) + (write ? ", write" : ", read"));
            RecordingUi ui;
            auto adapter = std::make_unique<ScriptedAdapter>();
            adapter->transferResult = c.result;
            adapter->transferStatus = c.status;
            TI2CForm transport(std::move(adapter), &ui);
            transport.OpenAdapter();
            Bytes buffer(3, 0x11);
            if (write)
                transport.I2CWrite(0x36, 0x20, 3, buffer.data());
            else
                transport.I2CRead(0x36, 0x20, 3, buffer.data());
            EXPECT_EQ(transport.IsTransferOk(), c.ok);
            EXPECT_EQ(ui.statuses, c.ok ? std::vector<StatusShown>{} : std::vector<StatusShown>{I2cError});
            if (!write) {
                EXPECT_EQ(buffer, Bytes(3, c.result >= 0 ? 0xAB : 0x11));
            }
        }
    }
}

struct HrCheckCase {
    const char* label;
    AdapterResult code;
    HrCheckAnswer answer;
    const char* messageStart;
    bool throws;
    bool toStderr;
};

class HrCheck : public ::testing::TestWithParam<HrCheckCase> {};

TEST_P(HrCheck, AnswersDecideHowTheResetGoesOn) {
    const HrCheckCase& c = GetParam();
    RecordingUi ui;
    ui.hrAnswer = c.answer;
    TI2CForm transport(FailingReset(c.code), &ui);

    ::testing::internal::CaptureStderr();
    bool thrown = false;
    try {
        transport.OpenAdapter();
    } catch (const HrCheckError& error) {
        thrown = true;
        EXPECT_EQ(error.Code(), c.code);
        ASSERT_EQ(ui.hrQuestions.size(), 1u);
        EXPECT_EQ(error.what(), ui.hrQuestions[0]);
    }
    const std::string err = ::testing::internal::GetCapturedStderr();

    ASSERT_EQ(ui.hrQuestions.size(), 1u);
    const std::string& message = ui.hrQuestions[0];
    EXPECT_EQ(message.rfind(c.messageStart, 0), 0u) << message;
    const std::string tail = "\nPress [Y]es to terminate, [N]o to continue and [C]ancel to Debug";
    ASSERT_GE(message.size(), tail.size());
    EXPECT_EQ(message.substr(message.size() - tail.size()), tail);
    EXPECT_EQ(thrown, c.throws);
    EXPECT_EQ(err, c.toStderr ? "HRCHECK: " + message + "\n" : "");
    EXPECT_TRUE(transport.IsUsbConnected()) << "the connect before the reset stands";
    EXPECT_TRUE(transport.IsTransferOk());
}

const HrCheckCase HrCheckCases[] = {
    {"YesEndsTheOperation", -EIO, HrCheckAnswer::Yes, "'ResetPulse': Input/output error @ ", true, false},
    {"NoContinues", -EIO, HrCheckAnswer::No, "'ResetPulse': Input/output error @ ", false, false},
    {"CancelContinuesAndLeavesTheDetails", -EIO, HrCheckAnswer::Cancel, "'ResetPulse': Input/output error @ ",
     false, true},
    {"CodeWithoutSystemText", -123456, HrCheckAnswer::No, "(ResetPulse) Error: FFFE1DC0 (-123456) @ ", false,
     false},
};

INSTANTIATE_TEST_SUITE_P(Cases, HrCheck, ::testing::ValuesIn(HrCheckCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(HrCheck, ReconnectAsksToo) {
    RecordingUi ui;
    TI2CForm transport(FailingReset(-EIO), &ui);
    transport.OpenAdapter();
    transport.Reconnect();
    EXPECT_EQ(ui.hrQuestions.size(), 2u);
}

TEST(HrCheck, SuccessfulResetAsksNothing) {
    RecordingUi ui;
    TI2CForm transport(FailingReset(0), &ui);
    transport.OpenAdapter();
    transport.Reconnect();
    EXPECT_TRUE(ui.hrQuestions.empty());
}

} // namespace
