#pragma once

#include "RegisterCompare.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class IMainWindowHooks;
class IRegisterBus;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TConfigDataUnit;

// The register compare: any two of the three configuration slots, the
// register table and the device (read back when the compare runs), side by
// side register by register with the differing bytes marked and the values
// decoded where the format is known. A register of either side can be sent
// to the device from here, through the register table like every write.
class TRegisterCompareForm : public QWidget {
    Q_OBJECT
public:
    enum Source { SlotA, SlotB, SlotC, Table, Device, SourceCount };

    // `slotFile` gives the file name a slot's combo box holds now.
    TRegisterCompareForm(TConfigDataUnit& table, const IRegisterBus& bus, IMainWindowHooks& hooks,
                         std::function<QString(int slot)> slotFile, QWidget* parent = nullptr);

    void SetSources(Source left, Source right);
    const RegisterComparison& Comparison() const { return comparison_; }

    void CompareButtonClick();
    void OnlyDifferencesCheckBoxClick();
    void CopyDifferencesButtonClick();
    void SendLeftButtonClick();
    void SendRightButtonClick();

private:
    RegisterImage ImageOf(Source source);
    void ShowRows();
    void ShowProblems();
    void SendSide(bool left);
    void Tell(const QString& message);

    TConfigDataUnit& table_;
    const IRegisterBus& bus_;
    IMainWindowHooks& hooks_;
    std::function<QString(int)> slotFile_;

    QComboBox* leftSource_ = nullptr;
    QComboBox* rightSource_ = nullptr;
    QCheckBox* onlyDifferences_ = nullptr;
    QLabel* problemsLabel_ = nullptr;
    QLabel* summaryLabel_ = nullptr;
    QTableWidget* registerTable_ = nullptr;
    QLabel* messageLabel_ = nullptr;

    RegisterImage left_, right_;
    RegisterComparison comparison_;
    bool compared_ = false;
    // The comparison row each table row shows.
    std::vector<int> shownRows_;
};
