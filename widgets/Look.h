#pragma once

#include "TransportUi.h"

#include <QString>

class QApplication;
class QFrame;
class QLabel;
class QWidget;

// The program-wide look: one style for every window.
void ApplySkin(QApplication& app);

// A block panel of the main window: navy, with its title at the top.
QFrame* MakeBlockPanel(const QString& objectName, const QString& title, QWidget* parent);

// Label text colours that the program sets (status texts in red or green).
void SetTextColour(QLabel* label, Rgb colour);
Rgb TextColour(const QLabel* label);
