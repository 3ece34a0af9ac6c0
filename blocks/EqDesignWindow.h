#pragma once

#include "EqDesign.h"

#include <QWidget>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The filter designer opened from the equaliser panel: a filter as an
// engineer states it (type, order, frequency, gain, Q or bandwidth) becomes
// the 20 bytes of the selected biquad at the device's current sample rate.
// FILL BQ puts them into the panel's byte edits only, the scratch copy, so
// APPLY still decides what is written. The window says what storing the
// coefficients in 5.23 does: the largest level deviation over the graph's
// grid, and a warning when the stored filter is unstable. An entry the
// device cannot hold is refused with a message and fills nothing.
class TEqDesignWindow : public QWidget {
    Q_OBJECT
public:
    struct Target {
        int sampleRate = 0;
        QString biquadName; // "Ch2 BQ5"
    };
    // `target` is asked at each FILL BQ; `fill` receives the bytes.
    TEqDesignWindow(std::function<Target()> target, std::function<void(const BiquadWords&)> fill,
                    QWidget* parent = nullptr);

    // The design last filled into the edits, for the response view.
    const std::optional<FilterDesign>& LastDesign() const { return lastDesign_; }
    int LastSampleRate() const { return lastRate_; }

    // Shows what FILL BQ will aim at.
    void UpdateTarget();

    void EQDesignFillButtonClick();

signals:
    void Designed();

private:
    void TypeChanged();
    std::optional<FilterSpec> ReadSpec(QString& problem) const;

    std::function<Target()> target_;
    std::function<void(const BiquadWords&)> fill_;
    QComboBox* type_;
    QComboBox* order_;
    QLineEdit* frequency_;
    QLineEdit* gain_;
    QComboBox* widthKind_;
    QLineEdit* width_;
    QLabel* targetLabel_;
    QLabel* report_;
    QLabel* warning_;
    std::optional<FilterDesign> lastDesign_;
    int lastRate_ = 0;
};
