#pragma once

#include "Datalog.h"
#include "IPMBusTransport.h"
#include "RegisterBus.h"
#include "TransportUi.h"

#include <memory>
#include <stdexcept>
#include <string>

// Raised when the user answers Yes to the "HRCHECK: " question: it ends the
// operation in progress and is reported like any other error.
class HrCheckError : public std::runtime_error {
public:
    HrCheckError(const std::string& message, AdapterResult code) : std::runtime_error(message), code_(code) {}
    AdapterResult Code() const { return code_; }

private:
    AdapterResult code_;
};

// The one way to the device. It owns the adapter, halves the 8-bit device
// address for it and keeps three program-wide flags:
//   UsbConnected  - the adapter answered the last connect query as ready;
//   TransferOk    - the last transfer succeeded (or the link was reset); while
//                   false, every transfer is skipped;
//   ErrorReported - the communication error dialog has been shown since
//                   start-up or the last Reconnect.
class TI2CForm : public IRegisterBus {
public:
    // `adapter` is what the creation step made; null when it failed.
    TI2CForm(std::unique_ptr<IPMBusTransport> adapter, ITransportUi* ui);

    void I2CWrite(uint8_t deviceAddress, uint8_t subAddress, int count, const uint8_t* bytes) override;
    void I2CRead(uint8_t deviceAddress, uint8_t subAddress, int count, uint8_t* buffer) override;
    bool IsTransferOk() const override { return TransferOk; }
    bool IsUsbConnected() const { return UsbConnected; }
    bool IsErrorReported() const { return ErrorReported; }
    bool HasAdapter() const { return adapter_ != nullptr; }

    void OpenAdapter();
    void Reconnect();
    void SetDataLog(TDataLog* log) { dataLog_ = log; }

    // Run when the system reports that USB devices came or went.
    void OnDeviceChange();

    // The last connection result ("Connected to USB", ...), kept for the
    // adapter's own status line.
    const std::string& ConnectionText() const { return connectionText_; }

private:
    void ConnectAdapter();
    void SetConnectionText(const std::string& text);
    void PulseReset();
    void Fail(const std::string& text);
    bool Usable(const char* skippedWrite, uint8_t subAddress);

    std::unique_ptr<IPMBusTransport> adapter_;
    ITransportUi* ui_;
    TDataLog* dataLog_ = nullptr;
    bool UsbConnected = false;
    bool TransferOk = false;
    bool ErrorReported = false;
    std::string connectionText_ = "USB Status";
};
