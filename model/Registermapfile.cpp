// Reading the register map file "QMX4600.addr": one "#" record per register
// (table index, sub-address, byte count) and "!" names.

#include "Configdataunit.h"
#include "TextFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

// The map is read in pieces of at most this many characters, as a line
// buffer of 128 would; the rest of a longer line is scanned as a new line.
constexpr size_t PieceLength = 127;
constexpr long FieldLimit = 1L << 30;

bool IsHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Hex(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02x", value);
    return text;
}

// Scans one field of a "#" record: spaces before it are skipped, the field
// runs to the next space, line feed, NUL or end of piece. A NUL ends the line
// for the scan of records too, so the field stops in front of it and leaves
// it for that scan to see. A field that does not start with a number leaves
// `value` as it was.
class FieldScanner {
public:
    FieldScanner(std::string_view piece, size_t& pos) : piece_(piece), pos_(pos) {}

    void Decimal(long& value) { Scan(value, false); }
    void Hexadecimal(long& value) { Scan(value, true); }

private:
    void Scan(long& value, bool hex) {
        while (pos_ < piece_.size() && piece_[pos_] == ' ')
            ++pos_;
        const size_t start = pos_;
        while (pos_ < piece_.size() && piece_[pos_] != ' ' && piece_[pos_] != '\n' && piece_[pos_] != '\0')
            ++pos_;
        std::string_view field = piece_.substr(start, pos_ - start);
        if (hex && field.size() >= 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X')) {
            field.remove_prefix(2);
            if (field.empty() || !IsHex(field[0])) {
                value = 0;
                return;
            }
        }
        if (field.empty() || !(hex ? IsHex(field[0]) : IsDigit(field[0])))
            return;
        long number = 0;
        for (char c : field) {
            if (!(hex ? IsHex(c) : IsDigit(c)))
                break;
            const int digit = IsDigit(c) ? c - '0' : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
            number = std::min(number * (hex ? 16 : 10) + digit, FieldLimit);
        }
        value = number;
    }

    std::string_view piece_;
    size_t& pos_;
};

} // namespace

bool TConfigDataUnit::ReadMapFile(const std::string& fileName) {
    mapFileName_ = fileName;
    mapProblems_.clear();
    const std::optional<std::string> text = ReadTextFile(fileName);
    if (!text)
        return false;
    ReadMapText(*text);
    return true;
}

// "<file> line <n>: <what>", put together in one piece: a map full of faults
// reports one problem per record, and each should cost one string.
void TConfigDataUnit::MapProblem(int line, std::initializer_list<std::string_view> what) {
    const std::string_view path = mapFileName_;
    const size_t slash = path.find_last_of('/');
    std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (file.empty())
        file = "map";
    const std::string number = std::to_string(line);
    size_t length = file.size() + number.size() + 8;
    for (const std::string_view part : what)
        length += part.size();
    std::string& problem = mapProblems_.emplace_back();
    problem.reserve(length);
    problem.append(file).append(" line ").append(number).append(": ");
    for (const std::string_view part : what)
        problem.append(part);
}

void TConfigDataUnit::ReadMapText(std::string_view text) {
    long index = -1, subAddress = -1, size = 0;
    long namedSubAddress = -1;
    int line = 1;
    bool lineCut = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && end - start < PieceLength && text[end] != '\n')
            ++end;
        const bool endsLine = end < text.size() && text[end] == '\n';
        if (endsLine)
            ++end;
        else if (end < text.size() && !lineCut) {
            MapProblem(line, {"longer than 127 characters; the rest is read as a new line"});
            lineCut = true;
        }
        const std::string_view piece = text.substr(start, end - start);
        start = end;

        size_t pos = 0;
        while (pos < piece.size() && piece[pos] != '\n' && piece[pos] != '\0') {
            const char c = piece[pos];
            if (c == '!') {
                std::string_view name = piece.substr(pos);
                name = name.substr(0, std::min(name.find('\n'), name.find('\0')));
                SetName(static_cast<int>(namedSubAddress), std::string(name));
                break;
            }
            ++pos;
            if (c != '#')
                continue;
            FieldScanner fields(piece, pos);
            fields.Decimal(index);
            fields.Hexadecimal(subAddress);
            fields.Decimal(size);
            namedSubAddress = subAddress;
            if (index < 0 || index >= SlotCount) {
                MapProblem(line,
                           {"table index ", std::to_string(index), " is outside 0..255; record ignored"});
                continue;
            }
            if (subAddress < 0 || subAddress > 0xFF) {
                // The slot can hold no such register: it is left undefined.
                MapProblem(line,
                           {"sub-address is not a byte; slot ", std::to_string(index), " left undefined"});
                ClearSlot(static_cast<int>(index));
                continue;
            }
            const int earlier = FindEntry(static_cast<int>(subAddress));
            if (earlier >= 0 && earlier != index)
                MapProblem(line, {"register ", Hex(static_cast<int>(subAddress)), " is also in slot ",
                                  std::to_string(earlier), "; the higher slot is used"});
            if (size > CElements::MaxBytes)
                MapProblem(line, {"register ", Hex(static_cast<int>(subAddress)), " has ",
                                  std::to_string(size), " bytes; only 52 are kept"});
            SetSubAddress(static_cast<int>(index), static_cast<int>(subAddress));
            SetSize(static_cast<int>(index), static_cast<int>(size));
        }
        if (endsLine) {
            ++line;
            lineCut = false;
        }
    }
}
