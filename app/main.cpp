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
// permission) is named in the comment line, so the user knows what to fix.
void ShowAdapterProblem(const SystemAdapter* adapter, TMainForm& main) {
    if (adapter && !adapter->Problem().empty())
        main.Strip().HelpfulCommentsLabel->setText(QString::fromStdString(adapter->Problem()));
}

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
        ShowAdapterProblem(adapter, program.MainForm());
        if (program.Transport().HasAdapter())
            QObject::connect(&devices, &DeviceChangeMonitor::DevicesChanged, &app, [&program, adapter] {
                program.Transport().OnDeviceChange();
                ShowAdapterProblem(adapter, program.MainForm());
            });
        program.MainForm().show();
        return app.exec();
    } catch (const std::exception& error) {
        boxes.ShowError(nullptr, QString::fromUtf8(error.what()));
        return 1;
    }
}
