#include "Application.h"

#include "HandlerGuard.h"
#include "MessageBoxes.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv, IMessageBoxes& boxes)
    : QApplication(argc, argv), boxes_(boxes) {
    // Handlers of every window and panel report through the same boxes.
    SetHandlerErrorReport([this](QWidget* window, const QString& message) {
        boxes_.ShowError(window ? window : activeWindow(), message);
    });
}

TApplication::~TApplication() {
    SetHandlerErrorReport({});
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentError(boxes_, activeWindow());
    }
    return false;
}
