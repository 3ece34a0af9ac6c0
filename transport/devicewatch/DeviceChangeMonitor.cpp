#include "DeviceChangeMonitor.h"

#include "SimulatorSocketPath.h"

#include <QFileInfo>
#include <QSocketNotifier>
#include <QtDebug>

#include <libudev.h>

DeviceChangeMonitor::DeviceChangeMonitor(QObject* parent)
    : QObject(parent), socketPath_(QString::fromStdString(SimulatorSocketPath())) {
    burst_.setSingleShot(true);
    burst_.setInterval(BurstQuietMs);
    connect(&burst_, &QTimer::timeout, this, &DeviceChangeMonitor::DevicesChanged);

    StartUdev();

    socketPresent_ = QFileInfo::exists(socketPath_);
    const QString folder = QFileInfo(socketPath_).absolutePath();
    if (!folderWatcher_.addPath(folder))
        qWarning() << "Cannot watch" << folder << "for the simulator socket";
    connect(&folderWatcher_, &QFileSystemWatcher::directoryChanged, this, &DeviceChangeMonitor::CheckSocket);
}

DeviceChangeMonitor::~DeviceChangeMonitor() {
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
}

void DeviceChangeMonitor::StartUdev() {
    udev_ = udev_new();
    udev_monitor* monitor = udev_ ? udev_monitor_new_from_netlink(udev_, "udev") : nullptr;
    bool ready = monitor != nullptr;
    for (const char* subsystem : {"usb", "hidraw", "i2c-dev"})
        ready = ready && udev_monitor_filter_add_match_subsystem_devtype(monitor, subsystem, nullptr) >= 0;
    ready = ready && udev_monitor_enable_receiving(monitor) >= 0;
    const int descriptor = ready ? udev_monitor_get_fd(monitor) : -1;
    if (descriptor < 0) {
        if (monitor)
            udev_monitor_unref(monitor);
        qWarning() << "udev device monitor unavailable: only the simulator socket is watched";
        return;
    }
    monitor_ = monitor;
    udevNotifier_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(udevNotifier_, &QSocketNotifier::activated, this, &DeviceChangeMonitor::TakeUdevEvents);
}

void DeviceChangeMonitor::TakeUdevEvents() {
    bool any = false;
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        udev_device_unref(device);
        any = true;
    }
    if (any)
        burst_.start();
}

// The socket's folder changes for many reasons (it is often /tmp); only the
// socket itself coming or going counts.
void DeviceChangeMonitor::CheckSocket() {
    const bool present = QFileInfo::exists(socketPath_);
    if (present == socketPresent_)
        return;
    socketPresent_ = present;
    burst_.start();
}
