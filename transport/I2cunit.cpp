#include "I2cunit.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

namespace {

// The question shown when an adapter call fails as a component: which call,
// the system's words for the code, and where it was made.
std::string HrCheckMessage(const char* call, AdapterResult code, const char* file, int line) {
    char text[512];
    const long long error = -static_cast<long long>(code);
    if (error <= INT_MAX && strerrorname_np(static_cast<int>(error)) != nullptr)
        std::snprintf(text, sizeof text, "'%s': %s @ %s/%d", call, std::strerror(static_cast<int>(error)),
                      file, line);
    else
        std::snprintf(text, sizeof text, "(%s) Error: %lX (%ld) @ %s/%d", call,
                      static_cast<unsigned long>(static_cast<uint32_t>(code)), static_cast<long>(code), file,
                      line);
    return std::string(text) + "\nPress [Y]es to terminate, [N]o to continue and [C]ancel to Debug";
}

} // namespace

TI2CForm::TI2CForm(std::unique_ptr<IPMBusTransport> adapter, ITransportUi* ui)
    : adapter_(std::move(adapter)), ui_(ui) {
    if (adapter_) {
        TransferOk = true;
        ErrorReported = false;
    }
}

void TI2CForm::ConnectAdapter() {
    int32_t status = AdapterStatus::AlsoDone;
    if (!adapter_ || adapter_->ConnectUSB(status) < 0) {
        SetConnectionText("Unable to Connect to RTV COM Component");
        return;
    }
    if (status == AdapterStatus::Done) {
        UsbConnected = true;
        TransferOk = true;
        SetConnectionText("Connected to USB");
    } else if (status == AdapterStatus::NoAdapter) {
        UsbConnected = false;
        TransferOk = false;
        SetConnectionText("Unable to Connect to USB");
    }
}

void TI2CForm::SetConnectionText(const std::string& text) {
    connectionText_ = text;
    if (ui_)
        ui_->ShowConnectionText(text);
}

void TI2CForm::PulseReset() {
    if (!adapter_)
        return;
    std::string text;
    const AdapterResult result = adapter_->ResetPulse(text);
    if (result >= 0 || !ui_)
        return;
    const std::string message = HrCheckMessage("ResetPulse", result, __FILE__, __LINE__);
    switch (ui_->AskHrCheck(message)) {
    case HrCheckAnswer::Yes:
        throw HrCheckError(message, result);
    case HrCheckAnswer::Cancel:
        // There is no debugger to hand over to: leave the details where a
        // developer looks, then go on as for No.
        std::cerr << "HRCHECK: " << message << '\n';
        break;
    case HrCheckAnswer::No:
        break;
    }
}

void TI2CForm::OpenAdapter() {
    ConnectAdapter();
    PulseReset();
}

void TI2CForm::Reconnect() {
    UsbConnected = false;
    ConnectAdapter();
    TransferOk = true;
    ErrorReported = false;
    PulseReset();
}

void TI2CForm::Fail(const std::string& text) {
    if (!ErrorReported && ui_)
        ui_->ShowCommunicationError();
    ErrorReported = true;
    TransferOk = false;
    if (ui_)
        ui_->SetBusStatus(text, Colours::Red);
}

// Whether a transfer may go to the adapter. A write skipped after a failure
// is logged; a read is skipped silently.
bool TI2CForm::Usable(const char* skippedWrite, uint8_t subAddress) {
    if (!UsbConnected) {
        Fail("USB error");
        return false;
    }
    if (!TransferOk) {
        if (skippedWrite && dataLog_) {
            dataLog_->LogValue(skippedWrite, subAddress);
            dataLog_->LogChar(' ');
        }
        return false;
    }
    return true;
}

void TI2CForm::I2CWrite(uint8_t deviceAddress, uint8_t subAddress, int count, const uint8_t* bytes) {
    if (!Usable("I2C Error for SubAddress", subAddress))
        return;
    int32_t status = AdapterStatus::AlsoDone;
    const AdapterResult result = adapter_->WriteI2CBlock(
        deviceAddress / 2, subAddress, count, std::span<const uint8_t>(bytes, std::max(count, 0)), status);
    if (result >= 0 && IsTransferStatusOk(status))
        TransferOk = true;
    else
        Fail("I2C Error");
}

void TI2CForm::I2CRead(uint8_t deviceAddress, uint8_t subAddress, int count, uint8_t* buffer) {
    if (!Usable(nullptr, subAddress))
        return;
    if (count <= 0) {
        TransferOk = true;
        return;
    }
    std::vector<uint8_t> array(static_cast<size_t>(count), 0);
    int32_t status = AdapterStatus::AlsoDone;
    const AdapterResult result = adapter_->ReadI2CBlock(deviceAddress / 2, subAddress, count, array, status);
    if (result >= 0)
        std::copy_n(array.begin(), std::min(array.size(), static_cast<size_t>(count)), buffer);
    if (result >= 0 && IsTransferStatusOk(status))
        TransferOk = true;
    else
        Fail("I2C Error");
}

void TI2CForm::OnDeviceChange() {
    if (!adapter_)
        return;
    int32_t status = AdapterStatus::AlsoDone;
    if (adapter_->ConnectUSB(status) < 0)
        return;
    if (status == AdapterStatus::Done) {
        UsbConnected = true;
        TransferOk = true;
        SetConnectionText("Connected to USB");
        if (ui_)
            ui_->SetBusStatus("OK", Colours::Green);
    } else if (status == AdapterStatus::NoAdapter) {
        UsbConnected = false;
        TransferOk = false;
        SetConnectionText("Unable to Connect to USB");
    }
}
