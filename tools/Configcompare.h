#pragma once

#include <QString>
#include <QWidget>

#include <array>

class IFileDialogs;
class IMainWindowHooks;
class IRegisterBus;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class TConfigDataUnit;
class TRegisterCompareForm;

// Three configuration files at hand, in slots A, B and C, each with its own
// history of names: any of them is sent to the device with one click, and
// "File Diff" opens the built-in register compare of any two of the slots,
// the register table and the device. The device check reads back every
// register of a chosen file and lists those the device holds otherwise.
//
// Created once at start-up and only shown and hidden afterwards, so the
// slots keep their lists for the program's life.
class TConfigCompareForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int SlotCount = 3;

    TConfigCompareForm(TConfigDataUnit& table, const IRegisterBus& bus, IMainWindowHooks& hooks,
                       IFileDialogs& dialogs, QWidget* parent = nullptr);

    // The file name slot 0..2 holds now, typed or chosen.
    QString SlotFile(int slot) const;
    TRegisterCompareForm& RegisterCompare() { return *registerCompare_; }

    void AClearsuiButtonClick();
    void BClearsuiButtonClick();
    void CClearsuiButtonClick();
    void ABrowsesuiButtonClick();
    void BBrowsesuiButtonClick();
    void CBrowsesuiButtonClick();
    void ASendsuiButtonClick();
    void BSendsuiButtonClick();
    void CSendsuiButtonClick();
    void EditsuiButtonClick();
    void VerifyDevicesuiButtonClick();
    void CloseButtonClick();

private:
    QWidget* BuildSlot(int slot);
    QWidget* BuildDeviceCheck();
    void Clear(int slot);
    void Browse(int slot);
    void Send(int slot);
    void VerifyDevice(const QString& fileName);

    TConfigDataUnit& table_;
    IMainWindowHooks& hooks_;
    IFileDialogs& dialogs_;
    std::array<QComboBox*, SlotCount> combos_{};
    QLabel* messageLabel_ = nullptr;
    QLabel* verifyResultLabel_ = nullptr;
    QPlainTextEdit* verifyResultList_ = nullptr;
    TRegisterCompareForm* registerCompare_ = nullptr;
};
