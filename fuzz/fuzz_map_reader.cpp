// Any text read as a register map leaves a table whose slots are valid and
// whose lookups agree with the slots.

#include "Configdataunit.h"
#include "FuzzCheck.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TConfigDataUnit table;
    table.ReadMapText(std::string_view(reinterpret_cast<const char*>(data), size));

    for (int i = 0; i < TConfigDataUnit::SlotCount; ++i) {
        const int subAddress = table.SubAddressAt(i);
        FUZZ_CHECK(subAddress == CElements::Undefined || (subAddress >= 0 && subAddress <= 0xFF));
        FUZZ_CHECK(table.SizeAt(i) >= 0 && table.SizeAt(i) <= CElements::MaxBytes);
        FUZZ_CHECK(table.DataAt(i).size() == static_cast<size_t>(table.SizeAt(i)));
        const std::string name = table.NameAt(i);
        // A name is one line piece from its "!" on.
        FUZZ_CHECK(name.empty() || (name[0] == '!' && name.size() <= 127));
        FUZZ_CHECK(name.find('\n') == std::string::npos);
        FUZZ_CHECK(name.empty() || subAddress != CElements::Undefined);
    }
    std::array<int, 256> highest;
    highest.fill(-1);
    for (int i = 0; i < TConfigDataUnit::SlotCount; ++i)
        if (table.SubAddressAt(i) != CElements::Undefined)
            highest[table.SubAddressAt(i)] = i;
    // The table's own index of sub-addresses agrees with a scan of the slots.
    for (int s = 0; s <= 0xFF; ++s) {
        const int found = table.FindEntry(s);
        FUZZ_CHECK(found == highest[s]);
        FUZZ_CHECK(table.GetSize(s) == (found < 0 ? 0 : table.SizeAt(found)));
        FUZZ_CHECK(table.GetData(s).size() == static_cast<size_t>(table.GetSize(s)));
    }
    // Every problem belongs to a line of the text.
    size_t lines = 1;
    for (size_t i = 0; i < size; ++i)
        lines += data[i] == '\n';
    for (const std::string& problem : table.MapFileProblems()) {
        const size_t at = problem.find(" line ");
        FUZZ_CHECK(at != std::string::npos);
        size_t line = 0;
        const char* end = problem.data() + problem.size();
        const auto [after, error] = std::from_chars(problem.data() + at + 6, end, line);
        FUZZ_CHECK(error == std::errc() && after != end && *after == ':');
        FUZZ_CHECK(line >= 1 && line <= lines);
    }
    return 0;
}
