#include "CliCommands.h"

#include "BridgeAdapter.h"
#include "CliBridges.h"
#include "CliDevice.h"
#include "DataFiles.h"
#include "LinuxKernelI2c.h"
#include "RegisterCompare.h"
#include "SimulatorSocketAdapter.h"
#include "SimulatorSocketPath.h"
#include "TextFile.h"
#include "Volumeunit.h"

#include <QJsonArray>

#include <filesystem>
#include <functional>
#include <map>

#ifndef QMX_INSTALLED_DATA_DIR
#define QMX_INSTALLED_DATA_DIR "share/qmx4600"
#endif

namespace {

constexpr const char* MapFileName = "QMX4600.addr";

[[noreturn]] void Usage(const std::string& reason) {
    throw TCliFailure(TCliFailure::UsageStatus, reason);
}

struct CommandSpec {
    const char* name;
    const char* synopsis;
    const char* description;
    size_t minOperands, maxOperands;
    bool mute, range, map;
    std::function<TCliReport(const TCliArguments&)> run;
};

const std::vector<CommandSpec>& Commands();

const CommandSpec* FindCommand(const std::string& name) {
    for (const CommandSpec& spec : Commands())
        if (name == spec.name)
            return &spec;
    return nullptr;
}

// The register map: --map when given, else QMX4600.addr in the current
// folder (its name in any case), else the one installed with the program:
// share/qmx4600 beside the bin folder this program runs from, wherever the
// installation was put.
std::string MapPath(const TCliArguments& arguments) {
    if (arguments.map)
        return *arguments.map;
    if (std::optional<std::string> found = FindFileNoCase(".", MapFileName))
        return *found;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path installed =
            program.parent_path().parent_path() / QMX_INSTALLED_DATA_DIR / MapFileName;
        if (std::filesystem::is_regular_file(installed, error))
            return installed.string();
    }
    return MapFileName;
}

// A sub-address the map defines; anything else is refused before the device
// is reached.
int DefinedSub(TCliDevice& device, const std::string& text) {
    const std::optional<int> sub = ParseHexByte(text);
    if (!sub)
        Usage("'" + text + "' is not a sub-address (one hex byte, such as d9 or 0xd9)");
    if (device.Table().GetSize(*sub) <= 0)
        Usage("unknown sub-address " + SubText(*sub) + ": the register map does not define it");
    return *sub;
}

std::string NameOf(TCliDevice& device, int sub) {
    std::string name = device.Table().GetName(sub);
    if (!name.empty() && name.front() == '!')
        name.erase(0, 1);
    return name;
}

QJsonObject RegisterJson(TCliDevice& device, int sub, const std::vector<uint8_t>& bytes) {
    return QJsonObject{{"sub", QString::fromStdString(SubText(sub))},
                       {"name", QString::fromStdString(NameOf(device, sub))},
                       {"bytes", QString::fromStdString(BytesText(bytes))}};
}

void ThrowOnTransferFailure(TCliDevice& device, const std::string& what) {
    if (std::optional<std::string> failure = device.FirstFailure())
        throw TCliFailure(TCliFailure::DeviceStatus, what + ": " + *failure);
}

// The records of a configuration file as the table reads them; a file that
// cannot be read, has problems or holds no register is refused.
RegisterImage CheckedFileImage(TCliDevice& device, const std::string& fileName) {
    RegisterImage image = FileImage(device.Table(), fileName, fileName);
    if (!image.problems.empty())
        Usage(fileName + ": " + ProblemSummary(image.problems));
    if (image.registers.empty())
        Usage(fileName + ": no register records");
    return image;
}

RegisterImage CheckedDeviceImage(TCliDevice& device, const std::vector<int>& subs) {
    RegisterImage image = subs.empty() ? DeviceImage(device.Table()) : DeviceImage(device.Table(), subs);
    image.title = "device";
    ThrowOnTransferFailure(device, "reading the device stopped");
    if (!image.problems.empty())
        throw TCliFailure(TCliFailure::DeviceStatus, image.problems.front());
    return image;
}

TCliDevice& OpenDevice(std::unique_ptr<TCliDevice>& holder, const TCliArguments& arguments) {
    holder = std::make_unique<TCliDevice>();
    holder->ReadMap(MapPath(arguments));
    return *holder;
}

TCliReport Adapters(const TCliArguments& arguments) {
    TCliReport report;
    BridgeAdapter bridge(std::make_unique<LinuxKernelI2c>());
    int32_t bridgeStatus = AdapterStatus::AlsoDone;
    const AdapterResult bridgeResult = bridge.ConnectUSB(bridgeStatus);
    std::string bridgeText;
    bool bridgeReady = false;
    if (bridgeResult >= 0 && bridgeStatus == AdapterStatus::Done) {
        bridgeText = "ready";
        bridgeReady = true;
    } else if (bridgeResult >= 0 && bridgeStatus == AdapterStatus::NoAdapter) {
        bridgeText = "none plugged in";
    } else {
        bridgeText = "cannot be used: " + (bridge.Problem().empty() ? "no answer" : bridge.Problem());
    }

    SimulatorSocketAdapter simulator;
    int32_t simulatorStatus = AdapterStatus::AlsoDone;
    const AdapterResult simulatorResult = simulator.ConnectUSB(simulatorStatus);
    const std::string socket = SimulatorSocketPath();
    std::string simulatorText;
    bool simulatorReady = false;
    if (simulatorResult >= 0 && simulatorStatus == AdapterStatus::Done) {
        simulatorText = "ready at " + socket;
        simulatorReady = true;
    } else if (simulatorResult >= 0 && simulatorStatus == AdapterStatus::NoAdapter) {
        simulatorText = "not running (looked for " + socket + ")";
    } else {
        simulatorText = "does not answer at " + socket;
    }

    const std::string used = bridgeReady ? "bridge" : simulatorReady ? "simulator" : "none";
    report.lines = {"bridge: " + bridgeText, "simulator: " + simulatorText, "in use: " + used};

    // Each bridge on its own line, with what keeps it from use: no access to
    // its device node, or registers of the map longer than it carries.
    TConfigDataUnit table;
    std::error_code error;
    const std::string map = MapPath(arguments);
    const bool haveMap = std::filesystem::is_regular_file(map, error) && table.ReadMapFile(map);
    LinuxKernelI2c kernel;
    QJsonArray bridges;
    for (const TBridgeReport& found : DescribeBridges(kernel, haveMap ? &table : nullptr)) {
        report.lines.push_back("  " + found.Line());
        QJsonArray tooLong;
        for (int sub : found.tooLong)
            tooLong.append(QString::fromStdString(SubText(sub)));
        bridges.append(QJsonObject{{"device", QString::fromStdString(found.device)},
                                   {"bus", QString::fromStdString(found.busName)},
                                   {"chip", QString::fromStdString(found.chip)},
                                   {"opens", found.opens},
                                   {"problem", QString::fromStdString(found.problem)},
                                   {"maxWrite", found.maxWrite},
                                   {"maxRead", found.maxRead},
                                   {"tooLong", tooLong}});
    }
    report.json = QJsonObject{
        {"bridge", QJsonObject{{"ready", bridgeReady}, {"text", QString::fromStdString(bridgeText)}}},
        {"simulator", QJsonObject{{"ready", simulatorReady},
                                  {"socket", QString::fromStdString(socket)},
                                  {"text", QString::fromStdString(simulatorText)}}},
        {"inUse", QString::fromStdString(used)},
        {"bridges", bridges}};
    if (used == "none") {
        report.status = TCliFailure::DeviceStatus;
        report.reason = "no adapter can be used";
    }
    return report;
}

TCliReport Read(const TCliArguments& arguments) {
    std::unique_ptr<TCliDevice> holder;
    TCliDevice& device = OpenDevice(holder, arguments);
    const int sub = DefinedSub(device, arguments.operands[0]);
    device.Connect();
    std::optional<std::vector<uint8_t>> bytes = device.Table().ReadBack(sub);
    ThrowOnTransferFailure(device, "read");
    if (!bytes)
        throw TCliFailure(TCliFailure::DeviceStatus, "read from " + device.Label(sub) + " failed");
    TCliReport report;
    report.lines = {BytesText(*bytes)};
    report.json = RegisterJson(device, sub, *bytes);
    return report;
}

TCliReport Write(const TCliArguments& arguments) {
    std::unique_ptr<TCliDevice> holder;
    TCliDevice& device = OpenDevice(holder, arguments);
    const int sub = DefinedSub(device, arguments.operands[0]);
    std::vector<uint8_t> bytes;
    for (size_t i = 1; i < arguments.operands.size(); ++i) {
        const std::optional<int> byte = ParseHexByte(arguments.operands[i]);
        if (!byte)
            Usage("'" + arguments.operands[i] + "' is not a byte (two hex digits, such as 5a)");
        bytes.push_back(static_cast<uint8_t>(*byte));
    }
    const int size = device.Table().GetSize(sub);
    if (static_cast<int>(bytes.size()) != size)
        Usage(device.Label(sub) + " holds " + std::to_string(size) + (size == 1 ? " byte, " : " bytes, ") +
              "not " + std::to_string(bytes.size()));
    device.Connect();
    device.Table().SetData(sub, bytes);
    device.Table().WriteRegister(sub);
    ThrowOnTransferFailure(device, "write");
    TCliReport report;
    report.lines = {"wrote " + device.Label(sub) + ": " + BytesText(bytes)};
    report.json = RegisterJson(device, sub, bytes);
    return report;
}

void WriteSoftMute(TCliDevice& device, uint8_t value) {
    device.Table().SetData(TVolume::SoftMuteRegister, std::span<const uint8_t>(&value, 1));
    device.Table().WriteRegister(TVolume::SoftMuteRegister);
}

TCliReport Load(const TCliArguments& arguments) {
    std::unique_ptr<TCliDevice> holder;
    TCliDevice& device = OpenDevice(holder, arguments);
    const std::string& file = arguments.operands[0];
    const size_t count = CheckedFileImage(device, file).registers.size();
    device.Connect();
    // The mute bracket of the File menu: all channels stay muted while the
    // file rewrites the processing. After a failed transfer the transport
    // sends nothing more, so the outputs stay muted then.
    if (arguments.mute)
        WriteSoftMute(device, 0xFF);
    const FileReport loaded = device.Table().LoadConfigFile(file);
    if (arguments.mute)
        WriteSoftMute(device, 0x00);
    if (!loaded.opened)
        Usage("cannot read " + file);
    ThrowOnTransferFailure(device, "load of " + file + " stopped");
    TCliReport report;
    report.lines = {"loaded " + file + ": " + std::to_string(count) + " registers" +
                    (arguments.mute ? " (muted while loading)" : "")};
    report.json = QJsonObject{{"file", QString::fromStdString(file)},
                              {"registers", static_cast<int>(count)},
                              {"writes", device.SuccessfulWrites()},
                              {"muted", arguments.mute}};
    return report;
}

TCliReport Save(const TCliArguments& arguments) {
    std::unique_ptr<TCliDevice> holder;
    TCliDevice& device = OpenDevice(holder, arguments);
    const std::string& file = arguments.operands[0];
    const bool span = arguments.from || arguments.to;
    auto bound = [](const std::optional<std::string>& text, int otherwise) {
        if (!text)
            return otherwise;
        const std::optional<int> sub = ParseHexByte(*text);
        if (!sub)
            Usage("'" + *text + "' is not a sub-address (one hex byte, such as d9 or 0xd9)");
        return *sub;
    };
    const int first = bound(arguments.from, 0x00);
    const int last = bound(arguments.to, 0xFF);
    if (first > last)
        Usage("--from " + SubText(first) + " lies after --to " + SubText(last));
    device.Connect();
    TConfigDataUnit& table = device.Table();
    table.ReadRegisters(static_cast<uint8_t>(first), static_cast<uint8_t>(last));
    // The table's read of a range ends below 0xff; a span that asks for that
    // register reads it on its own.
    if (span && last == 0xFF && table.GetSize(0xFF) > 0 && !device.FirstFailure())
        if (std::optional<std::vector<uint8_t>> bytes = table.ReadBack(0xFF))
            table.SetData(0xFF, *bytes);
    ThrowOnTransferFailure(device, "reading the device stopped; " + file + " not written");
    const SaveOutcome outcome =
        span ? table.SaveRegisterSpan(file, first, last) : table.SaveConfigFileNoPrompt(file);
    if (outcome != SaveOutcome::Saved)
        Usage("cannot write " + file);
    int count = 0;
    for (int sub = first; sub <= last; ++sub)
        if (table.GetSize(sub) > 0 && (span || !TConfigDataUnit::IsExcludedFromSave(sub)))
            ++count;
    TCliReport report;
    report.lines = {"saved " + std::to_string(count) + " registers to " + file};
    report.json = QJsonObject{{"file", QString::fromStdString(file)},
                              {"registers", count},
                              {"from", QString::fromStdString(SubText(first))},
                              {"to", QString::fromStdString(SubText(last))}};
    return report;
}

TCliReport Dump(const TCliArguments& arguments) {
    std::unique_ptr<TCliDevice> holder;
    TCliDevice& device = OpenDevice(holder, arguments);
    device.Connect();
    const RegisterImage image = CheckedDeviceImage(device, {});
    TCliReport report;
    QJsonArray registers;
    for (const auto& [sub, bytes] : image.registers) {
        report.lines.push_back(device.Label(sub) + "  " + BytesText(bytes));
        registers.append(RegisterJson(device, sub, bytes));
    }
    report.json = QJsonObject{{"registers", registers}};
    return report;
}

QJsonValue BytesJson(bool held, const std::vector<uint8_t>& bytes) {
    return held ? QJsonValue(QString::fromStdString(BytesText(bytes))) : QJsonValue();
}

// The differing rows of a comparison, as lines and as JSON.
void ReportDifferences(TCliReport& report, const RegisterComparison& comparison, const char* leftKey,
                       const std::string& leftName, const char* rightKey, const std::string& rightName) {
    QJsonArray differences;
    for (const RegisterRow& row : comparison.rows) {
        if (!row.differs)
            continue;
        report.lines.push_back(DifferenceLine(row, leftName, rightName));
        differences.append(QJsonObject{{"sub", QString::fromStdString(SubText(row.subAddress))},
                                       {"name", QString::fromStdString(row.name)},
                                       {leftKey, BytesJson(row.inLeft, row.left)},
                                       {rightKey, BytesJson(row.inRight, row.right)}});
    }
    report.json["registers"] = static_cast<int>(comparison.rows.size());
    report.json["differences"] = differences;
}

TCliReport Verify(const TCliArguments& arguments) {
    std::unique_ptr<TCliDevice> holder;
    TCliDevice& device = OpenDevice(holder, arguments);
    const std::string& file = arguments.operands[0];
    const RegisterImage expected = CheckedFileImage(device, file);
    std::vector<int> subs;
    for (const auto& [sub, bytes] : expected.registers)
        subs.push_back(sub);
    device.Connect();
    const RegisterImage found = CheckedDeviceImage(device, subs);
    const RegisterComparison comparison = CompareImages(device.Table(), expected, found);
    TCliReport report;
    report.json["file"] = QString::fromStdString(file);
    ReportDifferences(report, comparison, "file", "file", "device", "device");
    const std::string total = std::to_string(comparison.rows.size());
    if (comparison.differences > 0) {
        report.status = TCliFailure::DeviceStatus;
        report.reason = std::to_string(comparison.differences) + " of " + total +
                        (comparison.differences == 1 ? " register differs" : " registers differ") + " from " +
                        file;
    } else {
        report.lines.push_back("all " + total + " registers match " + file);
    }
    return report;
}

TCliReport Diff(const TCliArguments& arguments) {
    std::unique_ptr<TCliDevice> holder;
    TCliDevice& device = OpenDevice(holder, arguments);
    const std::string& a = arguments.operands[0];
    const std::string& b = arguments.operands[1];
    if (a == "device" && b == "device")
        Usage("diff needs at least one file");
    // Files are checked before the device is reached.
    std::optional<RegisterImage> left, right;
    if (a != "device")
        left = CheckedFileImage(device, a);
    if (b != "device")
        right = CheckedFileImage(device, b);
    if (!left || !right) {
        device.Connect();
        (left ? right : left) = CheckedDeviceImage(device, {});
    }
    const RegisterComparison comparison = CompareImages(device.Table(), *left, *right);
    TCliReport report;
    report.json["a"] = QString::fromStdString(a);
    report.json["b"] = QString::fromStdString(b);
    ReportDifferences(report, comparison, "a", "A", "b", "B");
    if (comparison.differences > 0) {
        report.status = TCliFailure::DeviceStatus;
        report.reason = std::to_string(comparison.differences) +
                        (comparison.differences == 1 ? " register differs" : " registers differ") +
                        " between " + a + " and " + b;
    } else {
        report.lines.push_back("no differences between " + a + " and " + b);
    }
    return report;
}

const std::vector<CommandSpec>& Commands() {
    static const std::vector<CommandSpec> commands = {
        {"adapters", "adapters",
         "Lists the adapters found (a USB-to-I2C bridge, the simulator) and why one that is there cannot be "
         "used.",
         0, 0, false, false, false, Adapters},
        {"read", "read SUB",
         "Reads one register and prints its bytes in hex, as many as the register map says.", 1, 1, false,
         false, true, Read},
        {"write", "write SUB BYTES...",
         "Writes one register: exactly as many hex bytes as the register map gives it, most significant "
         "first.",
         2, 65536, false, false, true, Write},
        {"load", "load FILE.cfg [--mute]",
         "Sends a configuration file as the tool's File menu does; --mute mutes all channels while it is "
         "sent. "
         "Stops at the first failed transfer and names the register.",
         1, 1, true, false, true, Load},
        {"save", "save FILE.cfg [--from SUB --to SUB]",
         "Reads the device and writes its registers to a configuration file in the tool's format; the file "
         "is replaced only once it is complete.",
         1, 1, false, true, true, Save},
        {"dump", "dump", "Reads every register the register map defines and prints its name and bytes.", 0, 0,
         false, false, true, Dump},
        {"verify", "verify FILE.cfg",
         "Reads back every register of the file from the device and lists the ones that differ; exit status "
         "0 only when all match.",
         1, 1, false, false, true, Verify},
        {"diff", "diff A B",
         "Compares two configuration files, or a file and the device (write 'device'), register by register.",
         2, 2, false, false, true, Diff},
    };
    return commands;
}

constexpr const char* CommonOptions =
    "Options:\n"
    "  --map FILE  the register map (default: QMX4600.addr in the current folder, then the installed one)\n"
    "  --json      machine-readable output on standard output\n"
    "  --help      this help\n"
    "Exit status: 0 success, 1 the device disagrees or a transfer failed, 2 bad usage or a bad file.\n";

} // namespace

TCliArguments ParseCliArguments(const std::vector<std::string>& arguments) {
    TCliArguments parsed;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&](std::optional<std::string>& into) {
            if (i + 1 >= arguments.size())
                Usage(argument + " needs a value");
            into = arguments[++i];
        };
        if (argument == "--json")
            parsed.json = true;
        else if (argument == "--mute")
            parsed.mute = true;
        else if (argument == "--help" || argument == "-h")
            parsed.help = true;
        else if (argument == "--map")
            value(parsed.map);
        else if (argument == "--from")
            value(parsed.from);
        else if (argument == "--to")
            value(parsed.to);
        else if (argument.size() > 1 && argument[0] == '-')
            Usage("unknown option " + argument);
        else if (parsed.command.empty())
            parsed.command = argument;
        else
            parsed.operands.push_back(argument);
    }
    return parsed;
}

std::optional<std::string> CliHelp(const std::string& command) {
    if (command.empty()) {
        std::string text =
            "Usage: qmx4600-cli COMMAND [ARGUMENTS] [OPTIONS]\n"
            "Reads and writes the QMX4600's registers at device address 0x36 through the adapter "
            "the configuration tool uses.\n\nCommands:\n";
        for (const CommandSpec& spec : Commands())
            text += std::string("  ") + spec.synopsis + "\n";
        return text + "\n" + CommonOptions + "'qmx4600-cli COMMAND --help' describes one command.\n";
    }
    const CommandSpec* spec = FindCommand(command);
    if (!spec)
        return std::nullopt;
    return std::string("Usage: qmx4600-cli ") + spec->synopsis + " [OPTIONS]\n" + spec->description + "\n\n" +
           CommonOptions;
}

TCliReport RunCliCommand(const TCliArguments& arguments) {
    const CommandSpec* spec = FindCommand(arguments.command);
    if (!spec)
        Usage(arguments.command.empty() ? "no command given (try --help)"
                                        : "unknown command '" + arguments.command + "' (try --help)");
    const size_t count = arguments.operands.size();
    if (count < spec->minOperands || count > spec->maxOperands)
        Usage(std::string("usage: qmx4600-cli ") + spec->synopsis);
    if (arguments.mute && !spec->mute)
        Usage(std::string("--mute does not apply to ") + spec->name);
    if ((arguments.from || arguments.to) && !spec->range)
        Usage(std::string("--from and --to do not apply to ") + spec->name);
    TCliReport report = spec->run(arguments);
    report.json["command"] = QString::fromStdString(spec->name);
    report.json["ok"] = report.status == 0;
    return report;
}
