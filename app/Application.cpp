#include "Application.h"

#include "MessageBoxes.h"

#include <exception>

TApplication::TApplication(int& argc, char** argv, IMessageBoxes& boxes)
    : QApplication(argc, argv), boxes_(boxes) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentError(boxes_, activeWindow());
    }
    return false;
}
