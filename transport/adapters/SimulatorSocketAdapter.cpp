#include "SimulatorSocketAdapter.h"

#include "SimulatorSocketPath.h"
#include "VirtualAdapterProtocol.h"

#include <cerrno>
#include <limits>
#include <utility>

AdapterResult SimulatorSocketAdapter::Ask(LineConnection& connection, const std::string& request) {
    fields_.clear();
    const int result = connection.Exchange(request, reply_, ReplyTimeout);
    if (result < 0) {
        connection.Close();
        return result;
    }
    fields_ = VirtualAdapter::SplitFields(reply_);
    if (fields_[0] == "ERROR")
        return -EPROTO;
    return 0;
}

AdapterResult SimulatorSocketAdapter::ReplyStatus(LineConnection& connection, size_t fieldCount,
                                                  int32_t& status) {
    const std::optional<int> value =
        fields_.size() == fieldCount && fields_[0] == "STATUS"
            ? VirtualAdapter::ParseDecimal(fields_[1], std::numeric_limits<int32_t>::max())
            : std::nullopt;
    if (!value) {
        connection.Close();
        return -EPROTO;
    }
    status = *value;
    return 0;
}

AdapterResult SimulatorSocketAdapter::ConnectUSB(int32_t& status) {
    LineConnection query;
    const int connected = query.Connect(SimulatorSocketPath(), ReplyTimeout);
    if (connected == -ENOENT || connected == -ECONNREFUSED) {
        connection_.Close();
        status = AdapterStatus::NoAdapter;
        return 0;
    }
    if (connected < 0)
        return connected;
    AdapterResult result = Ask(query, "CONNECT");
    int32_t answered = 0;
    if (result >= 0)
        result = ReplyStatus(query, 2, answered);
    if (result < 0)
        return result;
    if (answered == AdapterStatus::Done || answered == AdapterStatus::NoAdapter)
        connection_ = std::move(query);
    status = answered;
    return 0;
}

AdapterResult SimulatorSocketAdapter::ResetPulse(std::string& text) {
    if (!connection_.IsOpen()) {
        text = "no adapter: reset not sent";
        return 0;
    }
    const AdapterResult asked = Ask(connection_, "RESET");
    if (asked < 0)
        return asked;
    if (fields_[0] != "OK") {
        connection_.Close();
        return -EPROTO;
    }
    text = reply_.size() > 3 ? reply_.substr(3) : std::string();
    return 0;
}

AdapterResult SimulatorSocketAdapter::WriteI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                                    std::span<const uint8_t> bytes, int32_t& status) {
    if (count < 0 || static_cast<size_t>(count) > bytes.size())
        return -EINVAL;
    if (count > VirtualAdapter::MaxTransferBytes)
        return -EMSGSIZE;
    if (!connection_.IsOpen()) {
        status = AdapterStatus::NoAdapter;
        return 0;
    }
    const AdapterResult asked =
        Ask(connection_, VirtualAdapter::WriteRequest(address7, subAddress, bytes.first(count)));
    return asked < 0 ? asked : ReplyStatus(connection_, 2, status);
}

AdapterResult SimulatorSocketAdapter::ReadI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                                   std::vector<uint8_t>& bytes, int32_t& status) {
    if (count < 0)
        return -EINVAL;
    if (count > VirtualAdapter::MaxTransferBytes)
        return -EMSGSIZE;
    if (!connection_.IsOpen()) {
        status = AdapterStatus::NoAdapter;
        return 0;
    }
    AdapterResult result = Ask(connection_, VirtualAdapter::ReadRequest(address7, subAddress, count));
    int32_t replied = 0;
    if (result >= 0)
        result = ReplyStatus(connection_, static_cast<size_t>(count) + 2, replied);
    if (result < 0)
        return result;
    std::vector<uint8_t> data(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::optional<uint8_t> byte = VirtualAdapter::ParseHexByte(fields_[static_cast<size_t>(i) + 2]);
        if (!byte) {
            connection_.Close();
            return -EPROTO;
        }
        data[static_cast<size_t>(i)] = *byte;
    }
    bytes = std::move(data);
    status = replied;
    return 0;
}
