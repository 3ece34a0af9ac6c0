#pragma once

#include "TransportUi.h"

class IMessageBoxes;
class QLabel;
class QWidget;

// Where the transport's reports appear: the status area of the main window,
// the communication error dialog and the "HRCHECK: " question. The windows
// are attached once they exist; until then reports go nowhere.
class TransportWindows : public ITransportUi {
public:
    explicit TransportWindows(IMessageBoxes& boxes) : boxes_(boxes) {}

    void Attach(QLabel* statusLabel, QWidget* errorDialog) {
        statusLabel_ = statusLabel;
        errorDialog_ = errorDialog;
    }

    void SetBusStatus(const std::string& text, Rgb colour) override;
    void ShowCommunicationError() override;
    HrCheckAnswer AskHrCheck(const std::string& message) override;
    // The adapter's status line has no window of its own here: it goes to
    // standard error, where it helps tell what the adapter is doing.
    void ShowConnectionText(const std::string& text) override;

private:
    IMessageBoxes& boxes_;
    QLabel* statusLabel_ = nullptr;
    QWidget* errorDialog_ = nullptr;
};
