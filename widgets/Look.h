#pragma once

#include "TransportUi.h"

#include <QString>

class QApplication;
class QLabel;

// The program-wide look: one style for every window.
void ApplySkin(QApplication& app);

// Label text colours that the program sets (status texts in red or green).
void SetTextColour(QLabel* label, Rgb colour);
Rgb TextColour(const QLabel* label);
