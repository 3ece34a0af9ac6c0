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

#include <exception>

int main(int argc, char** argv) {
    QtMessageBoxes boxes;
    TApplication app(argc, argv, boxes);
    FixNumberFormatting();
    QApplication::setApplicationName("DAP and PWM Configuration Tool");
    ApplySkin(app);
    try {
        QtFileDialogs fileDialogs;
        DesktopDocumentViewer documents;
        TProgram program({CreateSystemAdapter, fileDialogs, boxes, documents});
        DeviceChangeMonitor devices;
        if (program.Transport().HasAdapter())
            QObject::connect(&devices, &DeviceChangeMonitor::DevicesChanged, &app,
                             [&program] { program.Transport().OnDeviceChange(); });
        program.MainForm().show();
        return app.exec();
    } catch (const std::exception& error) {
        boxes.ShowError(nullptr, QString::fromUtf8(error.what()));
        return 1;
    }
}
