#include "Configcontrolunit.h"

#include "Configdataunit.h"

#include <vector>

namespace {

struct BankItem {
    const char* text;
    const char* mode;
    const char* number;
    bool update; // shown in red: changes are recorded but not heard yet
};

constexpr BankItem BankItems[] = {
    {"Manual Bank 1", "MAN", "1", false},      {"Manual Bank 2", "MAN", "2", false},
    {"Manual Bank 3", "MAN", "3", false},      {"Automatic Bank Selection ON", "AUTO", "0", false},
    {"Update Bank 1 ON", "UPDATE", "1", true}, {"Update Bank 2 ON", "UPDATE", "2", true},
    {"Update Bank 3 ON", "UPDATE", "3", true}, {"Update Map Only", "SET", " ", true},
};

struct Rate {
    const char* caption;
    const char* stem;
};

// From the top bit of the maps down.
constexpr Rate Rates[TConfigControl::RateCount] = {
    {"32k", "32k"},   {"38k", "38k"}, {"44.1k", "44k"},   {"48k", "48k"},
    {"88.2k", "88k"}, {"96k", "96k"}, {"176.4k", "176k"}, {"192k", "192k"},
};

bool ValidItem(int item) {
    return item >= 0 && item < TConfigControl::SelectionCount;
}

const BankItem& ItemOf(int item) {
    return ValidItem(item) ? BankItems[item] : BankItems[0];
}

} // namespace

TConfigControl::TConfigControl(TConfigDataUnit& table) : table_(table) {}

std::array<uint8_t, 4> TConfigControl::BankControlBytes(int selection, const RateItems& rates) const {
    const std::vector<uint8_t> stored = table_.GetData(BankRegister);
    std::array<uint8_t, 4> bytes{};
    bytes[0] = stored.empty() ? 0 : stored[0];
    bytes[1] = static_cast<uint8_t>(ValidItem(selection) ? selection : 0);
    for (int rate = 0; rate < RateCount; ++rate) {
        const auto bit = static_cast<uint8_t>(0x80 >> rate);
        if (rates[static_cast<size_t>(rate)] == 0)
            bytes[2] |= bit;
        else if (rates[static_cast<size_t>(rate)] == 1)
            bytes[3] |= bit;
    }
    return bytes;
}

void TConfigControl::WriteBankControl(int selection, const RateItems& rates) {
    table_.SetData(BankRegister, BankControlBytes(selection, rates));
}

std::optional<std::array<uint8_t, 4>> TConfigControl::DifferingRegister(int selection,
                                                                        const RateItems& rates) const {
    if (table_.GetSize(BankRegister) != 4)
        return std::nullopt;
    const std::vector<uint8_t> stored = table_.GetData(BankRegister);
    const std::array<uint8_t, 4> panel = BankControlBytes(selection, rates);
    std::array<uint8_t, 4> held{};
    for (size_t i = 0; i < held.size() && i < stored.size(); ++i)
        held[i] = stored[i];
    if (held == panel)
        return std::nullopt;
    return held;
}

std::string TConfigControl::BankModeText(int item) {
    return ItemOf(item).mode;
}

std::string TConfigControl::BankNumberText(int item) {
    return ItemOf(item).number;
}

Rgb TConfigControl::BankModeColour(int item) {
    return ItemOf(item).update ? Colours::Red : Aqua;
}

std::string TConfigControl::SelectionItemText(int item) {
    return ValidItem(item) ? BankItems[item].text : "";
}

std::string TConfigControl::RateCaption(int rate) {
    return rate >= 0 && rate < RateCount ? Rates[rate].caption : "";
}

std::string TConfigControl::RateGroupName(int rate) {
    return rate >= 0 && rate < RateCount ? std::string("Bank") + Rates[rate].stem + "RadioGroup" : "";
}
