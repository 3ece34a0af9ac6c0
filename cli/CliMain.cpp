// qmx4600-cli: the configuration tool's register table, files and adapter
// for scripts and production lines, without windows.

#include "CliCommands.h"
#include "CliDevice.h"

#include <QJsonDocument>

#include <clocale>
#include <cstdio>
#include <exception>
#include <iostream>

namespace {

void PrintJson(const QJsonObject& object) {
    std::cout << QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString() << std::flush;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_NUMERIC, "C");
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    bool json = false;
    try {
        const TCliArguments parsed = ParseCliArguments(arguments);
        json = parsed.json;
        if (parsed.help) {
            const std::optional<std::string> help = CliHelp(parsed.command);
            if (!help)
                throw TCliFailure(TCliFailure::UsageStatus,
                                  "unknown command '" + parsed.command + "' (try --help)");
            std::cout << *help;
            return 0;
        }
        const TCliReport report = RunCliCommand(parsed);
        if (json)
            PrintJson(report.json);
        else
            for (const std::string& line : report.lines)
                std::cout << line << '\n';
        if (report.status != 0)
            std::cerr << "qmx4600-cli: " << report.reason << '\n';
        return report.status;
    } catch (const TCliFailure& failure) {
        if (json)
            PrintJson(QJsonObject{{"ok", false},
                                  {"status", failure.Status()},
                                  {"error", QString::fromStdString(failure.what())}});
        std::cerr << "qmx4600-cli: " << failure.what() << '\n';
        return failure.Status();
    } catch (const std::exception& error) {
        std::cerr << "qmx4600-cli: " << error.what() << '\n';
        return 1;
    }
}
