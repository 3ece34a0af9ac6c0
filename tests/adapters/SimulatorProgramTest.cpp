#include "Configdataunit.h"
#include "I2cunit.h"
#include "PowerOnImage.h"
#include "SimulatedQmx4600.h"
#include "SimulatorCommands.h"
#include "SimulatorFixture.h"
#include "SimulatorSocketAdapter.h"
#include "TestSockets.h"
#include "VirtualAdapterProtocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>

namespace {

const std::string MapFile = std::string(QMX_SOURCE_DATA_DIR) + "/QMX4600.addr";

class SimulatorProgramTest : public SimulatorFixture {};

struct Exchange {
    const char* request;
    const char* reply; // a reply ending in '*' is matched by its beginning
};

// One client's conversation with a fresh simulator, request by request.
TEST_F(SimulatorProgramTest, AnswersEveryRequestAsTheProtocolSays) {
    const Exchange conversation[] = {
        {"CONNECT", "STATUS 0"},
        {"RESET", "OK reset done"},
        {"WRITE 1b d9 4 00 00 00 50", "STATUS 0"},
        {"READ 1b d9 4", "STATUS 0 00 00 00 50"},
        {"READ 1B D9 4", "STATUS 0 00 00 00 50"},
        {"WRITE 1B D9 4 AB cd Ef 01", "STATUS 0"},
        {"READ 1b d9 4", "STATUS 0 ab cd ef 01"},
        {"RESET", "OK reset done"},
        {"READ 1b d9 4", "STATUS 0 00 00 00 48"},
        {"READ 1b 00 1", "STATUS 0 6c"},
        {"READ 1b 00 0", "STATUS 0"},
        {"SIM RATE 192000", "OK"},
        {"READ 1b 00 1", "STATUS 0 ec"},
        {"SIM MCLK 512", "OK"},
        {"READ 1b 00 1", "STATUS 0 f4"},
        {"SIM RATE 44100", "OK"},
        {"SIM MCLK 64", "OK"},
        {"READ 1b 00 1", "STATUS 0 40"},
        {"SIM RATE 12345", "ERROR *"},
        {"SIM MCLK 100", "ERROR *"},
        {"SIM NACK d9", "OK"},
        {"READ 1b d9 4", "STATUS 2 ff ff ff ff"},
        {"WRITE 1b d9 1 01", "STATUS 2"},
        {"READ 1b 0f 1", "STATUS 0 00"},
        {"SIM NACK ALL", "OK"},
        {"READ 1b 0f 1", "STATUS 2 ff"},
        {"SIM NACK OFF", "OK"},
        {"READ 1b d9 4", "STATUS 0 00 00 00 48"},
        {"READ 1c 0f 1", "STATUS 2 ff"},
        {"SIM UNPLUG", "OK"},
        {"CONNECT", "STATUS 7"},
        {"READ 1b 0f 1", "STATUS 7 ff"},
        {"SIM PLUG", "OK"},
        {"CONNECT", "STATUS 0"},
    };
    StartSimulator();
    for (const Exchange& e : conversation) {
        SCOPED_TRACE(e.request);
        const std::string reply = Ask(e.request);
        const std::string expected = e.reply;
        if (expected.ends_with('*'))
            EXPECT_TRUE(reply.starts_with(expected.substr(0, expected.size() - 1))) << reply;
        else
            EXPECT_EQ(reply, expected);
    }
}

TEST_F(SimulatorProgramTest, GarbageGetsAnErrorAndTheConnectionGoesOn) {
    const char* garbage[] = {
        "",
        "HELLO",
        "connect",
        "CONNECT now",
        "RESET 1",
        "READ 1b 00",
        "READ 1b 0 1",
        "READ 1b 00 x",
        "READ 1b 00 -1",
        "READ 1b 00 1 extra",
        "READ  1b 00 1",
        "READ 1b 00 1 ",
        "READ 1b 00 100000",
        "WRITE 1b d9 2 00",
        "WRITE 1b d9 1 00 00",
        "WRITE 1b d9 1 0g",
        "WRITE 1b d9",
        "SIM",
        "SIM FOO",
        "SIM NACK",
        "SIM NACK 1",
        "SIM NACK all",
        "SIM RATE",
        "SIM RATE fast",
        "SIM LOG now",
        "\x01\x02\xff",
    };
    StartSimulator();
    for (const char* line : garbage) {
        SCOPED_TRACE(line);
        EXPECT_TRUE(Ask(line).starts_with("ERROR ")) << Ask("CONNECT");
    }
    EXPECT_EQ(Ask("CONNECT"), "STATUS 0");
    EXPECT_EQ(TakeLog(), std::vector<std::string>{"CONNECT -> STATUS 0"})
        << "refused requests are not transfers";
}

// An ERROR reply is a protocol line like any other: printable ASCII, the
// request it quotes escaped where it is not, and it says what the request
// needs.
TEST_F(SimulatorProgramTest, ErrorRepliesArePrintableAndSayWhatIsNeeded) {
    const Exchange conversation[] = {
        {"\x01\x02\xff", R"(ERROR unknown request '\x01\x02\xff')"},
        {"HE\x7fLO\\", R"(ERROR unknown request 'HE\x7fLO\x5c')"},
        {"\xc3\xa9t\xc3\xa9 1", R"(ERROR unknown request '\xc3\xa9t\xc3\xa9')"},
        {"SIM NACK", "ERROR SIM NACK takes a sub-address (hex), ALL or OFF"},
        {"SIM NACK d9 e0", "ERROR SIM NACK takes a sub-address (hex), ALL or OFF"},
        {"SIM NACK 1", "ERROR SIM NACK takes a sub-address (hex), ALL or OFF"},
        {"SIM FOO", "ERROR unknown SIM control; known: RATE, MCLK, NACK, UNPLUG, PLUG, DUMP, LOG"},
        {"SIM", "ERROR unknown SIM control; known: RATE, MCLK, NACK, UNPLUG, PLUG, DUMP, LOG"},
        {"SIM LOG now", "ERROR SIM LOG takes no arguments"},
        {"SIM UNPLUG 1", "ERROR SIM UNPLUG takes no arguments"},
    };
    StartSimulator();
    for (const Exchange& e : conversation) {
        SCOPED_TRACE(e.request);
        EXPECT_EQ(Ask(e.request), e.reply);
    }
    // A NUL inside the line, and a long run of bytes that are not ASCII, of
    // which the reply quotes the first 40.
    EXPECT_EQ(Ask(std::string("CON\0NECT", 8)), R"(ERROR unknown request 'CON\x00NECT')");
    std::string quoted;
    for (int i = 0; i < 40; ++i)
        quoted += R"(\xff)";
    EXPECT_EQ(Ask(std::string(300, '\xff')), "ERROR unknown request '" + quoted + "'");
    EXPECT_EQ(Ask("CONNECT"), "STATUS 0") << "SIM UNPLUG 1 was refused, not carried out";
}

TEST_F(SimulatorProgramTest, LogRecordsEachAdapterCallOnceWithItsStatus) {
    StartSimulator();
    Ask("CONNECT");
    Ask("RESET");
    Ask("SIM NACK 0f");
    Ask("WRITE 1b 0f 1 ff");
    Ask("READ 1b 00 1");
    Ask("SIM DUMP");
    EXPECT_EQ(TakeLog(),
              (std::vector<std::string>{"CONNECT -> STATUS 0", "RESET -> OK", "WRITE 1b 0f 1 ff -> STATUS 2",
                                        "READ 1b 00 1 -> STATUS 0"}));
    EXPECT_EQ(Ask("SIM LOG"), "LOG 0") << "the record starts again after each SIM LOG";
}

// More transfers than the record keeps: the oldest lines go, and SIM LOG still
// answers with all it kept, the newest last.
TEST_F(SimulatorProgramTest, LogKeepsTheNewestTransfersWithinItsSize) {
    StartSimulator();
    constexpr int Writes = 400; // of about 3 KB each: far more than the record keeps
    std::vector<std::string> requests;
    for (int i = 0; i < Writes; ++i) {
        std::vector<uint8_t> bytes(VirtualAdapter::MaxTransferBytes, 0x5A);
        bytes[0] = static_cast<uint8_t>(i);
        bytes[1] = static_cast<uint8_t>(i >> 8);
        requests.push_back(VirtualAdapter::WriteRequest(0x1B, 0xD9, bytes));
        ASSERT_TRUE(Ask(requests.back()).starts_with("STATUS ")) << i;
    }
    const std::vector<std::string> log = TakeLog();
    ASSERT_FALSE(log.empty());
    ASSERT_LT(log.size(), requests.size()) << log.front();
    size_t bytes = 0;
    const size_t first = requests.size() - log.size();
    for (size_t k = 0; k < log.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_TRUE(log[k].starts_with(requests[first + k] + " -> STATUS ")) << log[k].substr(0, 40);
        bytes += log[k].size() + 1;
    }
    EXPECT_LE(bytes, SimulatorCommands::MaxRecordBytes);
    EXPECT_GT(bytes + log.back().size() + 1, SimulatorCommands::MaxRecordBytes)
        << "the record keeps all that fits";
    EXPECT_EQ(Ask("SIM LOG"), "LOG 0");
}

// The dump shows every register of the map, at its size, in sub-address order.
TEST_F(SimulatorProgramTest, DumpIsTheWholeRegisterImage) {
    StartSimulator();
    Ask("WRITE 1b d9 4 00 00 00 50");
    Ask("SIM RATE 96000");
    const SimulatedQmx4600::RegisterSizes sizes = SimulatedQmx4600::SizesFromMapFile(MapFile);
    std::string expected = "REGS";
    for (int s = 0; s < 256; ++s) {
        std::vector<uint8_t> bytes = PowerOnRegister(static_cast<uint8_t>(s), sizes[s]);
        if (bytes.empty())
            continue;
        if (s == 0x00)
            bytes = {0xAC}; // 96 kHz at 256 x fs
        if (s == 0xD9)
            bytes = {0x00, 0x00, 0x00, 0x50};
        expected += " " + VirtualAdapter::HexByte(static_cast<uint8_t>(s)) + ":";
        for (uint8_t b : bytes)
            expected += VirtualAdapter::HexByte(b);
    }
    EXPECT_EQ(Ask("SIM DUMP"), expected);
}

TEST_F(SimulatorProgramTest, OverlongRequestIsRefusedAndTheConnectionDropped) {
    StartSimulator();
    EXPECT_EQ(Ask(std::string(5000, 'A')), "ERROR request longer than 4096 characters");
    std::string line;
    EXPECT_EQ(control.ReadLine(line, std::chrono::seconds(5)), -ECONNRESET);
    LineConnection other;
    ASSERT_EQ(other.Connect(socketPath, std::chrono::seconds(5)), 0);
    EXPECT_EQ(other.Exchange("CONNECT", line, std::chrono::seconds(5)), 0);
    EXPECT_EQ(line, "STATUS 0") << "the simulator serves on";
}

TEST_F(SimulatorProgramTest, ServesSeveralClientsAtOnce) {
    StartSimulator();
    LineConnection tool;
    ASSERT_EQ(tool.Connect(socketPath, std::chrono::seconds(5)), 0);
    std::string reply;
    ASSERT_EQ(tool.Exchange("WRITE 1b d9 4 00 00 00 50", reply, std::chrono::seconds(5)), 0);
    EXPECT_EQ(reply, "STATUS 0");
    EXPECT_EQ(Ask("READ 1b d9 4"), "STATUS 0 00 00 00 50");
    ASSERT_EQ(tool.Exchange("READ 1b d9 4", reply, std::chrono::seconds(5)), 0);
    EXPECT_EQ(reply, "STATUS 0 00 00 00 50");
}

TEST_F(SimulatorProgramTest, PrintsEachTransferItReceives) {
    StartSimulator({});
    Ask("WRITE 1b d9 4 00 00 00 50");
    Ask("SIM DUMP");
    Ask("READ 1b d9 4");
    EXPECT_EQ(simulator.ReadOutputLine(), "WRITE 1b d9 4 00 00 00 50 -> STATUS 0");
    EXPECT_EQ(simulator.ReadOutputLine(), "READ 1b d9 4 -> STATUS 0");
}

TEST_F(SimulatorProgramTest, RemovesItsSocketOnEveryStopSignal) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(signal);
        StartSimulator();
        control.Close();
        EXPECT_EQ(simulator.Stop(signal), 0);
        EXPECT_FALSE(std::filesystem::exists(socketPath));
    }
}

TEST_F(SimulatorProgramTest, TakesOverAStaleSocket) {
    LeaveStaleSocket(socketPath);
    StartSimulator();
    EXPECT_EQ(Ask("CONNECT"), "STATUS 0");
}

TEST_F(SimulatorProgramTest, RefusesASocketThatIsServedOrIsNoSocket) {
    StartSimulator();
    SimulatorProcess second(QMX4600_SIM_EXECUTABLE, socketPath);
    EXPECT_FALSE(second.Start({"--quiet"}));
    EXPECT_EQ(second.ExitCode(), 1);
    EXPECT_EQ(Ask("CONNECT"), "STATUS 0") << "the first simulator keeps its socket";

    folder.WriteFile("notes.txt", "keep me\n");
    SimulatorProcess third(QMX4600_SIM_EXECUTABLE, folder.Path("notes.txt"));
    EXPECT_FALSE(third.Start({"--quiet"}));
    EXPECT_EQ(third.ExitCode(), 1);
    std::ifstream notes(folder.Path("notes.txt"));
    std::string text;
    std::getline(notes, text);
    EXPECT_EQ(text, "keep me");
}

TEST_F(SimulatorProgramTest, CommandLineSetsTheDevice) {
    StartSimulator({"--quiet", "--rate", "192000", "--mclk", "512", "--nack", "d9"});
    EXPECT_EQ(Ask("READ 1b 00 1"), "STATUS 0 f4");
    EXPECT_EQ(Ask("READ 1b d9 4"), "STATUS 2 ff ff ff ff");

    SimulatorProcess wrong(QMX4600_SIM_EXECUTABLE, folder.Path("other.sock"));
    EXPECT_FALSE(wrong.Start({"--rate", "1000"}));
    EXPECT_EQ(wrong.ExitCode(), 2);
}

struct SentLine {
    const char* line;
    bool socketOption; // else the socket is found through QMX4600_SIM_SOCKET
    const char* output;
    int exitCode;
};

// The program as its own client: runs `qmx4600-sim [--socket PATH] --send LINE`
// and takes what it prints and its exit code.
std::pair<std::string, int> RunClient(const SentLine& sent, const std::string& socketPath) {
    std::string command = std::string(QMX4600_SIM_EXECUTABLE) + " --send '" + sent.line + "'";
    if (sent.socketOption)
        command += " --socket " + socketPath;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {"cannot run " + command, -1};
    std::string output;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        output.append(chunk, n);
    const int status = ::pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST_F(SimulatorProgramTest, SendSteersARunningSimulator) {
    const SentLine lines[] = {
        {"SIM RATE 192000", false, "OK\n", 0},
        {"READ 1b 00 1", true, "STATUS 0 ec\n", 0},
        {"SIM NACK d9", true, "OK\n", 0},
        {"READ 1b d9 4", true, "STATUS 2 ff ff ff ff\n", 0},
        {"SIM LOG", true, "LOG 2\nREAD 1b 00 1 -> STATUS 0\nREAD 1b d9 4 -> STATUS 2\n", 0},
        {"SIM LOG", true, "LOG 0\n", 0},
        {"SIM RATE 12345", true, "ERROR SIM RATE takes a rate the device detects\n", 1},
        {"HELLO", false, "ERROR unknown request 'HELLO'\n", 1},
    };
    StartSimulator();
    for (const SentLine& sent : lines) {
        SCOPED_TRACE(sent.line);
        const auto [output, exitCode] = RunClient(sent, socketPath);
        EXPECT_EQ(output, sent.output);
        EXPECT_EQ(exitCode, sent.exitCode);
    }
    EXPECT_EQ(Ask("READ 1b 00 1"), "STATUS 0 ec") << "the simulator serves on as steered";

    control.Close();
    simulator.Stop();
    const auto [output, exitCode] = RunClient({"SIM LOG", true, "", 1}, socketPath);
    EXPECT_EQ(output, "");
    EXPECT_EQ(exitCode, 1) << "no simulator to send to";
}

// A program that never says "serving" is killed, however long it would run.
TEST_F(SimulatorProgramTest, ProgramThatDoesNotServeIsKilled) {
    const struct {
        const char* what;
        const char* script;
    } cases[] = {
        {"closes its output", "exec sleep 10 >/dev/null\n"},
        {"says something else", "echo starting\nexec sleep 10\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        folder.WriteFile("hangs.sh", std::string("#!/bin/sh\n") + c.script);
        std::filesystem::permissions(folder.Path("hangs.sh"), std::filesystem::perms::owner_all);
        SimulatorProcess hanging(folder.Path("hangs.sh"), socketPath);
        EXPECT_FALSE(hanging.Start());
        EXPECT_FALSE(hanging.IsRunning());
        EXPECT_EQ(hanging.ExitCode(), 128 + SIGKILL);
    }
}

class RecordingUi : public ITransportUi {
public:
    void SetBusStatus(const std::string& text, Rgb colour) override { statuses.push_back({text, colour}); }
    void ShowCommunicationError() override { ++dialogs; }
    HrCheckAnswer AskHrCheck(const std::string&) override { return HrCheckAnswer::No; }
    std::vector<std::pair<std::string, Rgb>> statuses;
    int dialogs = 0;
};

// The tool's start-up through the real transport: reset, then every register
// of the map read at its size; the simulator going away shows as a bus error,
// and coming back is found by the device-change query.
TEST_F(SimulatorProgramTest, TransportStartsUpLosesAndFindsTheSimulator) {
    StartSimulator();
    RecordingUi ui;
    TI2CForm transport(std::make_unique<SimulatorSocketAdapter>(), &ui);
    TConfigDataUnit table;
    ASSERT_TRUE(table.ReadMapFile(MapFile));
    table.SetBus(&transport);

    transport.OpenAdapter();
    ASSERT_TRUE(transport.IsUsbConnected());
    ASSERT_EQ(Ask("SIM RATE 88200"), "OK");
    table.ReadRegisters(0x00, 0xFF);
    EXPECT_TRUE(transport.IsTransferOk());

    std::vector<std::string> expected = {"CONNECT -> STATUS 0", "RESET -> OK"};
    for (int s = 0x00; s <= 0xFE; ++s)
        if (table.GetSize(s) > 0)
            expected.push_back(VirtualAdapter::ReadRequest(0x1B, static_cast<uint8_t>(s), table.GetSize(s)) +
                               " -> STATUS 0");
    EXPECT_EQ(TakeLog(), expected);
    EXPECT_EQ(table.GetData(0x00), std::vector<uint8_t>{0x8C}) << "88.2 kHz at 256 x fs";
    EXPECT_EQ(table.GetData(0xD9), (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x48}));
    EXPECT_TRUE(ui.statuses.empty());

    control.Close();
    simulator.Stop();
    uint8_t byte = 0x33;
    transport.I2CRead(0x36, 0x00, 1, &byte);
    EXPECT_FALSE(transport.IsTransferOk());
    EXPECT_TRUE(transport.IsErrorReported());
    EXPECT_EQ(ui.dialogs, 1);
    ASSERT_EQ(ui.statuses.size(), 1u);
    EXPECT_EQ(ui.statuses[0].first, "I2C Error");
    EXPECT_EQ(ui.statuses[0].second, Colours::Red);
    EXPECT_EQ(byte, 0x33);

    transport.OnDeviceChange();
    EXPECT_FALSE(transport.IsUsbConnected()) << "no simulator: the query finds no adapter";

    StartSimulator();
    transport.OnDeviceChange();
    EXPECT_TRUE(transport.IsUsbConnected());
    EXPECT_TRUE(transport.IsTransferOk());
    EXPECT_EQ(ui.statuses.back().first, "OK");
    EXPECT_EQ(ui.statuses.back().second, Colours::Green);
    transport.I2CRead(0x36, 0x00, 1, &byte);
    EXPECT_TRUE(transport.IsTransferOk());
    EXPECT_EQ(byte, 0x6C);
}

// Any USB event makes the transport ask the adapter again whether it is
// connected. When the simulator answers that question only after the reply
// timeout (here it is frozen for a moment), the tool carries on over the
// connection it has: the next write reaches the device, no error is shown
// and the status stays as it was.
TEST_F(SimulatorProgramTest, LateAnswerToADeviceChangeQueryLeavesTheTransportWorking) {
    StartSimulator();
    RecordingUi ui;
    TI2CForm transport(std::make_unique<SimulatorSocketAdapter>(), &ui);
    transport.OpenAdapter();
    ASSERT_TRUE(transport.IsUsbConnected());

    simulator.Signal(SIGSTOP);
    transport.OnDeviceChange();
    simulator.Signal(SIGCONT);

    const uint8_t volume[] = {0x00, 0x00, 0x00, 0x50};
    transport.I2CWrite(0x36, 0xD9, 4, volume);
    EXPECT_TRUE(transport.IsUsbConnected());
    EXPECT_TRUE(transport.IsTransferOk());
    EXPECT_EQ(transport.ConnectionText(), "Connected to USB");
    EXPECT_EQ(ui.dialogs, 0);
    EXPECT_TRUE(ui.statuses.empty()) << ui.statuses.front().first;
    EXPECT_EQ(Ask("READ 1b d9 4"), "STATUS 0 00 00 00 50");
    const std::vector<std::string> log = TakeLog();
    EXPECT_NE(std::find(log.begin(), log.end(), "WRITE 1b d9 4 00 00 00 50 -> STATUS 0"), log.end());
}

} // namespace
