#include "Configcontrolunit.h"

namespace {

struct BankItem {
    const char* mode;
    const char* number;
};

constexpr BankItem BankItems[] = {
    {"MAN", "1"},    {"MAN", "2"},    {"MAN", "3"},    {"AUTO", "0"},
    {"UPDATE", "1"}, {"UPDATE", "2"}, {"UPDATE", "3"}, {"SET", " "},
};

const BankItem& ItemOf(int item) {
    return item >= 0 && item < 8 ? BankItems[item] : BankItems[0];
}

} // namespace

std::string TConfigControl::BankModeText(int item) {
    return ItemOf(item).mode;
}

std::string TConfigControl::BankNumberText(int item) {
    return ItemOf(item).number;
}
