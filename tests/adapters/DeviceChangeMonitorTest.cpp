#include "DeviceChangeMonitor.h"
#include "SimulatorProcess.h"
#include "TestFolder.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Waiting here is waiting for the signal to arrive, not a timing check.
constexpr int SignalWaitMs = 5000;

TEST(DeviceChangeMonitorTest, SimulatorComingAndGoingIsADeviceChange) {
    TestFolder folder;
    const std::string socketPath = folder.Path("sim.sock");
    ::setenv("QMX4600_SIM_SOCKET", socketPath.c_str(), 1);
    DeviceChangeMonitor monitor;
    QSignalSpy changes(&monitor, &DeviceChangeMonitor::DevicesChanged);

    SimulatorProcess simulator(QMX4600_SIM_EXECUTABLE, socketPath);
    ASSERT_TRUE(simulator.Start({"--quiet"}));
    ASSERT_TRUE(changes.wait(SignalWaitMs)) << "no signal for the socket appearing";

    changes.clear();
    simulator.Stop();
    ASSERT_TRUE(changes.wait(SignalWaitMs)) << "no signal for the socket going";
    ::unsetenv("QMX4600_SIM_SOCKET");
}

} // namespace
