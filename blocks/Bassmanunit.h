#pragma once

// Bass management: eight single-word gains (0x49 ... 0x50) routing channels
// 7 and 8 into channels 1 and 2, channels 1 and 2 into channel 8, and the
// in-line and bypass gains of the second biquad stage of channels 7 and 8.
// All of it lives in the register table; the panel edits it through the
// gain entry window and loads presets as configuration files, so the model
// has neither data nor operations. It exists as the other blocks do, one
// object kept for the program's life.
class TBassMan {};
