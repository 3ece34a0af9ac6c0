#pragma once

#include <QJsonObject>

#include <optional>
#include <string>
#include <vector>

// One command line, taken apart: the command, its plain arguments and the
// options, wherever they stand.
struct TCliArguments {
    std::string command;
    std::vector<std::string> operands;
    std::optional<std::string> map, from, to;
    bool json = false, mute = false, help = false;
};

// What a command found: lines for people, an object for scripts, and the
// exit status with its one-line reason when it is not 0.
struct TCliReport {
    std::vector<std::string> lines;
    QJsonObject json;
    int status = 0;
    std::string reason;
};

// Takes the arguments apart (program name excluded); throws TCliFailure for
// an option that is unknown or lacks its value.
TCliArguments ParseCliArguments(const std::vector<std::string>& arguments);

// The help of one command, or of the program when `command` is empty;
// nothing for an unknown command.
std::optional<std::string> CliHelp(const std::string& command);

// Runs the command; throws TCliFailure when it cannot finish.
TCliReport RunCliCommand(const TCliArguments& arguments);
