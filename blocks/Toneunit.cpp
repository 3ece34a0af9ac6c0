#include "Toneunit.h"

#include "Configdataunit.h"
#include "Conversions.h"

#include <algorithm>
#include <vector>

TTone::TTone(TConfigDataUnit& table) : table_(table) {}

std::array<uint8_t, 4> TTone::Word(int subAddress) const {
    std::array<uint8_t, 4> word{};
    const std::vector<uint8_t> data = table_.GetData(subAddress);
    std::copy_n(data.begin(), std::min(data.size(), word.size()), word.begin());
    return word;
}

void TTone::WriteFilterSets(int subAddress, int item1, int item2) {
    std::array<uint8_t, 4> word = Word(subAddress);
    word[Control1Byte] = static_cast<uint8_t>(std::clamp(item1, -1, FilterSetCount - 1) + 1);
    word[Control2Byte] = static_cast<uint8_t>(std::clamp(item2, -1, FilterSetCount - 1) + 1);
    table_.SetData(subAddress, word);
}

void TTone::WriteToneLevel(int subAddress, int control, int position1, int position2) {
    std::array<uint8_t, 4> word = Word(subAddress);
    if (control == 1)
        word[Control1Byte] = static_cast<uint8_t>(std::clamp(position1, 0, MaxLevel));
    else if (control == 2)
        word[Control2Byte] = static_cast<uint8_t>(std::clamp(position2, 0, MaxLevel));
    else
        return;
    table_.SetData(subAddress, word);
}

std::string TTone::ToneLevelLabel(int position) {
    return FormatShortest(static_cast<double>(ZeroDbLevel - position));
}

int TTone::ReadFilterSet(int subAddress, int byte) const {
    const int value = Word(subAddress)[static_cast<size_t>(std::clamp(byte, 0, 3))];
    return value <= 1 ? 0 : std::min(value - 1, FilterSetCount - 1);
}

int TTone::ReadToneLevel(int subAddress, int byte) const {
    return std::min<int>(Word(subAddress)[static_cast<size_t>(std::clamp(byte, 0, 3))], MaxLevel);
}

void TTone::WriteToneSwitch(int subAddress, bool on) {
    table_.SetData(subAddress, on ? OnBytes : OffBytes);
}
