// Any text read as a configuration or keyed file gives only complete
// records of registers the map defines, and records written back in the
// saved form read back unchanged.
//
// The first input byte chooses the reader: odd for the keyed reader with the
// base number (byte >> 1), even for the plain one.

#include "ConfigRecords.h"
#include "Conversions.h"
#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

// A register map with every size a slot can have and gaps between them.
int SizeOf(uint8_t subAddress) {
    if (subAddress % 5 == 4)
        return 0;
    return 1 + (subAddress * 7) % 52;
}

// The letters that can start a record: at most one record or problem each.
bool IsRecordLetter(char c) {
    switch (c) {
    case 'X':
    case 'x':
    case 'Q':
    case 'q':
    case 'T':
    case 't':
    case 'K':
    case 'k':
    case 'O':
    case 'o':
        return true;
    default:
        return false;
    }
}

std::string SavedForm(const ConfigRecordList& list) {
    std::string text;
    for (const ConfigRecord& record : list.records) {
        text += "!r_name_with_X\nX" + ByteEditText(record.subAddress) + ' ';
        for (uint8_t byte : record.bytes)
            text += ByteEditText(byte) + ' ';
        text += '\n';
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::optional<int> keyBase = (data[0] & 1) ? std::optional<int>(data[0] >> 1) : std::nullopt;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const ConfigRecordList list = ReadConfigRecords(text, SizeOf, keyBase);
    size_t letters = 0;
    for (char c : text)
        letters += IsRecordLetter(c);
    FUZZ_CHECK(list.records.size() + list.problems.size() <= letters);
    for (const ConfigRecord& record : list.records) {
        FUZZ_CHECK(SizeOf(record.subAddress) > 0);
        FUZZ_CHECK(record.bytes.size() == static_cast<size_t>(SizeOf(record.subAddress)));
    }

    const ConfigRecordList again = ReadConfigRecords(SavedForm(list), SizeOf, std::nullopt);
    FUZZ_CHECK(again.problems.empty());
    FUZZ_CHECK(again.records.size() == list.records.size());
    for (size_t i = 0; i < list.records.size(); ++i) {
        FUZZ_CHECK(again.records[i].subAddress == list.records[i].subAddress);
        FUZZ_CHECK(again.records[i].bytes == list.records[i].bytes);
    }
    return 0;
}
