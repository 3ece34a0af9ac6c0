#include "Mixersunit.h"

#include "Configdataunit.h"

int TMixers::SourceItem(uint8_t code) {
    for (int item = 0; item < 4; ++item)
        if (SourceCodes[item] == code)
            return item;
    return 0;
}

int TMixers::OutputRows(int subAddress) {
    switch (subAddress) {
    case 0xAA:
    case 0xAB:
        return 2;
    case 0xB0:
    case 0xB1:
        return 3;
    default:
        return 0;
    }
}

std::vector<int> TMixers::GetSources(int subAddress) const {
    const std::vector<uint8_t> bytes = table_.GetData(subAddress);
    std::vector<int> items;
    for (int row = 0; row < OutputRows(subAddress); ++row) {
        const size_t at = static_cast<size_t>(4 * row);
        items.push_back(at < bytes.size() ? SourceItem(static_cast<uint8_t>(bytes[at] >> 4)) : 0);
    }
    return items;
}
