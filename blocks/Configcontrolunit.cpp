#include "Configcontrolunit.h"

namespace {

struct BankItem {
    const char* mode;
    bool update; // shown in red: changes are stored but not yet heard
    const char* number;
};

constexpr BankItem BankItems[] = {
    {"MAN", false, "1"},   {"MAN", false, "2"},   {"MAN", false, "3"},   {"AUTO", false, "0"},
    {"UPDATE", true, "1"}, {"UPDATE", true, "2"}, {"UPDATE", true, "3"}, {"SET", true, " "},
};

const BankItem& ItemOf(int item) {
    return item >= 0 && item < 8 ? BankItems[item] : BankItems[0];
}

} // namespace

std::string TConfigControl::BankModeText(int item) {
    return ItemOf(item).mode;
}

Rgb TConfigControl::BankModeColour(int item) {
    return ItemOf(item).update ? Colours::Red : Rgb{0, 255, 255};
}

std::string TConfigControl::BankNumberText(int item) {
    return ItemOf(item).number;
}
