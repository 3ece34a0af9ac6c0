#include "SimulatorCommands.h"

#include "VirtualAdapterProtocol.h"

using namespace VirtualAdapter;

namespace {

std::string Error(const std::string& text) {
    return "ERROR " + text + "\n";
}

// A piece of a request as an ERROR reply may quote it: the protocol's lines
// are printable ASCII, so every other byte (a NUL, a line end, 0xFF) and the
// backslash that introduces the escapes are written as \xNN.
std::string Quoted(std::string_view text) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string quoted;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            quoted += c;
            continue;
        }
        quoted += "\\x";
        quoted += Digits[byte >> 4];
        quoted += Digits[byte & 0x0F];
    }
    return quoted;
}

std::string StatusLine(int32_t status) {
    return "STATUS " + std::to_string(status);
}

constexpr const char* NackUsage = "SIM NACK takes a sub-address (hex), ALL or OFF";

bool IsAdapterCall(std::string_view command) {
    return command == "CONNECT" || command == "RESET" || command == "WRITE" || command == "READ";
}

} // namespace

SimulatorCommands::SimulatorCommands(SimulatedQmx4600& device) : device_(device) {}

SimulatorCommands::Answer SimulatorCommands::Handle(std::string_view request) {
    const std::vector<std::string_view> fields = SplitFields(request);
    const std::string_view command = fields[0];
    std::string reply;
    if (command == "CONNECT" && fields.size() == 1)
        reply = Connect();
    else if (command == "RESET" && fields.size() == 1)
        reply = Reset();
    else if (command == "WRITE")
        reply = Write(fields);
    else if (command == "READ")
        reply = Read(fields);
    else if (command == "SIM")
        reply = Simulator(fields);
    else if (IsAdapterCall(command))
        reply = Error(std::string(command) + " takes no arguments");
    else
        reply = Error("unknown request '" + Quoted(command.substr(0, 40)) + "'");
    // The device keeps its own record of calls; the protocol's record is the
    // one that counts here, so the device's is not left to grow.
    device_.TakeCalls();

    Answer answer{reply, std::nullopt};
    if (IsAdapterCall(command) && !reply.starts_with("ERROR")) {
        const std::string firstLine = reply.substr(0, reply.find('\n'));
        const std::vector<std::string_view> replyFields = SplitFields(firstLine);
        std::string outcome(replyFields[0]);
        if (outcome == "STATUS")
            outcome += " " + std::string(replyFields[1]);
        answer.record = std::string(request) + " -> " + outcome;
        record_.push_back(*answer.record);
        recordBytes_ += answer.record->size() + 1;
        while (recordBytes_ > MaxRecordBytes) {
            recordBytes_ -= record_.front().size() + 1;
            record_.pop_front();
        }
    }
    return answer;
}

std::string SimulatorCommands::Connect() {
    int32_t status = AdapterStatus::AlsoDone;
    device_.ConnectUSB(status);
    return StatusLine(status) + "\n";
}

std::string SimulatorCommands::Reset() {
    std::string text;
    device_.ResetPulse(text);
    return "OK " + text + "\n";
}

std::string SimulatorCommands::Write(const std::vector<std::string_view>& fields) {
    const std::optional<uint8_t> address = fields.size() >= 4 ? ParseHexByte(fields[1]) : std::nullopt;
    const std::optional<uint8_t> sub = fields.size() >= 4 ? ParseHexByte(fields[2]) : std::nullopt;
    const std::optional<int> count =
        fields.size() >= 4 ? ParseDecimal(fields[3], MaxTransferBytes) : std::nullopt;
    if (!address || !sub || !count)
        return Error("WRITE needs <addr7 hex> <sub hex> <count> <bytes hex>");
    if (fields.size() != static_cast<size_t>(*count) + 4)
        return Error("WRITE count " + std::to_string(*count) + " does not match " +
                     std::to_string(fields.size() - 4) + " bytes");
    std::vector<uint8_t> bytes;
    for (size_t i = 4; i < fields.size(); ++i) {
        const std::optional<uint8_t> byte = ParseHexByte(fields[i]);
        if (!byte)
            return Error("WRITE byte " + std::to_string(i - 3) + " is not two hex digits");
        bytes.push_back(*byte);
    }
    int32_t status = AdapterStatus::AlsoDone;
    device_.WriteI2CBlock(*address, *sub, *count, bytes, status);
    return StatusLine(status) + "\n";
}

std::string SimulatorCommands::Read(const std::vector<std::string_view>& fields) {
    const std::optional<uint8_t> address = fields.size() == 4 ? ParseHexByte(fields[1]) : std::nullopt;
    const std::optional<uint8_t> sub = fields.size() == 4 ? ParseHexByte(fields[2]) : std::nullopt;
    const std::optional<int> count =
        fields.size() == 4 ? ParseDecimal(fields[3], MaxTransferBytes) : std::nullopt;
    if (!address || !sub || !count)
        return Error("READ needs <addr7 hex> <sub hex> <count up to " + std::to_string(MaxTransferBytes) +
                     ">");
    std::vector<uint8_t> bytes(static_cast<size_t>(*count), 0);
    int32_t status = AdapterStatus::AlsoDone;
    device_.ReadI2CBlock(*address, *sub, *count, bytes, status);
    bytes.resize(static_cast<size_t>(*count), 0);
    std::string reply = StatusLine(status);
    for (uint8_t b : bytes)
        reply += " " + HexByte(b);
    return reply + "\n";
}

std::string SimulatorCommands::Simulator(const std::vector<std::string_view>& fields) {
    const std::string_view what = fields.size() > 1 ? fields[1] : std::string_view();
    const auto number = [&](int largest) {
        return fields.size() == 3 ? ParseDecimal(fields[2], largest) : std::nullopt;
    };
    if (what == "RATE") {
        const std::optional<int> hertz = number(1000000);
        return hertz && device_.SetSampleRate(*hertz) ? "OK\n"
                                                      : Error("SIM RATE takes a rate the device detects");
    }
    if (what == "MCLK") {
        const std::optional<int> ratio = number(100000);
        return ratio && device_.SetMclkRatio(*ratio) ? "OK\n"
                                                     : Error("SIM MCLK takes a ratio the device detects");
    }
    if (what == "NACK")
        return fields.size() == 3 ? Nack(fields[2]) : Error(NackUsage);
    if (what == "UNPLUG" || what == "PLUG" || what == "DUMP" || what == "LOG") {
        if (fields.size() != 2)
            return Error("SIM " + std::string(what) + " takes no arguments");
        if (what == "DUMP")
            return Dump();
        if (what == "LOG")
            return TakeLog();
        device_.SetPluggedIn(what == "PLUG");
        return "OK\n";
    }
    return Error("unknown SIM control; known: RATE, MCLK, NACK, UNPLUG, PLUG, DUMP, LOG");
}

std::string SimulatorCommands::Nack(std::string_view what) {
    if (what == "ALL") {
        device_.NackAll(true);
        return "OK\n";
    }
    if (what == "OFF") {
        device_.ClearNacks();
        return "OK\n";
    }
    const std::optional<uint8_t> sub = ParseHexByte(what);
    if (!sub)
        return Error(NackUsage);
    device_.NackSubAddress(*sub);
    return "OK\n";
}

std::string SimulatorCommands::Dump() const {
    std::string reply = "REGS";
    for (int s = 0; s < 256; ++s) {
        const std::vector<uint8_t> bytes = device_.Register(static_cast<uint8_t>(s));
        if (bytes.empty())
            continue;
        reply += " " + HexByte(static_cast<uint8_t>(s)) + ":";
        for (uint8_t b : bytes)
            reply += HexByte(b);
    }
    return reply + "\n";
}

std::string SimulatorCommands::TakeLog() {
    std::string reply = "LOG " + std::to_string(record_.size()) + "\n";
    for (const std::string& line : record_)
        reply += line + "\n";
    record_.clear();
    recordBytes_ = 0;
    return reply;
}
