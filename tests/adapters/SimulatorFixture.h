#pragma once

#include "LineConnection.h"
#include "SimulatorProcess.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

// A real qmx4600-sim on a socket of its own, which the adapters find through
// QMX4600_SIM_SOCKET, and a control connection for SIM lines.
class SimulatorFixture : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("QMX4600_SIM_SOCKET", socketPath.c_str(), 1); }
    void TearDown() override { ::unsetenv("QMX4600_SIM_SOCKET"); }

    void StartSimulator(const std::vector<std::string>& arguments = {"--quiet"}) {
        ASSERT_TRUE(simulator.Start(arguments)) << "qmx4600-sim did not start";
        ASSERT_EQ(control.Connect(socketPath, std::chrono::seconds(5)), 0);
    }

    // One request on the control connection and its reply line.
    std::string Ask(const std::string& request) {
        std::string reply;
        const int result = control.Exchange(request, reply, std::chrono::seconds(5));
        return result < 0 ? "no reply: " + std::to_string(result) : reply;
    }

    // The lines of the transfer record that SIM LOG returns.
    std::vector<std::string> TakeLog() {
        const std::string header = Ask("SIM LOG");
        std::vector<std::string> lines;
        if (!header.starts_with("LOG "))
            return {"bad header: " + header};
        const int count = std::stoi(header.substr(4));
        for (int i = 0; i < count; ++i) {
            std::string line;
            if (control.ReadLine(line, std::chrono::seconds(5)) < 0)
                break;
            lines.push_back(line);
        }
        return lines;
    }

    TestFolder folder;
    const std::string socketPath = folder.Path("sim.sock");
    SimulatorProcess simulator{QMX4600_SIM_EXECUTABLE, socketPath};
    LineConnection control;
};
