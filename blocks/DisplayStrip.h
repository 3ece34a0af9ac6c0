#pragma once

class QLabel;
class UpDown;

// The display strip under the panel area: the value labels that several
// blocks write. The main window owns the widgets.
struct DisplayStrip {
    QLabel* LabelBiquadUnits = nullptr;
    QLabel* LabelFsUnits = nullptr;
    QLabel* LabelFormatType = nullptr;
    QLabel* LabelFormatBits = nullptr;
    QLabel* LabelBankAutoMan = nullptr;
    QLabel* LabelBankSelected = nullptr;
    QLabel* LabelMclkUnits = nullptr;
    QLabel* AutoDetectStatusLabel = nullptr;
    QLabel* LabelStatusUnits = nullptr;
    QLabel* HelpfulCommentsLabel = nullptr;
    QLabel* LabelVolumeUnits = nullptr;
    UpDown* MainMasterUpDown = nullptr;
};
