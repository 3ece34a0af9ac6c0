#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One register record of a configuration, EQ or DRC file.
struct ConfigRecord {
    uint8_t subAddress = 0;
    std::vector<uint8_t> bytes;
};

struct ConfigRecordList {
    std::vector<ConfigRecord> records; // complete records, in file order
    std::vector<std::string> problems; // what was skipped and why
};

// Reads the records of a configuration file's text. `sizeOf` gives the byte
// count of a sub-address, or -1 for one the map does not define. Without a
// key base only X records count; with one, the keyed records Q1..Q7, T, K and
// O are read too, relative to that base.
//
// A record whose bytes run into the next record, a comment or the end of the
// file is incomplete: it is reported and dropped, and the record that cut it
// short is read as usual.
ConfigRecordList ReadConfigRecords(std::string_view text, const std::function<int(uint8_t)>& sizeOf,
                                   std::optional<int> keyBase);
