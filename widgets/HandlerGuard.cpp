#include "HandlerGuard.h"

#include <QWidget>

#include <cstdio>
#include <exception>

namespace {

HandlerErrorReport& Report() {
    static HandlerErrorReport report;
    return report;
}

QWidget* WindowOf(QObject* context) {
    for (QObject* object = context; object; object = object->parent())
        if (auto* widget = qobject_cast<QWidget*>(object))
            return widget->window();
    return nullptr;
}

} // namespace

void SetHandlerErrorReport(HandlerErrorReport report) {
    Report() = std::move(report);
}

QString CurrentErrorText() {
    try {
        throw;
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return "An unknown error occurred.";
    }
}

void RunGuarded(QObject* context, const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        const QString message = CurrentErrorText();
        // Reporting shows a box and must not throw past the guard either.
        try {
            if (Report())
                Report()(WindowOf(context), message);
            else
                std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        } catch (...) {
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        }
    }
}
