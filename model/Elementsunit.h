#pragma once

#include <array>
#include <cstdint>
#include <string>

// One slot of the register table: which device register it holds, how many
// bytes that register has on the bus, its current contents and its name.
struct CElements {
    static constexpr int MaxBytes = 52;
    static constexpr int Undefined = -1;

    int32_t subAddress = Undefined;
    int32_t size = 0;
    std::array<uint8_t, MaxBytes> data{};
    std::string name;
};
