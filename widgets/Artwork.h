#pragma once

#include <QPixmap>
#include <QSize>

// The main window's pictures, painted at the size asked for so that they stay
// sharp on any screen and the program ships no picture files of its own.
// An empty size gives a null pixmap.

// Covers the panel area until the first panel is chosen: the product's name
// and the tool's title.
QPixmap StartPicture(QSize size);

// The device's signal flow, from the serial inputs to the PWM outputs.
QPixmap BlockDiagramPicture(QSize size);

// A quiet background for the panel area.
QPixmap PanelBackground(QSize size);

// The decorative strip along the bottom of the main window.
QPixmap BottomStrip(QSize size);
