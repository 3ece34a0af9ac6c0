#include "MixerPanel.h"

#include "Configdataunit.h"
#include "GainEntry.h"
#include "HandlerGuard.h"
#include "Mixersunit.h"
#include "Placement.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

constexpr int InputRegister = 0x40; // + DAP channel
const char* const InputNames[8] = {"CH1 (A)", "CH2 (B)", "CH3 (C)", "CH4 (D)",
                                   "CH5 (E)", "CH6 (F)", "CH7 (G)", "CH8 (H)"};
constexpr char RowLetters[3] = {'a', 'b', 'c'};

struct Output {
    int subAddress;
    const char* title;
    const char* description;
};
const Output Outputs[4] = {{0xAA, "PWM 1 (S) (0xAA)", "sel op1-4 and Mix to S"},
                           {0xAB, "PWM 2 (T) (0xAB)", "sel op1-4 and Mix to T"},
                           {0xB0, "PWM 3 (Y) (0xB0)", "sel op1-8 and Mix to Y"},
                           {0xB1, "PWM 4 (Z) (0xB1)", "sel op1-8 and Mix to Z"}};
const char* const SourceTexts[4] = {"DAP Ch1  ", "DAP Ch2  ", "DAP Ch3  ", "DAP Ch4  "};

// The input matrix: inputs down, DAP channels across.
constexpr int RowTop = 46, RowPitch = 25;
constexpr int DapLeft = 170, DapPitch = 104, DapWidth = 96;
constexpr QRect MixerPlace{8, 60, 598, 280};

QString RowName(int input, int dap) {
    return QString("r_%1_to_ipmix[%2]").arg(QChar('A' + input - 1)).arg(dap);
}

} // namespace

TMixerPanel::TMixerPanel(const TConfigDataUnit& table, TMixers& mixers, IGainEntry& gain, QWidget* parent)
    : BlockPanel("PanelMixer", "MIXER CONTROL", parent), table_(table), mixers_(mixers), gain_(gain) {
    auto* input = new QPushButton("Input Mixer", this);
    input->setObjectName("MixerInputsuiButton");
    input->setGeometry(8, 32, 96, 24);
    auto* output = new QPushButton("Output Mixer", this);
    output->setObjectName("MixerOutputsuiButton");
    output->setGeometry(112, 32, 96, 24);
    ConnectGuarded(input, &QPushButton::clicked, this, &TMixerPanel::MixerInputsuiButtonClick);
    ConnectGuarded(output, &QPushButton::clicked, this, &TMixerPanel::MixerOutputsuiButtonClick);

    auto* map = new QFrame(this);
    map->setObjectName("MapPanel");
    map->setGeometry(400, 32, 200, 26);
    legend_ = MakeGainLegend(map, "Mixer", QPoint(4, 2));

    BuildInputMixer();
    BuildOutputMixer();
    inputBox_->raise();
}

void TMixerPanel::BuildInputMixer() {
    inputBox_ = new QGroupBox("INPUT MIXER", this);
    inputBox_->setObjectName("MixerInputGroupBox");
    inputBox_->setGeometry(MixerPlace);
    inputBox_->setAutoFillBackground(true);

    PlaceLabel(inputBox_, "Serial Data In", QRect(8, 22, 140, 18));
    for (int line = 0; line < 4; ++line)
        PlaceLabel(inputBox_, QString("SDIN%1").arg(line + 1),
                   QRect(8, RowTop + 2 * line * RowPitch - 9, 50, 2 * RowPitch - 4));
    for (int m = 1; m <= 8; ++m)
        PlaceLabel(inputBox_, InputNames[m - 1], QRect(66, RowTop + (m - 1) * RowPitch - 9, 90, 18));

    for (int n = 1; n <= 4; ++n) {
        auto* box = new QGroupBox(QString("DAP%1").arg(n), inputBox_);
        box->setObjectName(QString("DAP%1InMixGroupBox").arg(n));
        box->setGeometry(DapLeft + (n - 1) * DapPitch, 22, DapWidth, RowTop + 8 * RowPitch - 30);
        for (int m = 1; m <= 8; ++m) {
            const QString name = QString("DAP%1Ch%2SpeedButton").arg(n).arg(m);
            QToolButton* button =
                MakeMixingPointButton(box, name, QString("DAP%1 from %2").arg(n).arg(InputNames[m - 1]),
                                      QPoint(DapWidth / 2, RowTop + (m - 1) * RowPitch - 22));
            points_.push_back({button, InputRegister + n, 4 * (m - 1), false, RowName(m, n)});
            ConnectGuarded(button, &QToolButton::clicked, this, [this, n, m] { InputPointClick(n, m); });
        }
    }
    auto* blank = new QGroupBox("No DAP Ch 3 at Fs>96KHz", inputBox_);
    blank->setObjectName("MixerBlankGroupBox");
    blank->setGeometry(DapLeft + 2 * DapPitch, 22, DapWidth, RowTop + 8 * RowPitch - 30);
    blank->hide();
    PlaceLabel(inputBox_, "Digital Audio Processing Channels (Registers 0x41-0x44)",
               QRect(DapLeft, RowTop + 8 * RowPitch - 4, 4 * DapPitch, 18),
               Qt::AlignHCenter | Qt::AlignVCenter);
}

void TMixerPanel::BuildOutputMixer() {
    outputBox_ = new QGroupBox("OUTPUT MIXER", this);
    outputBox_->setObjectName("MixerOutputGroupBox");
    outputBox_->setGeometry(MixerPlace);
    outputBox_->setAutoFillBackground(true);
    for (int pwm = 1; pwm <= 4; ++pwm) {
        const Output& out = Outputs[pwm - 1];
        auto* box = new QGroupBox(out.title, outputBox_);
        box->setObjectName(QString("PWMGroupBox%1").arg(pwm));
        box->setGeometry(8 + ((pwm - 1) % 2) * 292, 22 + ((pwm - 1) / 2) * 128, 284, 120);
        const int rows = TMixers::OutputRows(out.subAddress);
        for (int row = 1; row <= rows; ++row) {
            const QChar letter = RowLetters[row - 1];
            const int y = 24 + (row - 1) * 30;
            PlaceLabel(box, QString("Row %1").arg(letter), QRect(10, y, 40, 22));
            auto* combo = new QComboBox(box);
            combo->setObjectName(QString("PWM%1DAP%2suiComboBox").arg(pwm).arg(letter));
            combo->setAccessibleName(QString("PWM %1 row %2 source").arg(pwm).arg(letter));
            for (const char* text : SourceTexts)
                combo->addItem(text);
            // The first output's second row may also feed nothing chosen:
            // an empty item, read as DAP Ch1.
            if (pwm == 1 && row == 2)
                combo->addItem(QString());
            combo->setGeometry(54, y, 120, 22);
            combos_[static_cast<size_t>(pwm - 1)].push_back(combo);
            // Only the user's choice opens the window; a refresh setting the
            // combo runs nothing.
            ConnectGuarded(combo, &QComboBox::activated, this,
                           [this, pwm, row] { OutputPointClick(pwm, row); });

            const QString name = QString("PWM%1DAPCH%2SpeedButton").arg(pwm).arg(letter);
            QToolButton* button = MakeMixingPointButton(
                box, name, QString("PWM %1 row %2 gain").arg(pwm).arg(letter), QPoint(196, y + 11));
            points_.push_back({button, out.subAddress, 4 * (row - 1), true,
                               QString("row %1 (%2)").arg(letter).arg(out.description)});
            ConnectGuarded(button, &QToolButton::clicked, this,
                           [this, pwm, row] { OutputPointClick(pwm, row); });
        }
    }
}

void TMixerPanel::RefreshMixer() {
    for (int pwm = 1; pwm <= 4; ++pwm) {
        const std::vector<int> items = mixers_.GetSources(Outputs[pwm - 1].subAddress);
        const auto& combos = combos_[static_cast<size_t>(pwm - 1)];
        for (size_t row = 0; row < combos.size() && row < items.size(); ++row)
            combos[row]->setCurrentIndex(items[row]);
    }
}

void TMixerPanel::ShowGainIndicators(TGainPictures& pictures) {
    int shownRegister = -1;
    std::vector<uint8_t> bytes;
    for (const MixingPoint& point : points_) {
        if (point.subAddress != shownRegister) {
            shownRegister = point.subAddress;
            bytes = table_.GetData(shownRegister);
        }
        ShowGainIndicator(point, bytes, pictures);
    }
    ShowGainLegend(legend_, pictures);
}

void TMixerPanel::AdjustToSampleRate(bool) {
    findChild<QGroupBox*>("DAP3InMixGroupBox")->show();
    findChild<QGroupBox*>("DAP4InMixGroupBox")->show();
    findChild<QGroupBox*>("MixerBlankGroupBox")->hide();
}

void TMixerPanel::MixerInputsuiButtonClick() {
    inputBox_->raise();
}

void TMixerPanel::MixerOutputsuiButtonClick() {
    outputBox_->raise();
}

void TMixerPanel::InputPointClick(int dap, int input) {
    std::vector<std::string> descriptions;
    for (int m = 1; m <= 8; ++m)
        descriptions.push_back(RowName(m, dap).toStdString());
    gain_.SetGainLayout(8, false);
    gain_.ClearRowModes();
    gain_.ShowGainWindow(InputRegister + dap, 8, descriptions);
    gain_.FocusRow(input);
}

void TMixerPanel::OutputPointClick(int pwm, int row) {
    const Output& out = Outputs[pwm - 1];
    const auto& combos = combos_[static_cast<size_t>(pwm - 1)];
    const int rows = static_cast<int>(combos.size());
    gain_.SetGainLayout(rows, false);
    gain_.ClearRowModes();
    for (int r = 1; r <= rows; ++r)
        gain_.SetRowMode(r, combos[static_cast<size_t>(r - 1)]->currentIndex());
    gain_.ShowGainWindow(out.subAddress, rows,
                         std::vector<std::string>(static_cast<size_t>(rows), out.description));
    gain_.FocusRow(row);
}
