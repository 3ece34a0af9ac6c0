#pragma once

#include <string>

// The coefficient bank control (register 0x40). For now it gives the display
// strip's texts for a bank selection item.
class TConfigControl {
public:
    // "MAN", "AUTO", "UPDATE" or "SET" for a bank selection item; no
    // selection (or any other item) reads as manual bank 1.
    static std::string BankModeText(int item);
    // "1", "2", "3", "0" or " " for the same item.
    static std::string BankNumberText(int item);
};
