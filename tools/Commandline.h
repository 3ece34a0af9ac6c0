#pragma once

#include "RegisterBus.h"

#include <QString>
#include <QWidget>

#include <cstdint>

class IFileDialogs;
class IMainWindowHooks;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class RegisterGrid;
class TConfigDataUnit;

// Raw register access: reads or writes one register by its sub-address and
// shows its bytes in two grids of ten words, reads a range of registers into
// a configuration file and sends a configuration file to the device. It also
// holds the device's I2C address, which every register transfer of the tool
// takes from it.
//
// Created once at start-up and only shown and hidden afterwards, so the
// fields keep what the user typed between openings.
class TCommandLineForm : public QWidget, public IDeviceAddressSource {
    Q_OBJECT
public:
    // A grid holds this many bytes; longer registers are handled in part
    // (see suitempGOBitBtnClick).
    static constexpr int GridBytes = 40;

    TCommandLineForm(TConfigDataUnit& table, IRegisterBus& bus, IMainWindowHooks& hooks,
                     IFileDialogs& dialogs, QWidget* parent = nullptr);

    // The 8-bit bus address: the hex value of the third and fourth
    // characters of IICAddrEdit ("0x36" gives 0x36).
    uint8_t GetDeviceAddress() const override;

    // GO: one register read into the read grid, or the write grid written
    // to one register. A register longer than the grid is read whole and
    // stored whole, the grid showing its first bytes; a write sends the
    // edited bytes followed by the register table's own bytes for the rest.
    void suitempGOBitBtnClick();
    // WRITE DATA TO CHIP: sends a configuration file, one write per record.
    void suitempBlockWriteBitBtnClick();
    // READ DATA FROM CHIP: reads START to STOP and saves them to a file.
    void suitempBlockReadBitBtnClick();

private:
    QWidget* BuildByteGroup();
    QWidget* BuildBlockGroup();
    void ConnectSignals();

    void RegAddrEditChange();
    void BlockRangeChange();
    void GoRead(uint8_t address, uint8_t subAddress, int size);
    void GoWrite(uint8_t address, uint8_t subAddress, int size);
    // What every transfer of the window ends with: the start directory is
    // current again and the poll timer runs again if detection is on.
    void EndTransfers();
    void Tell(const QString& message);
    // A sub-address field read as a byte field: "1" is 0x10, "1g" too.
    static uint8_t HexField(const QLineEdit* edit);

    TConfigDataUnit& table_;
    IRegisterBus& bus_;
    IMainWindowHooks& hooks_;
    IFileDialogs& dialogs_;

    QLineEdit* IICAddrEdit = nullptr;
    QLineEdit* RegAddrEdit = nullptr;
    QRadioButton* ReadRadioButton = nullptr;
    QRadioButton* WriteRadioButton = nullptr;
    QPushButton* GOBitBtn = nullptr;
    RegisterGrid* writeGrid_ = nullptr;
    RegisterGrid* readGrid_ = nullptr;
    QPushButton* ZeroWriteDataBitBtn = nullptr;
    QPushButton* ZeroReadDataBitBtn = nullptr;
    QLineEdit* BlockStartAddrEdit = nullptr;
    QLineEdit* BlockStopAddrEdit = nullptr;
    QLineEdit* BlockBytesEdit = nullptr;
    QPushButton* BlockWriteBitBtn = nullptr;
    QPushButton* BlockReadBitBtn = nullptr;
    QPushButton* CloseButton = nullptr;
    // Says what went wrong or what was done only in part; empty otherwise.
    QLabel* MessageLabel = nullptr;

    // Where the next block write and block read dialogs open: the folder of
    // the last file chosen in each, kept apart; empty before the first
    // choice, when the dialog opens in the current folder.
    QString blockWriteFolder_;
    QString blockReadFolder_;
};
