#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>
#include <sys/types.h>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Tells the program that adapters may have come or gone: USB, hidraw and
// i2c-dev devices reported by udev, and the simulator's socket appearing,
// disappearing or being replaced by a new one. A burst of such events (one plug-in brings several) gives one
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
    // The file at a path: which one it is, not what it holds.
    struct FileIdentity {
        dev_t device;
        ino_t inode;
        time_t changedSeconds;
        long changedNanoseconds;
        bool operator==(const FileIdentity&) const = default;
    };
    static std::optional<FileIdentity> IdentityAt(const QString& path);

    void StartUdev();
    void TakeUdevEvents();
    void CheckSocket();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* udevNotifier_ = nullptr;
    QFileSystemWatcher folderWatcher_;
    QString socketPath_;
    std::optional<FileIdentity> socket_;
    QTimer burst_;
};
