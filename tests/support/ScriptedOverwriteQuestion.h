#pragma once

#include "RegisterBus.h"

#include <string>
#include <vector>

// Answers the overwrite question the same way every time and records which
// files it was asked about.
class ScriptedOverwriteQuestion : public IOverwriteQuestion {
public:
    explicit ScriptedOverwriteQuestion(bool replace) : replace_(replace) {}
    bool ConfirmReplace(const std::string& fileName) override {
        asked.push_back(fileName);
        return replace_;
    }
    std::vector<std::string> asked;

private:
    bool replace_;
};
