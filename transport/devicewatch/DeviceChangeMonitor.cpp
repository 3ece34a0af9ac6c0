#include "DeviceChangeMonitor.h"

#include "SimulatorSocketPath.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QtDebug>

#include <libudev.h>
#include <sys/stat.h>

DeviceChangeMonitor::DeviceChangeMonitor(QObject* parent)
    : QObject(parent), socketPath_(QString::fromStdString(SimulatorSocketPath())) {
    burst_.setSingleShot(true);
    burst_.setInterval(BurstQuietMs);
    connect(&burst_, &QTimer::timeout, this, &DeviceChangeMonitor::DevicesChanged);

    StartUdev();

    socket_ = IdentityAt(socketPath_);
    const QString folder = QFileInfo(socketPath_).absolutePath();
    if (!folderWatcher_.addPath(folder))
        qWarning() << "Cannot watch" << folder << "for the simulator socket";
    connect(&folderWatcher_, &QFileSystemWatcher::directoryChanged, this, &DeviceChangeMonitor::CheckSocket);
}

DeviceChangeMonitor::~DeviceChangeMonitor() {
    // The notifier watches the monitor's descriptor, which the unref closes.
    delete udevNotifier_;
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

// A simulator that replaces a stale socket leaves a file at the path all
// along, but a new one: the identity tells the two apart. The file system may
// give the new socket the inode the old one just freed; its change time still
// differs.
std::optional<DeviceChangeMonitor::FileIdentity> DeviceChangeMonitor::IdentityAt(const QString& path) {
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino, status.st_ctim.tv_sec, status.st_ctim.tv_nsec};
}

// The socket's folder changes for many reasons (it is often /tmp); only the
// socket itself coming, going or being replaced counts.
void DeviceChangeMonitor::CheckSocket() {
    const std::optional<FileIdentity> now = IdentityAt(socketPath_);
    if (now == socket_)
        return;
    socket_ = now;
    burst_.start();
}
