// The real tool program against the real simulator program: the simulator
// is the adapter being plugged in, stopping it is pulling it out.

#include "Configdataunit.h"
#include "SimulatorProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// The tool's standard error, read line by line as it comes.
class ToolProcess {
public:
    ToolProcess(const QString& startDirectory, const QString& socket) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QMX4600_SIM_SOCKET", socket);
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process_.setProcessEnvironment(environment);
        process_.setWorkingDirectory(startDirectory);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.setReadChannel(QProcess::StandardError);
        process_.start(QMX4600_TOOL_EXECUTABLE, {});
        process_.waitForStarted(10000);
    }
    ~ToolProcess() {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(5000);
    }

    bool IsRunning() const { return process_.state() == QProcess::Running; }

    // Waits until the tool has written `text` on a line of its standard error.
    bool WaitForLine(const QString& text, std::chrono::seconds limit = std::chrono::seconds(20)) {
        const auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            while (process_.canReadLine()) {
                const QString line = QString::fromUtf8(process_.readLine()).trimmed();
                seen_ += line + '\n';
                if (line == text)
                    return true;
            }
            if (!IsRunning()) {
                seen_ += process_.readAll();
                seen_ += QString("[tool ended: exit code %1, %2, %3]\n")
                             .arg(process_.exitCode())
                             .arg(process_.errorString())
                             .arg(process_.exitStatus() == QProcess::CrashExit ? "crashed" : "exited");
                return false;
            }
            process_.waitForReadyRead(200);
        }
        return false;
    }

    // What the tool has written so far, for failure messages.
    std::string Seen() const { return seen_.toStdString(); }

private:
    QProcess process_;
    QString seen_;
};

std::string Hex(int value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02x", value);
    return text;
}

} // namespace

TEST(ToolWithSimulator, StartsUpUnplugsAndReconnects) {
    QTemporaryDir start;
    ASSERT_TRUE(start.isValid());
    // The start directory holds what is delivered beside the program, as a
    // user's has: without EQ, loudness or DRC files the tool would stop at
    // start-up with a message box saying there are none.
    const QDir delivered = QFileInfo(QMX4600_TOOL_EXECUTABLE).dir();
    const QStringList dataFiles = delivered.entryList(
        {"*.addr", "*.cfg", "*.EQ46XX", "*.LD46xx", "*.DRC46xx", "*.BMP", "*.jpg", "*.PDF"}, QDir::Files);
    ASSERT_TRUE(dataFiles.contains("QMX4600.addr") && dataFiles.contains("QMX4600Init.cfg"));
    for (const QString& name : dataFiles)
        ASSERT_TRUE(QFile::copy(delivered.filePath(name), start.filePath(name))) << name.toStdString();
    TConfigDataUnit map;
    ASSERT_TRUE(map.ReadMapFile(start.filePath("QMX4600.addr").toStdString()));
    const std::string socket = start.filePath("sim.sock").toStdString();

    SimulatorProcess simulator(QMX4600_SIM_EXECUTABLE, socket);
    ASSERT_TRUE(simulator.Start() || simulator.IsRunning());
    ToolProcess tool(start.path(), QString::fromStdString(socket));

    // The start-up sequence as the device sees it.
    std::vector<std::string> expected = {"CONNECT -> STATUS 0", "RESET -> OK"};
    for (int s = 0; s <= 0xFE; ++s)
        expected.push_back("READ 1b " + Hex(s) + " " + std::to_string(map.GetSize(s)) + " -> STATUS 0");
    // The first refresh brings the volume bars and the serial format in line.
    for (const char* volume : {"d9", "d1", "d2", "d7", "d8"})
        expected.push_back(std::string("WRITE 1b ") + volume + " 4 00 00 00 48 -> STATUS 0");
    expected.push_back("READ 1b 00 1 -> STATUS 0");
    expected.push_back("WRITE 1b 0e 1 05 -> STATUS 0");
    for (const std::string& line : expected) {
        const std::optional<std::string> received = simulator.ReadOutputLine();
        ASSERT_TRUE(received.has_value()) << "waiting for: " << line;
        ASSERT_EQ(*received, line);
    }
    ASSERT_TRUE(tool.WaitForLine("USB Check: Connected to USB")) << tool.Seen();

    simulator.Stop();
    EXPECT_TRUE(tool.WaitForLine("USB Check: Unable to Connect to USB")) << "unplugging is noticed\n"
                                                                         << tool.Seen();
    EXPECT_TRUE(tool.IsRunning());

    ASSERT_TRUE(simulator.Start());
    EXPECT_TRUE(tool.WaitForLine("USB Check: Connected to USB")) << "plugging in again reconnects\n"
                                                                 << tool.Seen();
    const std::optional<std::string> reconnect = simulator.ReadOutputLine();
    ASSERT_TRUE(reconnect.has_value());
    EXPECT_EQ(*reconnect, "CONNECT -> STATUS 0");
    EXPECT_TRUE(tool.IsRunning());
}
