#include "DeviceChangeMonitor.h"
#include "SimulatorProcess.h"
#include "TestFolder.h"
#include "TestSockets.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Waiting here is waiting for the signal to arrive, not a timing check.
constexpr int SignalWaitMs = 5000;
// How long a change that must not be reported is given to show up anyway:
// well past the monitor's quiet time.
constexpr int NoSignalWaitMs = 600;

class DeviceChangeMonitorTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("QMX4600_SIM_SOCKET", socketPath.c_str(), 1); }
    void TearDown() override { ::unsetenv("QMX4600_SIM_SOCKET"); }

    // Waits for the signals that `expected` says must come, then long enough
    // for one more to show up if it wrongly would.
    static void ExpectSignals(QSignalSpy& changes, int expected) {
        if (expected > 0)
            changes.wait(SignalWaitMs);
        changes.wait(NoSignalWaitMs);
        EXPECT_EQ(changes.count(), expected);
    }

    TestFolder folder;
    const std::string socketPath = folder.Path("sim.sock");
    SimulatorProcess simulator{QMX4600_SIM_EXECUTABLE, socketPath};
};

TEST_F(DeviceChangeMonitorTest, SimulatorComingAndGoingIsADeviceChange) {
    DeviceChangeMonitor monitor;
    QSignalSpy changes(&monitor, &DeviceChangeMonitor::DevicesChanged);

    ASSERT_TRUE(simulator.Start({"--quiet"}));
    ASSERT_TRUE(changes.wait(SignalWaitMs)) << "no signal for the socket appearing";

    changes.clear();
    simulator.Stop();
    ASSERT_TRUE(changes.wait(SignalWaitMs)) << "no signal for the socket going";
}

enum class Change { StartSimulator, WriteOtherFile, ReplaceSocketTwice };

struct FolderChange {
    const char* what;
    bool staleSocketBefore; // a socket file is there when the monitor starts
    Change change;
    int expectedSignals;
};

void PrintTo(const FolderChange& c, std::ostream* out) {
    *out << c.what;
}

class DeviceChangeMonitorChanges : public DeviceChangeMonitorTest,
                                   public ::testing::WithParamInterface<FolderChange> {
protected:
    void Make(Change change) {
        switch (change) {
        case Change::StartSimulator:
            ASSERT_TRUE(simulator.Start({"--quiet"}));
            break;
        case Change::WriteOtherFile:
            folder.WriteFile("notes.txt", "not a socket\n");
            break;
        case Change::ReplaceSocketTwice:
            for (int i = 0; i < 2; ++i) {
                ::unlink(socketPath.c_str());
                LeaveStaleSocket(socketPath);
            }
            break;
        }
    }
};

// Only the socket counts, and a burst of changes to it is one device change.
TEST_P(DeviceChangeMonitorChanges, SignalsOncePerChangeOfTheSocket) {
    if (GetParam().staleSocketBefore)
        LeaveStaleSocket(socketPath);
    DeviceChangeMonitor monitor;
    QSignalSpy changes(&monitor, &DeviceChangeMonitor::DevicesChanged);
    Make(GetParam().change);
    ExpectSignals(changes, GetParam().expectedSignals);
}

INSTANTIATE_TEST_SUITE_P(
    Folder, DeviceChangeMonitorChanges,
    ::testing::Values(FolderChange{"StaleSocketReplacedByAStartingSimulator", true, Change::StartSimulator,
                                   1},
                      FolderChange{"UnrelatedFileCreated", false, Change::WriteOtherFile, 0},
                      FolderChange{"UnrelatedFileBesideAStaleSocket", true, Change::WriteOtherFile, 0},
                      FolderChange{"BurstOfSocketReplacements", true, Change::ReplaceSocketTwice, 1}),
    [](const ::testing::TestParamInfo<FolderChange>& info) { return std::string(info.param.what); });

} // namespace
