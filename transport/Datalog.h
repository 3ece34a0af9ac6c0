#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

// The transaction log "DataLog.txt": while it is on, every register write that
// the transport skips after a bus failure is listed, one line each.
class TDataLog {
public:
    using CommentLabel = std::function<void(const std::string&)>;

    static constexpr const char* FileName = "DataLog.txt";

    ~TDataLog();

    void ToggleLog(const CommentLabel& label);
    bool OpenLog(const CommentLabel& label);
    void CloseLog();
    void LogValue(const std::string& text, int value);
    void LogChar(char c);
    bool IsOn() const { return on_; }

private:
    int32_t counter_ = 0;
    std::ofstream file_;
    bool on_ = false;
};
