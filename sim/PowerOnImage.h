#pragma once

#include <cstdint>
#include <vector>

// The contents a QMX4600 register holds after reset, `size` bytes long:
// 48 kHz at 256 x fs, I2S 24-bit input, volumes at 0 dB and unmuted, every
// biquad all-pass, each input mixer passing its own channel and each PWM
// output its own DAP channel at unity, tone bypassed with filter set 2 at
// 0 dB, and everything else zero.
std::vector<uint8_t> PowerOnRegister(uint8_t subAddress, int size);
