#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

// The pictures of the mixing points, painted by the program at build time
// and delivered as files beside it, so that a user can replace them: the
// three gain indicators and the two bass-management block diagrams.

// What a mixing point's gain is: zero (off), one (0 dB), or anything else.
enum class GainPicture { Zero, One, Other };

// A multiply sign on a coloured square: red for zero, green for one, blue
// for any other gain. Drawn at `pixels` square; 32 keeps it sharp on the
// 16-pixel buttons at double scale.
QImage GainIndicatorImage(GainPicture kind, int pixels = 32);

// The bass-management block diagram: channels 1, 2, 7 and 8 with their
// biquad stages, the cross-feeds between them and the eight gains on them.
// At 176.4 and 192 kHz the device has no channel 7 and no cross-feeds, so
// the three-channel picture shows channels 1, 2 and 8 only. The panel sets
// its buttons on the points below, so picture and buttons agree.
namespace BassManDiagram {
inline constexpr QSize Size{530, 280};

// Centre of the gain button of a bass-management register (0x49 ... 0x50);
// a null point for any other register.
QPoint GainPoint(int subAddress);
// Where the sub-address label of that button goes (above or below it).
QRect GainLabel(int subAddress);

// The biquad boxes the equaliser jump buttons cover: channel 1 or 2 with
// stage 0 ("BQ1-7"), channel 7 or 8 with stage 0 ("BQ1-2") or 1 ("BQ3-7").
QRect BiquadBox(int channel, int stage);
// The vertical centre of a channel's lane at the right edge, where the
// "Other DAP Functions" labels go: channels 1, 2, 7, 8.
int LaneY(int channel);
// The right end of the drawn lanes; the labels start here.
inline constexpr int LanesEnd = 466;
} // namespace BassManDiagram

QImage BassManagementImage(bool threeChannel);
