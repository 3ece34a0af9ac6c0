#pragma once

#include "BlockPanel.h"
#include "DisplayStrip.h"

class RadioGroup;
class TConfigDataUnit;
class TDataClocks;

// The serial interface panel: the choice of the device's serial audio
// format. The sample-rate and MCLK texts it refreshes live in the display
// strip.
class TClockControlPanel : public BlockPanel {
    Q_OBJECT
public:
    // `strip` must hold LabelFsUnits, LabelMclkUnits, LabelFormatType and
    // LabelFormatBits.
    TClockControlPanel(TConfigDataUnit& table, TDataClocks& clocks, const DisplayStrip& strip,
                       QWidget* parent = nullptr);

    // Rate and MCLK texts from the device's clock register, and the format
    // item from register 0x0E (a different item runs the click handling).
    void RefreshClocks();
    // The FORMAT labels of the display strip for the item shown.
    void ShowFormatLabels();

    void SerialFormatRadioGroupClick();

private:
    TConfigDataUnit& table_;
    TDataClocks& clocks_;
    DisplayStrip strip_;
    RadioGroup* serialFormatRadioGroup_;
};
