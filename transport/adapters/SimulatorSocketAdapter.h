#pragma once

#include "IPMBusTransport.h"
#include "LineConnection.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// The simulator program as an adapter: each call is one request line on the
// simulator's Unix socket and one reply line. The socket is looked up on
// every connect (SimulatorSocketPath), and the connection is kept open
// between calls.
//
// A missing or refused socket is "no adapter" (status 7). An ERROR reply, a
// malformed reply, a reply nobody asked for, a closed socket, or a connect,
// request or reply that takes longer than ReplyTimeout is a failure of the
// adapter itself (a negative result); after all but an ERROR
// reply the connection is dropped, since a late reply would answer the wrong
// request, and until the next connect the calls report no adapter.
//
// A connect asks over a connection of its own and takes it into use only
// once the simulator has answered 0 or 7 on it (and drops the one in use when
// the socket has gone). Any other outcome leaves the adapter as it was: the
// question is asked again whenever USB devices come or go, and a simulator
// that is busy or answers late must not cost the tool a connection that
// works.
class SimulatorSocketAdapter : public IPMBusTransport {
public:
    static constexpr std::chrono::milliseconds ReplyTimeout{1000};

    AdapterResult ConnectUSB(int32_t& status) override;
    AdapterResult ResetPulse(std::string& text) override;
    AdapterResult WriteI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                                std::span<const uint8_t> bytes, int32_t& status) override;
    AdapterResult ReadI2CBlock(uint8_t address7, uint8_t subAddress, int32_t count,
                               std::vector<uint8_t>& bytes, int32_t& status) override;

private:
    // Sends the request over `connection` and leaves the reply in reply_,
    // split into fields_.
    AdapterResult Ask(LineConnection& connection, const std::string& request);
    // The status of a "STATUS <s> ..." reply with `fieldCount` fields.
    AdapterResult ReplyStatus(LineConnection& connection, size_t fieldCount, int32_t& status);

    LineConnection connection_;
    std::string reply_;
    std::vector<std::string_view> fields_;
};
