#pragma once

#include "BlockPanel.h"
#include "Configcontrolunit.h"
#include "DisplayStrip.h"

#include <array>

class QGroupBox;
class QLabel;
class RadioGroup;
class TConfigDataUnit;

// The bank panel: the bank selection and, for automatic mode, which bank each
// of the eight sample rates uses. A click in any of its nine radio groups
// shows the mode in the display strip and writes the whole of register 0x40
// from the panel's choices, keeping only byte 0 from the register table.
//
// The panel is never set from the register: a configuration file or the
// register window can leave the device on other banks than the panel shows.
// A one-line notice says so, with the bytes the table holds, until the next
// click writes the panel's choices again.
class TConfigControlPanel : public BlockPanel {
    Q_OBJECT
public:
    // `strip` must hold LabelBankAutoMan and LabelBankSelected.
    TConfigControlPanel(TConfigDataUnit& table, TConfigControl& control, const DisplayStrip& strip,
                        QWidget* parent = nullptr);

    // The bank selection item shown (0 in the window layout).
    int SelectionItem() const;
    // Shows or clears the notice: whether register 0x40 in the table differs
    // from what the panel would write. Changes no control, writes nothing.
    void ShowRegisterNotice();

    void BankSelectRadioGroupClick();
    void Bank32kRadioGroupClick();
    void Bank38kRadioGroupClick();
    void Bank44kRadioGroupClick();
    void Bank48kRadioGroupClick();
    void Bank88kRadioGroupClick();
    void Bank96kRadioGroupClick();
    void Bank176kRadioGroupClick();
    void Bank192kRadioGroupClick();

private:
    void BuildSelection();
    void BuildRateMap();
    void BuildNotes();
    // What every click in the panel does.
    void BankAction();
    TConfigControl::RateItems RateItems() const;

    TConfigDataUnit& table_;
    TConfigControl& control_;
    DisplayStrip strip_;
    RadioGroup* bankSelectRadioGroup_ = nullptr;
    QGroupBox* fsToBankGroupBox_ = nullptr;
    std::array<RadioGroup*, TConfigControl::RateCount> rateGroups_{};
    QLabel* noticeLabel_ = nullptr;
};
