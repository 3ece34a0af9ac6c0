#include "ConfigRecords.h"

#include "Conversions.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

bool IsRecordLetter(char c) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
    case 'X':
    case 'Q':
    case 'T':
    case 'K':
    case 'O':
    case 'L':
        return true;
    default:
        return false;
    }
}

bool EndsRecordBytes(char c) {
    return IsRecordLetter(c) || c == '/' || c == '!';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

class RecordScanner {
public:
    RecordScanner(std::string_view text, const std::function<int(uint8_t)>& sizeOf,
                  std::optional<int> keyBase)
        : text_(text), sizeOf_(sizeOf), keyBase_(keyBase) {}

    ConfigRecordList Run() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            const char key = Upper(c);
            if (c == '/' || c == '!') {
                SkipLine();
            } else if (key == 'X') {
                const uint8_t high = HexDigitValue(Upper(Next()));
                const uint8_t low = HexDigitValue(Next());
                ReadRecord(static_cast<uint8_t>(high * 16 + low), "X");
            } else if (keyBase_ && key == 'Q') {
                const char n = pos_ < text_.size() ? text_[pos_] : '\0';
                if (n >= '1' && n <= '7') {
                    ++pos_;
                    static constexpr std::string_view BiquadKeys[] = {"Q1", "Q2", "Q3", "Q4",
                                                                      "Q5", "Q6", "Q7"};
                    ReadRecord(Keyed(0x51 + (n - '1')), BiquadKeys[n - '1']);
                } else {
                    result_.problems.push_back("Q record without a biquad number 1..7 ignored");
                }
            } else if (keyBase_ && (key == 'T' || key == 'K' || key == 'O')) {
                // T, K and O: three consecutive registers from base + 0x99 on.
                static constexpr std::string_view Letters = "TKO";
                const size_t which = Letters.find(key);
                ReadRecord(Keyed(0x99 + static_cast<int>(which)), Letters.substr(which, 1));
            }
        }
        return std::move(result_);
    }

private:
    char Next() { return pos_ < text_.size() ? text_[pos_++] : '\0'; }

    void SkipLine() {
        while (pos_ < text_.size() && text_[pos_] != '\n')
            ++pos_;
    }

    uint8_t Keyed(int offset) const { return static_cast<uint8_t>((*keyBase_ + offset) & 0xFF); }

    // Finds the next digit of a byte, skipping blanks; nothing when the byte
    // run has ended (the character that ended it is left for the scanner).
    std::optional<char> NextDigit() {
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
        if (pos_ >= text_.size() || EndsRecordBytes(text_[pos_]))
            return std::nullopt;
        return text_[pos_++];
    }

    void ReadRecord(uint8_t subAddress, std::string_view key) {
        if (pos_ < text_.size())
            ++pos_; // the separator after the key
        const int size = sizeOf_(subAddress);
        // A register without bytes, or one the map does not know, takes none
        // from the file: what follows is scanned as usual.
        ConfigRecord record{subAddress, {}};
        record.bytes.reserve(static_cast<size_t>(std::max(size, 0)));
        while (static_cast<int>(record.bytes.size()) < size) {
            const std::optional<char> high = NextDigit();
            const std::optional<char> low = high ? NextDigit() : std::nullopt;
            if (!low)
                break;
            record.bytes.push_back(
                static_cast<uint8_t>(HexDigitValue(Upper(*high)) * 16 + HexDigitValue(*low)));
        }
        if (static_cast<int>(record.bytes.size()) < size) {
            // Keep whatever ended the bytes for the scanner: it starts the next record.
            Problem("record %.*s (register 0x%02x) has %zu of its %d bytes; not loaded",
                    static_cast<int>(key.size()), key.data(), subAddress, record.bytes.size(), size);
            return;
        }
        if (size < 0)
            Problem("register 0x%02x is not in the register map; skipped", subAddress);
        else if (size > 0)
            result_.records.push_back(std::move(record));
    }

    // A problem text put together in one piece: a file full of faults reports
    // one problem per record, and each should cost one string.
    template <typename... Values> void Problem(const char* format, Values... values) {
        char text[128];
        std::snprintf(text, sizeof text, format, values...);
        result_.problems.emplace_back(text);
    }

    std::string_view text_;
    const std::function<int(uint8_t)>& sizeOf_;
    std::optional<int> keyBase_;
    size_t pos_ = 0;
    ConfigRecordList result_;
};

} // namespace

ConfigRecordList ReadConfigRecords(std::string_view text, const std::function<int(uint8_t)>& sizeOf,
                                   std::optional<int> keyBase) {
    return RecordScanner(text, sizeOf, keyBase).Run();
}
