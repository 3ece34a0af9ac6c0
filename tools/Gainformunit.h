#pragma once

#include "GainEntry.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ByteEdit;
class DecimalHexRow;
class IMainWindowHooks;
class IRegisterBus;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TConfigDataUnit;

// "Mixer Settings": one mixer or bass-management gain register of one to
// eight 32-bit words, each word shown as a decimal number, as its four bytes
// and in decibels, written to the device by Apply or OK.
//
// The edits are a scratch copy of the register: nothing reaches the device
// or the register table before Apply or OK. In an output-mixer word the top
// nibble selects the DAP channel feeding the row; the row mode is that code,
// forced into every byte the row shows. Rows without a forced mode keep the
// sign copies a 5.23 word has there.
//
// Created once at start-up, shown without blocking the main window, hidden
// (never destroyed) when closed.
class TGainForm : public QDialog, public IGainEntry {
    Q_OBJECT
public:
    static constexpr int RowCount = 8;

    TGainForm(TConfigDataUnit& table, IRegisterBus& bus, IMainWindowHooks& hooks, QWidget* parent = nullptr);
    ~TGainForm() override;

    // --- IGainEntry ---
    void SetGainLayout(int rows, bool toggle) override;
    void ClearRowModes() override;
    void SetRowMode(int row, int selectionIndex) override;
    void ShowGainWindow(int subAddress, int rows, const std::vector<std::string>& descriptions) override;
    void FocusRow(int row) override;

    // The code a source combo's item stands for: 1 -> 0x10, 2 -> 0x60,
    // 3 -> 0x70, anything else 0x00.
    static uint8_t RowModeFor(int selectionIndex);
    uint8_t RowMode(int row) const { return rows_[row - 1].mode; }
    int RowsInUse() const { return rowsInUse_; }

    // Shows register bytes in rows 1..n: each word's first byte with the row
    // mode in its top nibble, every byte as two upper-case digits.
    void LoadGainRows(const std::vector<uint8_t>& bytes, int n);

    // The three entries of row k (1..8) and their common tail.
    void FloatEnter(int row);
    void HexEnter(int row);
    void DbEnter(int row);
    void ForceRowMode(int row);
    void ShowRowDb(int row);

    // Apply: the bytes of all rows to the register named in Address, on the
    // bus first and then in the table, only as many as the register has;
    // then the main window is refreshed and its gain pictures set again.
    void WriteGainRegister();

    void AOKBitBtnClick();
    void ApplyBitBtnClick();
    void CancelBitBtnClick();
    void TogglesuiButtonClick();

protected:
    // Escape and the title bar's close button hide the window, as Cancel.
    void reject() override;

private:
    struct Row {
        QGroupBox* box = nullptr;
        QLineEdit* description = nullptr;
        QLineEdit* floatEdit = nullptr;
        std::array<ByteEdit*, 4> bytes{};
        QLineEdit* dbEdit = nullptr;
        DecimalHexRow* value = nullptr;
        uint8_t mode = 0x00;
        bool forced = false;
    };

    void BuildRow(int row);
    void BuildLegend(int line);
    void BuildButtons();

    TConfigDataUnit& table_;
    IRegisterBus& bus_;
    IMainWindowHooks& hooks_;

    std::array<Row, RowCount> rows_;
    std::array<QLabel*, 2> legends_{};
    QLineEdit* address_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* toggle_ = nullptr;
    int rowsInUse_ = 1;
    // The toggle's next press gives 0 and 1 when true, 1 and 0 otherwise.
    bool toggleGivesZeroFirst_ = true;
};
