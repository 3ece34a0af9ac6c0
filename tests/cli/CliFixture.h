#pragma once

// qmx4600-cli run as a user runs it, in a folder of its own, beside a real
// simulator program on a private socket.

#include "SimulatorFixture.h"
#include "TextFile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct CliRun {
    int status = -1;
    std::string out, err;
};

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

class CliFixture : public SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        std::filesystem::copy_file(std::string(QMX_SOURCE_DATA_DIR) + "/QMX4600.addr",
                                   folder.Path("QMX4600.addr"));
        StartSimulator();
        TakeLog();
    }

    // Runs the program in the test folder, as a script would; bounded, so a
    // program that hangs fails the test instead of holding up the run.
    CliRun Cli(const std::vector<std::string>& arguments) {
        return RunProgram(QMX4600_CLI_EXECUTABLE, arguments);
    }

    CliRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingFolder = {}) {
        QProcess process;
        process.setWorkingDirectory(
            QString::fromStdString(workingFolder.empty() ? folder.Path("") : workingFolder));
        QStringList list;
        for (const std::string& argument : arguments)
            list << QString::fromStdString(argument);
        process.start(QString::fromStdString(program), list);
        CliRun run;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished(5000);
            run.err = "did not end in time";
            return run;
        }
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.out = process.readAllStandardOutput().toStdString();
        run.err = process.readAllStandardError().toStdString();
        return run;
    }

#ifdef QMX_BUILD_DIR
    // `cmake --install` of this build under `destdir` with the prefix /usr, as
    // a package is made; what went wrong, or nothing.
    std::string StageInstallation(const std::string& destdir) {
        QProcess install;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DESTDIR", QString::fromStdString(destdir));
        install.setProcessEnvironment(environment);
        install.start(QMX_CMAKE_COMMAND, {"--install", QMX_BUILD_DIR, "--prefix", "/usr"});
        if (!install.waitForFinished(120000))
            return "cmake --install did not end in time";
        if (install.exitStatus() != QProcess::NormalExit || install.exitCode() != 0)
            return "cmake --install failed: " + install.readAllStandardError().toStdString();
        return {};
    }
#endif

    QJsonObject Json(const CliRun& run) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out;
        return document.object();
    }

    // The transfers the device saw since the last look.
    std::vector<std::string> Transfers() {
        std::vector<std::string> transfers;
        for (const std::string& line : TakeLog())
            if (line.starts_with("WRITE ") || line.starts_with("READ "))
                transfers.push_back(line);
        return transfers;
    }

    // The device's registers as the simulator holds them.
    std::map<std::string, std::string> DeviceRegisters() {
        std::map<std::string, std::string> registers;
        std::istringstream reply(Ask("SIM DUMP"));
        std::string field;
        reply >> field;
        while (reply >> field)
            registers[field.substr(0, 2)] = field.substr(3);
        return registers;
    }

    // Another master on the bus changes a register behind the program's back.
    void ChangeOnDevice(const std::string& request) {
        ASSERT_EQ(Ask(request), "STATUS 0");
    }

    std::string ReadFile(const std::string& name) {
        return ReadTextFile(folder.Path(name)).value_or("");
    }
};
