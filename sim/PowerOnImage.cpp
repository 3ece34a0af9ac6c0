#include "PowerOnImage.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr uint8_t Unity523[4] = {0x00, 0x80, 0x00, 0x00};

void Put(std::vector<uint8_t>& bytes, size_t at, std::initializer_list<uint8_t> values) {
    for (uint8_t v : values) {
        if (at < bytes.size())
            bytes[at] = v;
        ++at;
    }
}

// A unity gain word; an output-mixer word carries its source channel's
// code in the top nibble.
void PutUnityWord(std::vector<uint8_t>& bytes, size_t word, uint8_t source = 0) {
    Put(bytes, 4 * word,
        {static_cast<uint8_t>(Unity523[0] | source << 4), Unity523[1], Unity523[2], Unity523[3]});
}

// Source codes of the output mixers: DAP channel 1, 2, 3, 4 feed PWM 1..4.
uint8_t OutputSource(uint8_t subAddress) {
    switch (subAddress) {
    case 0xAB:
        return 0x1;
    case 0xB0:
        return 0x6;
    case 0xB1:
        return 0x7;
    default:
        return 0x0;
    }
}

} // namespace

std::vector<uint8_t> PowerOnRegister(uint8_t s, int size) {
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(size, 0)), 0);
    if (s == 0x00)
        Put(bytes, 0, {0x6C}); // 48 kHz, 256 x fs
    else if (s == 0x0E)
        Put(bytes, 0, {0x05}); // I2S 24 bits
    else if (s >= 0x41 && s <= 0x48)
        PutUnityWord(bytes, s - 0x41u); // input mixer k takes serial input k
    else if ((s >= 0x51 && s <= 0x88) || s == 0x95)
        PutUnityWord(bytes, 0); // biquad b0 = 1: all-pass
    else if (s >= 0x89 && s <= 0x90)
        PutUnityWord(bytes, 0); // tone bypassed
    else if (s == 0xAA || s == 0xAB || s == 0xB0 || s == 0xB1)
        PutUnityWord(bytes, 0, OutputSource(s)); // PWM output n takes DAP channel n
    else if (s >= 0xD1 && s <= 0xD9)
        Put(bytes, 0, {0x00, 0x00, 0x00, 0x48}); // step 72 = 0 dB
    else if (s == 0xDA || s == 0xDC)
        Put(bytes, 0, {0x02, 0x00, 0x00, 0x02}); // filter set 2 for both groups
    else if (s == 0xDB || s == 0xDD)
        Put(bytes, 0, {0x12, 0x00, 0x00, 0x12}); // level index 18 = 0 dB
    return bytes;
}
