#pragma once

#include "TransportUi.h"

#include <QString>

class QApplication;
class QLabel;
class QWidget;

// The program-wide look: one style for every window. Text colours come from
// the palette, never from a style sheet rule for labels, so SetTextColour
// always shows. A widget's property "role" picks a variant: "display" (the
// framed display panels), "banner", "caption", "value" and "comment" labels,
// and "small" buttons.
void ApplySkin(QApplication& app);

// Label text colours that the program sets (status texts in red or green).
void SetTextColour(QLabel* label, Rgb colour);
Rgb TextColour(const QLabel* label);

// Sizes a top-level window to its contents and moves it to the middle of the
// screen it is on; for a window about to be shown.
void CentreOnScreen(QWidget* window);
