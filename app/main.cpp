// DAP and PWM Configuration Tool: configures a QMX4600 audio processor over
// I2C through a USB-to-I2C adapter (or the simulated device).

#include "Application.h"
#include "DeviceChangeMonitor.h"
#include "DocumentViewer.h"
#include "FileDialogs.h"
#include "I2cunit.h"
#include "Look.h"
#include "Mainunit.h"
#include "MessageBoxes.h"
#include "Program.h"
#include "SystemAdapter.h"

#include <QLabel>

#include <exception>

namespace {

// A bridge that is there but cannot be opened (most often for want of
// permission) is named in the comment line while the problem lasts, so the
// user knows what to fix; it never hides another message.
class AdapterProblemNotice {
public:
    AdapterProblemNotice(const SystemAdapter* adapter, QLabel* comment)
        : adapter_(adapter), comment_(comment) {}

    void Update() {
        const QString problem = adapter_ ? QString::fromStdString(adapter_->Problem()) : QString();
        const bool showing = !shown_.isEmpty() && comment_->text() == shown_;
        if (!problem.isEmpty() && (showing || comment_->text() == "Initialized OK")) {
            if (!showing)
                before_ = comment_->text();
            comment_->setText(problem);
            shown_ = problem;
        } else if (problem.isEmpty() && showing) {
            comment_->setText(before_);
            shown_.clear();
        }
    }

private:
    const SystemAdapter* adapter_;
    QLabel* comment_;
    QString shown_;
    QString before_;
};

} // namespace

int main(int argc, char** argv) {
    QtMessageBoxes boxes;
    TApplication app(argc, argv, boxes);
    FixNumberFormatting();
    QApplication::setApplicationName("DAP and PWM Configuration Tool");
    ApplySkin(app);
    try {
        QtFileDialogs fileDialogs;
        DesktopDocumentViewer documents;
        SystemAdapter* adapter = nullptr;
        auto createAdapter = [&adapter]() {
            std::unique_ptr<IPMBusTransport> created = CreateSystemAdapter();
            adapter = dynamic_cast<SystemAdapter*>(created.get());
            return created;
        };
        // Watching starts before the start-up sequence, so an adapter that
        // comes or goes meanwhile is noticed once the event loop runs.
        DeviceChangeMonitor devices;
        TProgram program({createAdapter, fileDialogs, boxes, documents});
        AdapterProblemNotice problemNotice(adapter, program.MainForm().Strip().HelpfulCommentsLabel);
        problemNotice.Update();
        if (program.Transport().HasAdapter())
            QObject::connect(&devices, &DeviceChangeMonitor::DevicesChanged, &app,
                             [&program, &problemNotice] {
                                 program.Transport().OnDeviceChange();
                                 problemNotice.Update();
                             });
        program.MainForm().show();
        return app.exec();
    } catch (...) {
        ShowCurrentError(boxes, nullptr);
        return 1;
    }
}
