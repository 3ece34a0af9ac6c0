// qmx4600-cli run as a program against the real simulator program: what it
// prints, its exit status, and the transfers the simulated device saw.

#include "CliFixture.h"
#include "Configdataunit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

class CliProgramTest : public CliFixture {};

TEST_F(CliProgramTest, WriteThenReadOneRegisterInHex) {
    CliRun written = Cli({"write", "d9", "00", "00", "00", "50"});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "wrote 0xd9 r_master_vol: 00 00 00 50\n");
    // One write at the device address 0x36 (0x1b on the bus), no reset pulse.
    EXPECT_EQ(Transfers(), std::vector<std::string>{"WRITE 1b d9 4 00 00 00 50 -> STATUS 0"});
    EXPECT_EQ(DeviceRegisters()["d9"], "00000050");

    ChangeOnDevice("WRITE 1b d9 4 00 00 01 2C");
    CliRun reading = Cli({"read", "0xD9"});
    EXPECT_EQ(reading.status, 0) << reading.err;
    EXPECT_EQ(reading.out, "00 00 01 2c\n");
    EXPECT_EQ(reading.err, "");

    const QJsonObject json = Json(Cli({"read", "d9", "--json"}));
    EXPECT_EQ(json["ok"].toBool(), true);
    EXPECT_EQ(json["sub"].toString(), "0xd9");
    EXPECT_EQ(json["name"].toString(), "r_master_vol");
    EXPECT_EQ(json["bytes"].toString(), "00 00 01 2c");
}

// Every kind of bad input ends with status 2 and one line of reason, and the
// device sees no transfer at all.
TEST_F(CliProgramTest, BadInputIsRefusedBeforeAnythingIsSent) {
    folder.WriteFile("small.addr", "#15  0x0f 1  !r_soft_mute\n#217 0xd9 4  !r_master_vol\n");
    folder.WriteFile("broken.cfg", "X0f ff\nXd9 00 00\nX0f 00\n");
    folder.WriteFile("empty.cfg", "no records here\n");
    const struct {
        std::vector<std::string> arguments;
        std::string reason;
    } cases[] = {
        {{"read", "zz"}, "'zz' is not a sub-address"},
        {{"read", "1d9"}, "'1d9' is not a sub-address"},
        {{"read", "41", "--map", "small.addr"},
         "unknown sub-address 0x41: the register map does not define it"},
        {{"write", "d9", "00", "0g", "00", "00"}, "'0g' is not a byte"},
        {{"write", "d9", "00", "00"}, "0xd9 r_master_vol holds 4 bytes, not 2"},
        {{"load", "broken.cfg"}, "broken.cfg: "},
        {{"load", "empty.cfg"}, "empty.cfg: no register records"},
        {{"load", "missing.cfg"}, "missing.cfg: Cannot read"},
        {{"verify", "broken.cfg"}, "broken.cfg: "},
        {{"diff", "broken.cfg", "device"}, "broken.cfg: "},
        {{"save", "out.cfg", "--from", "e0", "--to", "10"}, "--from 0xe0 lies after --to 0x10"},
        {{"read", "d9", "--map", "missing.addr"}, "cannot read the register map missing.addr"},
        {{"dump", "--mute"}, "--mute does not apply to dump"},
        {{"read"}, "usage: qmx4600-cli read SUB"},
        {{"read", "d9", "--frob"}, "unknown option --frob"},
        {{"frob"}, "unknown command 'frob'"},
        {{}, "no command given"},
    };
    for (const auto& c : cases) {
        std::string label;
        for (const std::string& argument : c.arguments)
            label += argument + " ";
        SCOPED_TRACE(label);
        const CliRun run = Cli(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.starts_with("qmx4600-cli: ")) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_EQ(Transfers(), std::vector<std::string>{});
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.cfg")));

    const QJsonObject json = Json(Cli({"read", "zz", "--json"}));
    EXPECT_EQ(json["ok"].toBool(), false);
    EXPECT_EQ(json["status"].toInt(), 2);
    EXPECT_TRUE(json["error"].toString().startsWith("'zz' is not a sub-address"));
}

TEST_F(CliProgramTest, MapIsFoundWithoutRegardToCase) {
    std::filesystem::rename(folder.Path("QMX4600.addr"), folder.Path("qmx4600.ADDR"));
    const CliRun run = Cli({"read", "0f"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "00\n");
}

TEST_F(CliProgramTest, AdaptersNamesTheSimulatorAndWhatIsMissing) {
    CliRun run = Cli({"adapters"});
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_TRUE(lines[0].starts_with("bridge: ")) << lines[0];
    EXPECT_EQ(lines[1], "simulator: ready at " + socketPath);
    EXPECT_EQ(lines[2], "in use: simulator");

    Ask("SIM UNPLUG");
    const QJsonObject json = Json(Cli({"adapters", "--json"}));
    EXPECT_EQ(json["ok"].toBool(), false);
    EXPECT_EQ(json["inUse"].toString(), "none");
    EXPECT_EQ(json["simulator"].toObject()["socket"].toString().toStdString(), socketPath);

    // With no adapter a device command fails with status 1 and says why.
    run = Cli({"read", "d9"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "qmx4600-cli: no adapter: no USB-to-I2C bridge is plugged in and no simulator answers at " +
                  socketPath + "\n");
}

TEST_F(CliProgramTest, DumpListsEveryRegisterOfTheMapWithNameAndBytes) {
    ChangeOnDevice("WRITE 1b d9 4 00 00 00 50");
    TConfigDataUnit table;
    ASSERT_TRUE(table.ReadMapFile(folder.Path("QMX4600.addr")));
    int defined = 0;
    for (int s = 0; s <= 0xFF; ++s)
        defined += table.GetSize(s) > 0 ? 1 : 0;

    const CliRun run = Cli({"dump"});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    EXPECT_EQ(static_cast<int>(lines.size()), defined);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "0xd9 r_master_vol  00 00 00 50"), lines.end());
    EXPECT_EQ(lines.front(), "0x00 r_clock_ctrl  " + DeviceRegisters()["00"]);

    const QJsonObject json = Json(Cli({"dump", "--json"}));
    EXPECT_EQ(json["registers"].toArray().size(), defined);
}

// The check after programming a board: a register the device no longer
// holds as the file says is listed, and the status is 1.
TEST_F(CliProgramTest, VerifyCatchesARegisterChangedOnTheDevice) {
    ASSERT_EQ(Cli({"write", "d9", "00", "00", "00", "50"}).status, 0);
    CliRun run = Cli({"save", "board.cfg"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Cli({"verify", "board.cfg"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("all ")) << run.out;

    ChangeOnDevice("WRITE 1b d9 4 00 00 00 48");
    Transfers();
    run = Cli({"verify", "board.cfg"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "0xd9 r_master_vol  file: 00 00 00 50 (-2 dB)  device: 00 00 00 48 (0 dB)\n");
    EXPECT_TRUE(run.err.starts_with("qmx4600-cli: 1 of ")) << run.err;
    EXPECT_NE(run.err.find(" register differs from board.cfg"), std::string::npos) << run.err;
    // verify only reads.
    const std::vector<std::string> transfers = Transfers();
    EXPECT_FALSE(transfers.empty());
    for (const std::string& transfer : transfers)
        EXPECT_TRUE(transfer.starts_with("READ 1b ")) << transfer;

    const QJsonObject json = Json(Cli({"verify", "board.cfg", "--json"}));
    EXPECT_EQ(json["ok"].toBool(), false);
    const QJsonArray differences = json["differences"].toArray();
    ASSERT_EQ(differences.size(), 1);
    EXPECT_EQ(differences[0].toObject()["sub"].toString(), "0xd9");
    EXPECT_EQ(differences[0].toObject()["file"].toString(), "00 00 00 50");
    EXPECT_EQ(differences[0].toObject()["device"].toString(), "00 00 00 48");
}

// A register the device does not acknowledge ends the load there: nothing
// after it is sent, and the reason names it.
TEST_F(CliProgramTest, LoadStopsAtTheRegisterNotAcknowledged) {
    folder.WriteFile("three.cfg", "!r_master_vol\nXd9 00 00 00 50\n!r_ch1_vol\nXd1 00 00 00 60\n"
                                  "!r_ch2_vol\nXd2 00 00 00 70\n");
    ASSERT_EQ(Ask("SIM NACK d1"), "OK");
    CliRun run = Cli({"load", "three.cfg", "--mute"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "qmx4600-cli: load of three.cfg stopped: write to 0xd1 r_ch1_vol failed (I2C Error)\n");
    const std::vector<std::string> transfers = Transfers();
    ASSERT_EQ(transfers.size(), 3u);
    EXPECT_EQ(transfers[0], "WRITE 1b 0f 1 ff -> STATUS 0");
    EXPECT_EQ(transfers[1], "WRITE 1b d9 4 00 00 00 50 -> STATUS 0");
    EXPECT_TRUE(transfers[2].starts_with("WRITE 1b d1 4 00 00 00 60 -> STATUS ")) << transfers[2];
    EXPECT_NE(transfers[2], "WRITE 1b d1 4 00 00 00 60 -> STATUS 0");

    ASSERT_EQ(Ask("SIM NACK OFF"), "OK");
    run = Cli({"load", "three.cfg", "--mute"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "loaded three.cfg: 3 registers (muted while loading)\n");
    EXPECT_EQ(Transfers(), (std::vector<std::string>{
                               "WRITE 1b 0f 1 ff -> STATUS 0", "WRITE 1b d9 4 00 00 00 50 -> STATUS 0",
                               "WRITE 1b d1 4 00 00 00 60 -> STATUS 0",
                               "WRITE 1b d2 4 00 00 00 70 -> STATUS 0", "WRITE 1b 0f 1 00 -> STATUS 0"}));
}

// A register the device does not acknowledge ends every reading command
// with status 1 and its name, and a save then leaves no file.
TEST_F(CliProgramTest, ReadingStopsAtTheRegisterNotAcknowledged) {
    folder.WriteFile("vol.cfg",
                     "Xd9 00 00 00 50\nX41 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                     "00 00 00 00 00 00 00 00 00 00 00 00\n");
    ASSERT_EQ(Ask("SIM NACK 41"), "OK");
    const std::string reason = "read from 0x41 r_A_to_ipmix[1] failed (I2C Error)";
    const struct {
        std::vector<std::string> arguments;
        std::string err;
    } cases[] = {
        {{"read", "41"}, "read: " + reason},
        {{"dump"}, "reading the device stopped: " + reason},
        {{"save", "out.cfg"}, "reading the device stopped; out.cfg not written: " + reason},
        {{"verify", "vol.cfg"}, "reading the device stopped: " + reason},
        {{"diff", "vol.cfg", "device"}, "reading the device stopped: " + reason},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        const CliRun run = Cli(c.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "qmx4600-cli: " + c.err + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.cfg")));
}

// The whole device saved, changed, loaded back and verified: it ends as it
// began, and the file is the tool's own format.
TEST_F(CliProgramTest, SaveLoadVerifyRoundTripsTheWholeDevice) {
    ChangeOnDevice("WRITE 1b d9 4 00 00 00 50");
    const std::map<std::string, std::string> before = DeviceRegisters();
    CliRun run = Cli({"save", "whole.cfg"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("saved ")) << run.out;

    // The file is what the tool's own save writes from the same registers.
    TConfigDataUnit table;
    ASSERT_TRUE(table.ReadMapFile(folder.Path("QMX4600.addr")));
    for (const auto& [sub, hex] : before) {
        std::vector<uint8_t> bytes;
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        table.SetData(std::stoi(sub, nullptr, 16), bytes);
    }
    ASSERT_EQ(table.SaveConfigFileNoPrompt(folder.Path("expected.cfg")), SaveOutcome::Saved);
    EXPECT_EQ(ReadFile("whole.cfg"), ReadFile("expected.cfg"));

    ASSERT_EQ(Cli({"write", "d9", "00", "00", "00", "90"}).status, 0);
    ASSERT_EQ(Cli({"write", "41", "01", "02", "03", "04", "05", "06", "07", "08", "09", "0a",
                   "0b",    "0c", "0d", "0e", "0f", "10", "11", "12", "13", "14", "15", "16",
                   "17",    "18", "19", "1a", "1b", "1c", "1d", "1e", "1f", "20"})
                  .status,
              0);
    run = Cli({"verify", "whole.cfg"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Lines(run.out).size(), 2u) << run.out;

    run = Cli({"load", "whole.cfg"});
    EXPECT_EQ(run.status, 0) << run.err;
    run = Cli({"verify", "whole.cfg"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(DeviceRegisters(), before);
}

TEST_F(CliProgramTest, SaveOfASpanHoldsOnlyThatSpan) {
    const CliRun run = Cli({"save", "mutes.cfg", "--from", "0e", "--to", "0x10", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Json(run)["registers"].toInt(), 3);
    const std::map<std::string, std::string> device = DeviceRegisters();
    EXPECT_EQ(ReadFile("mutes.cfg"), "!r_serial_format\nX0e " + device.at("0e") + " \n!r_soft_mute\nX0f " +
                                         device.at("0f") + " \n!r_mod_limit\nX10 " + device.at("10") + " \n");
}

TEST_F(CliProgramTest, DiffComparesFilesAndTheDeviceByName) {
    folder.WriteFile("a.cfg", "Xd9 00 00 00 50\nXd1 00 00 00 48\n");
    folder.WriteFile("b.cfg", "Xd9 00 00 00 50\nXd1 00 00 00 60\n");
    CliRun run = Cli({"diff", "a.cfg", "b.cfg"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "0xd1 r_ch1_vol  A: 00 00 00 48 (0 dB)  B: 00 00 00 60 (-6 dB)\n");
    EXPECT_EQ(run.err, "qmx4600-cli: 1 register differs between a.cfg and b.cfg\n");

    run = Cli({"diff", "a.cfg", "a.cfg"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "no differences between a.cfg and a.cfg\n");

    // Against the device only the file's registers count.
    ChangeOnDevice("WRITE 1b d9 4 00 00 00 50");
    ChangeOnDevice("WRITE 1b d1 4 00 00 00 60");
    run = Cli({"diff", "device", "b.cfg"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    const QJsonObject json = Json(Cli({"diff", "a.cfg", "device", "--json"}));
    const QJsonArray differences = json["differences"].toArray();
    ASSERT_EQ(differences.size(), 1);
    EXPECT_EQ(differences[0].toObject()["name"].toString(), "r_ch1_vol");
    EXPECT_EQ(differences[0].toObject()["a"].toString(), "00 00 00 48");
    EXPECT_EQ(differences[0].toObject()["b"].toString(), "00 00 00 60");
}

TEST_F(CliProgramTest, EveryCommandHasItsHelp) {
    for (const std::string command :
         {"adapters", "read", "write", "load", "save", "dump", "verify", "diff"}) {
        SCOPED_TRACE(command);
        const CliRun run = Cli({command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(run.out.starts_with("Usage: qmx4600-cli " + command)) << run.out;
        EXPECT_NE(run.out.find("--json"), std::string::npos);
    }
    const CliRun run = Cli({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("verify FILE.cfg"), std::string::npos) << run.out;
    EXPECT_EQ(Transfers(), std::vector<std::string>{});
}

} // namespace
