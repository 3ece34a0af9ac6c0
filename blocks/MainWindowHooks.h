#pragma once

#include <string>

class QWidget;

// What block panels and tool windows need of the main window.
class IMainWindowHooks {
public:
    virtual ~IMainWindowHooks() = default;
    // Brings every panel in line with the register table.
    virtual void RefreshAll() = 0;
    // Reads the sample rate and adapts the panels to the rate mode.
    virtual void AdjustToSampleRateMode() = 0;
    // The sample-rate poll timer, stopped around raw register transfers.
    virtual void StopFsPoll() = 0;
    // Enables the poll timer again when automatic detection is on.
    virtual void ResumeFsPoll() = 0;
    // Makes the start directory current again.
    virtual void RestoreStartDirectory() = 0;
    // A message box with the application title as caption and an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // Shows one block panel in the panel area, adapted and refreshed as a
    // navigation button does.
    virtual void ShowPanel(QWidget* panel) = 0;
    // Sets the mixing-point button pictures of the mixer and
    // bass-management panels from the register table.
    virtual void UpdateGainIndicators() {}
    // Opens a document of the start directory ("QMX4600EQ.PDF") in the
    // desktop's viewer; the window is minimised while the viewer runs. When
    // it cannot be opened, the comment label says "Error Reading <name>".
    virtual void OpenDocument(const std::string& fileName) = 0;
};
