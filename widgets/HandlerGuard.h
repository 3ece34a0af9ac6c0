#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <type_traits>
#include <utility>

class QWidget;

// Every handler a control runs goes through this guard. An error that escapes
// a handler ends that action and is reported in the standard error box; the
// program goes on with the next event. The error must be stopped here, before
// it reaches the toolkit, whose own code is not built to pass errors through.
// Panels connect their controls with ConnectGuarded instead of connect.

// Shows one escaped error: the window it happened in and the error's text.
using HandlerErrorReport = std::function<void(QWidget* window, const QString& message)>;

// Installed once by the application object; without one, the error is
// written to the program's error output.
void SetHandlerErrorReport(HandlerErrorReport report);

// The text of the error being handled; call from inside a catch block.
QString CurrentErrorText();

// Runs `handler`; an error it raises is reported for the window of `context`.
void RunGuarded(QObject* context, const std::function<void()>& handler);

// connect(sender, signal, receiver, handler) with the handler run through the
// guard. `handler` is a member function of the receiver or any callable; it
// gets the signal's arguments when it takes them, and none otherwise.
template <class Sender, class Signal, class Receiver, class Handler>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, Receiver* receiver, Handler handler) {
    return QObject::connect(sender, signal, receiver, [receiver, handler](auto&&... arguments) {
        RunGuarded(receiver, [&] {
            if constexpr (std::is_member_function_pointer_v<Handler>) {
                if constexpr (std::is_invocable_v<Handler, Receiver*, decltype(arguments)...>)
                    std::invoke(handler, receiver, std::forward<decltype(arguments)>(arguments)...);
                else
                    std::invoke(handler, receiver);
            } else if constexpr (std::is_invocable_v<Handler, decltype(arguments)...>) {
                std::invoke(handler, std::forward<decltype(arguments)>(arguments)...);
            } else {
                std::invoke(handler);
            }
        });
    });
}
