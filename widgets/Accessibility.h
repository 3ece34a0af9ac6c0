#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// How the controls look to the desktop's accessibility interface, through
// which screen readers and automated checks see and drive the tool.
//
// Names: a control whose caption does not tell it from its neighbours (track
// bars, up-downs, small picture buttons, the "0 dB" and "mute" of every
// column) gets a name with setAccessibleName ("MASTER volume", "DAP 1 0 dB");
// an UpDown names its arrows too, with UpDown::SetAccessibleNames.

// Makes the "Toggle" and "Press" actions of every check box and radio button
// a user's click: the button changes and its clicked handling runs (the
// toolkit's own toggle action changes the button without a click). Installed
// once the application object exists; the widget set calls it for every
// block panel and radio group, and the skin for the whole program.
void EnableAccessibleClicks();

// The controls under `root` that a screen reader cannot tell apart: those
// without an accessible name, and those sharing one with a control of the
// same kind in the same panel or group box. Each entry reads
// "<objectName>: no name" or "<objectName>: same name as <other>"; empty when
// every control is told apart.
QStringList ControlsNotToldApart(const QWidget* root);
