#include "TransportWindows.h"

#include "Look.h"
#include "MessageBoxes.h"

#include <QLabel>

#include <iostream>

void TransportWindows::SetBusStatus(const std::string& text, Rgb colour) {
    if (!statusLabel_)
        return;
    statusLabel_->setText(QString::fromStdString(text));
    SetTextColour(statusLabel_, colour);
}

void TransportWindows::ShowCommunicationError() {
    if (!errorDialog_)
        return;
    errorDialog_->show();
    errorDialog_->raise();
}

HrCheckAnswer TransportWindows::AskHrCheck(const std::string& message) {
    return boxes_.AskHrCheck(statusLabel_ ? statusLabel_->window() : nullptr,
                             QString::fromStdString(message));
}

void TransportWindows::ShowConnectionText(const std::string& text) {
    std::cerr << "USB Check: " << text << std::endl;
}
