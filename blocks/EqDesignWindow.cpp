#include "EqDesignWindow.h"

#include "HandlerGuard.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <charconv>
#include <cmath>

namespace {

template <class T> T* Named(T* widget, const char* name, const QString& accessibleName) {
    widget->setObjectName(name);
    widget->setAccessibleName(accessibleName);
    return widget;
}

// The whole text as a decimal number ("." whatever the locale), or nothing.
std::optional<double> Number(const QString& text) {
    const std::string s = text.trimmed().toStdString();
    const char* begin = s.data() + (!s.empty() && s.front() == '+');
    double value = 0;
    const auto [end, error] = std::from_chars(begin, s.data() + s.size(), value);
    if (s.empty() || error != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

TEqDesignWindow::TEqDesignWindow(std::function<Target()> target, std::function<void(const BiquadWords&)> fill,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), target_(std::move(target)), fill_(std::move(fill)) {
    setObjectName("EQDesignWindow");
    setWindowTitle("Filter Designer");
    setAccessibleName("Filter Designer");

    type_ = Named(new QComboBox(this), "EQDesignTypeComboBox", "Filter type");
    for (FilterType type : AllFilterTypes)
        type_->addItem(
            QString::fromUtf8(FilterTypeName(type).data(), static_cast<int>(FilterTypeName(type).size())));
    order_ = Named(new QComboBox(this), "EQDesignOrderComboBox", "Order");
    order_->addItems({"Second order", "First order"});
    frequency_ = Named(new QLineEdit("1000", this), "EQDesignFrequencyEdit", "Frequency in Hz");
    gain_ = Named(new QLineEdit("0", this), "EQDesignGainEdit", "Gain in dB");
    widthKind_ = Named(new QComboBox(this), "EQDesignWidthKindComboBox", "Width given as");
    widthKind_->addItems({"Q", "Bandwidth (octaves)"});
    width_ = Named(new QLineEdit("0.7071", this), "EQDesignWidthEdit", "Q or bandwidth");

    auto* form = new QFormLayout;
    form->addRow("Type", type_);
    form->addRow("Order", order_);
    form->addRow("Frequency (Hz)", frequency_);
    form->addRow("Gain (dB)", gain_);
    form->addRow(widthKind_, width_);

    targetLabel_ = Named(new QLabel(this), "EQDesignTargetLabel", "Biquad filled");
    report_ = Named(new QLabel(this), "EQDesignReportLabel", "Quantisation report");
    report_->setWordWrap(true);
    warning_ = Named(new QLabel(this), "EQDesignWarningLabel", "Designer message");
    warning_->setWordWrap(true);
    warning_->setStyleSheet("color: #c00000; font-weight: bold;");

    auto* fillButton =
        Named(new QPushButton("FILL BQ", this), "EQDesignFillButton", "Fill the biquad's edits");
    fillButton->setToolTip(
        "Put the designed coefficients into the selected biquad's edits; APPLY writes them.");
    auto* closeButton = Named(new QPushButton("CLOSE", this), "EQDesignCloseButton", "Close the designer");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fillButton);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(targetLabel_);
    layout->addLayout(buttons);
    layout->addWidget(report_);
    layout->addWidget(warning_);
    setMinimumWidth(340);

    ConnectGuarded(type_, &QComboBox::currentIndexChanged, this, &TEqDesignWindow::TypeChanged);
    ConnectGuarded(order_, &QComboBox::currentIndexChanged, this, &TEqDesignWindow::TypeChanged);
    ConnectGuarded(fillButton, &QPushButton::clicked, this, &TEqDesignWindow::EQDesignFillButtonClick);
    ConnectGuarded(closeButton, &QPushButton::clicked, this, &QWidget::close);
    TypeChanged();
}

void TEqDesignWindow::TypeChanged() {
    const FilterType type = AllFilterTypes[static_cast<size_t>(std::max(0, type_->currentIndex()))];
    order_->setEnabled(HasFirstOrder(type));
    if (!HasFirstOrder(type))
        order_->setCurrentIndex(0);
    const bool secondOrder = order_->currentIndex() == 0;
    gain_->setEnabled(HasGain(type));
    widthKind_->setEnabled(secondOrder);
    width_->setEnabled(secondOrder);
}

void TEqDesignWindow::UpdateTarget() {
    const Target target = target_();
    targetLabel_->setText(
        QString("Fills %1 at %2 Hz (APPLY writes it)").arg(target.biquadName).arg(target.sampleRate));
}

std::optional<FilterSpec> TEqDesignWindow::ReadSpec(QString& problem) const {
    FilterSpec spec;
    spec.type = AllFilterTypes[static_cast<size_t>(std::max(0, type_->currentIndex()))];
    spec.order = order_->isEnabled() && order_->currentIndex() == 1 ? 1 : 2;
    const std::optional<double> frequency = Number(frequency_->text());
    const std::optional<double> gain =
        HasGain(spec.type) ? Number(gain_->text()) : std::optional<double>(0.0);
    const std::optional<double> width =
        spec.order == 2 ? Number(width_->text()) : std::optional<double>(0.7071);
    if (!frequency)
        problem = "The frequency is not a number";
    else if (!gain)
        problem = "The gain is not a number";
    else if (!width)
        problem = widthKind_->currentIndex() == 0 ? "Q is not a number" : "The bandwidth is not a number";
    if (!problem.isEmpty())
        return std::nullopt;
    spec.frequency = *frequency;
    spec.gainDb = *gain;
    spec.width = *width;
    spec.widthKind = widthKind_->currentIndex() == 0 ? WidthKind::Q : WidthKind::Bandwidth;
    return spec;
}

void TEqDesignWindow::EQDesignFillButtonClick() {
    UpdateTarget();
    const Target target = target_();
    report_->clear();
    QString problem;
    const std::optional<FilterSpec> spec = ReadSpec(problem);
    if (!spec) {
        warning_->setText(problem + ": nothing filled");
        return;
    }
    const FilterDesign design = DesignFilter(*spec, target.sampleRate);
    if (!design.error.empty()) {
        warning_->setText(QString::fromStdString(design.error) + ": nothing filled");
        return;
    }
    fill_(design.bytes);
    lastDesign_ = design;
    lastRate_ = target.sampleRate;
    report_->setText(QString("Filled %1. Largest deviation after rounding to 5.23: %2 dB (at %3 Hz)")
                         .arg(target.biquadName, QString::number(design.report.maxDeviationDb, 'g', 3))
                         .arg(design.report.worstFrequency, 0, 'f', 0));
    QStringList warnings;
    for (const std::string& warning : design.warnings)
        warnings << "Warning: " + QString::fromStdString(warning);
    warning_->setText(warnings.join('\n'));
    emit Designed();
}
