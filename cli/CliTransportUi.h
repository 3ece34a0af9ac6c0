#pragma once

#include "TransportUi.h"

#include <string>

// What the transport shows the user, for a program without windows: nothing
// is shown while it happens. The command that ran the transfer reports the
// outcome itself in one line, so the bus status is only kept for that line.
class TCliTransportUi : public ITransportUi {
public:
    void SetBusStatus(const std::string& text, Rgb) override { busStatus_ = text; }
    void ShowCommunicationError() override {}
    // There is nobody to ask: go on, and let the failed transfer end the
    // command with its one-line reason.
    HrCheckAnswer AskHrCheck(const std::string&) override { return HrCheckAnswer::No; }

    // "I2C Error", "USB error" or "OK": what the last report said.
    const std::string& BusStatus() const { return busStatus_; }

private:
    std::string busStatus_;
};
