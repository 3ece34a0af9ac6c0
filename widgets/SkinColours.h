#pragma once

#include <QColor>

// The few colours the skin, the panels and the artwork share, so that a
// panel title, a painted picture and a dialog agree on what "navy" is.
namespace SkinColours {
inline const QColor Navy{0, 0, 128};
inline const QColor Window{30, 38, 56};
inline const QColor WindowDeep{20, 26, 40};
inline const QColor WindowText{230, 235, 245};
inline const QColor Base{251, 252, 254};
inline const QColor BaseText{15, 27, 51};
inline const QColor ButtonFace{220, 228, 240};
inline const QColor Accent{59, 125, 221};
inline const QColor Title{255, 214, 10};
inline const QColor Muted{125, 135, 153};
} // namespace SkinColours
