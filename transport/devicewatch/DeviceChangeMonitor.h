#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Tells the program that adapters may have come or gone: USB, hidraw and
// i2c-dev devices reported by udev, and the simulator's socket appearing or
// disappearing. A burst of such events (one plug-in brings several) gives one
// DevicesChanged, emitted once the burst has been quiet for BurstQuiet.
//
// Where udev cannot be reached (a container without it) only the socket is
// watched; HasUdev() tells which.
class DeviceChangeMonitor : public QObject {
    Q_OBJECT

public:
    static constexpr int BurstQuietMs = 200;

    explicit DeviceChangeMonitor(QObject* parent = nullptr);
    ~DeviceChangeMonitor() override;

    bool HasUdev() const { return monitor_ != nullptr; }

signals:
    void DevicesChanged();

private:
    void StartUdev();
    void TakeUdevEvents();
    void CheckSocket();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* udevNotifier_ = nullptr;
    QFileSystemWatcher folderWatcher_;
    QString socketPath_;
    bool socketPresent_ = false;
    QTimer burst_;
};
