#include "Datalog.h"

#include <cstdio>

TDataLog::~TDataLog() {
    CloseLog();
}

void TDataLog::ToggleLog(const CommentLabel& label) {
    if (!on_) {
        if (OpenLog(label))
            label("DataLog ON ");
        return;
    }
    label("DataLog OFF");
    CloseLog();
}

bool TDataLog::OpenLog(const CommentLabel& label) {
    counter_ = 0;
    CloseLog();
    file_.clear();
    file_.open(FileName, std::ios::out | std::ios::trunc);
    on_ = file_.is_open();
    if (!on_)
        label("DataLog.txt open error");
    return on_;
}

void TDataLog::CloseLog() {
    if (!on_)
        return;
    on_ = false;
    file_.close();
}

void TDataLog::LogValue(const std::string& text, int value) {
    if (!on_)
        return;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned>(value));
    file_ << counter_++ << ' ' << text << " = 0x" << hex << ' ';
}

void TDataLog::LogChar(char c) {
    if (!on_)
        return;
    ++counter_;
    file_ << c << '\n';
    file_.flush();
}
