#pragma once

#include <QApplication>

class IMessageBoxes;

// The application object. An error that escapes the handling of an event is
// shown in the standard error box and the program goes on with the next
// event. This is the last line: the toolkit's own code is not built to pass
// errors through, so every handler runs through the guard of HandlerGuard.h,
// which reports here.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv, IMessageBoxes& boxes);
    ~TApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    IMessageBoxes& boxes_;
};
