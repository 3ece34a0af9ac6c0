#pragma once

#include <QApplication>

class IMessageBoxes;

// The application object. An error that escapes the handling of an event is
// shown in the standard error box and the program goes on with the next
// event. This is the last line: the toolkit's own code is not built to pass
// errors through, so the main window catches its handlers' errors itself.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv, IMessageBoxes& boxes);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    IMessageBoxes& boxes_;
};
