#include "Loudnessunit.h"

#include "Configdataunit.h"

TLoudness::TLoudness(TConfigDataUnit& table) : table_(table) {}

std::vector<uint8_t> TLoudness::Bytes(int subAddress, size_t count) const {
    // A map that gives the register fewer bytes shows zeros for the rest.
    std::vector<uint8_t> bytes = table_.GetData(subAddress);
    bytes.resize(count, 0);
    return bytes;
}

std::vector<uint8_t> TLoudness::ShowLoudness4(int subAddress) const {
    return Bytes(subAddress, 4);
}

std::vector<uint8_t> TLoudness::ShowLoudness8(int subAddress) const {
    return Bytes(subAddress, 8);
}

void TLoudness::StoreLoudness4(int subAddress, std::span<const uint8_t, 4> bytes) {
    table_.SetData(subAddress, bytes);
}

void TLoudness::StoreLoudness8(int subAddress, std::span<const uint8_t, 8> bytes) {
    table_.SetData(subAddress, bytes);
}
