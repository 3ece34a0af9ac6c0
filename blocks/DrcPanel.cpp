#include "DrcPanel.h"

#include "ByteEdit.h"
#include "Compressionunit.h"
#include "Configdataunit.h"
#include "Conversions.h"
#include "DecimalHexRow.h"
#include "HandlerGuard.h"
#include "MainWindowHooks.h"
#include "Placement.h"
#include "RadioGroup.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <stdexcept>

namespace {

// Layout: more controls than one panel face holds, so two pages. The
// first holds what a user works with on one compressor: the energy, attack
// and decay filters, the compressor selector, SEND and CANCEL. The second
// holds the control mode, the alpha calculator and the parameter files.
constexpr int PagesTop = BlockPanel::TitleHeight + 2;
constexpr int PageWidth = BlockPanel::Width - 12;
constexpr int GroupTitle = 18;
constexpr int FieldHeight = 22;
constexpr int HexPitch = 37;
// A filter: its fields and buttons on one line, its bytes on the next.
constexpr int FilterHeight = 26 + 38;
constexpr int EnergyHeight = GroupTitle + FilterHeight + 4;
constexpr int AttackDecayHeight = GroupTitle + 2 * FilterHeight + 4;

// A text set by the program; one wider than its field shows from its start.
void ShowText(QLineEdit* edit, const std::string& text) {
    edit->setText(QString::fromStdString(text));
    if (!edit->hasFocus())
        edit->setCursorPosition(0);
}

// A text the calculation needs as a number; anything else ends the action
// with the error the user sees.
double NumberOf(const QLineEdit* edit) {
    const std::string text = edit->text().toStdString();
    if (const std::optional<double> value = ParseWholeDecimal(text))
        return *value;
    throw std::invalid_argument("'" + text + "' is not a valid floating point value");
}

} // namespace

TDrcPanel::TDrcPanel(TConfigDataUnit& table, TCompression& compression, const DisplayStrip& strip,
                     IMainWindowHooks& hooks, const QString& startDirectory, std::function<int()> sampleRate,
                     QWidget* parent)
    : BlockPanel("PanelDRC", "DYNAMIC RANGE COMPRESSION", parent), table_(table), compression_(compression),
      strip_(strip), hooks_(hooks), startDirectory_(startDirectory), sampleRate_(std::move(sampleRate)) {
    auto* pages = new QTabWidget(this);
    pages->setObjectName("DRCPagesTabWidget");
    pages->setGeometry(6, PagesTop, PageWidth, Height - PagesTop - 4);
    filtersPage_ = new QWidget;
    filtersPage_->setObjectName("DRCFiltersPage");
    settingsPage_ = new QWidget;
    settingsPage_->setObjectName("DRCSettingsPage");
    // The tabs are drawn light, so their captions are dark.
    QPalette tabColours = pages->tabBar()->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        tabColours.setColor(role, QColor(15, 27, 51));
    pages->tabBar()->setPalette(tabColours);
    // The pages keep the panel's navy and its light text.
    for (QWidget* page : {filtersPage_, settingsPage_}) {
        page->setAutoFillBackground(true);
        page->setPalette(palette());
    }
    pages->addTab(filtersPage_, "Alpha E, A && D");
    pages->addTab(settingsPage_, "Control, Calculator && Files");
    BuildFilters();
    BuildSelectors();
    BuildCalculator();
    BuildFiles();
}

void TDrcPanel::BuildFilters() {
    using Handler = void (TDrcPanel::*)();
    struct FilterDefinition {
        const char* letter; // "E", "A", "D"
        const char* field;  // "Energy"
        Handler enter, change, convert;
    };
    static constexpr std::array<FilterDefinition, FilterCount> definitions = {{
        {"E", "Energy", &TDrcPanel::DRCAlphaEgosuiButtonClick, &TDrcPanel::EnergyAlphaChange,
         &TDrcPanel::DRCAlphaEHexgosuiButtonClick},
        {"A", "Attack", &TDrcPanel::DRCAlphaAgosuiButtonClick, &TDrcPanel::AttackAlphaChange,
         &TDrcPanel::DRCAlphaAHexgosuiButtonClick},
        {"D", "Decay", &TDrcPanel::DRCAlphaDgosuiButtonClick, &TDrcPanel::DecayAlphaChange,
         &TDrcPanel::DRCAlphaDHexgosuiButtonClick},
    }};
    auto* energy = new QGroupBox("ENERGY (Address: DRC1=0x98, DRC2=0x9D) (Max Alpha = 16)", filtersPage_);
    energy->setObjectName("EnergyGroupBox");
    energy->setGeometry(2, 2, PageWidth - 8, EnergyHeight);
    auto* attackDecay =
        new QGroupBox("ATTACK && DECAY (Address: DRC1=0x9C, DRC2=0xA1) (Max=16)", filtersPage_);
    attackDecay->setObjectName("AttackDecayGroupBox");
    attackDecay->setGeometry(2, 2 + EnergyHeight + 2, PageWidth - 8, AttackDecayHeight);

    constexpr int nameWidth = 52;
    const int fieldWidth = DecimalHexRow::ByteEditsWidth(HexPitch);
    for (int f = 0; f < FilterCount; ++f) {
        const FilterDefinition& d = definitions[static_cast<size_t>(f)];
        const QString letter = d.letter;
        QGroupBox* group = f == Energy ? energy : attackDecay;
        const int y = GroupTitle + (f == Decay ? FilterHeight : 0);
        const int x1 = 6 + nameWidth, x2 = x1 + fieldWidth + 6, x3 = x2 + fieldWidth + 6;

        PlaceLabel(group, "Alpha " + letter, {6, y, nameWidth, FieldHeight});
        QLineEdit* alpha = PlaceEdit(group, QString(d.field) + "Alpha", "0.0",
                                     {x1, y, fieldWidth, FieldHeight}, "Alpha " + letter);
        QLineEdit* minus = PlaceEdit(group, QString("Minus") + d.field + "Alpha", "0.0",
                                     {x2, y, fieldWidth, FieldHeight}, "1 - Alpha " + letter);
        minus->setEnabled(false);

        QStringList alphaNames, minusNames;
        for (int i = 1; i <= 4; ++i) {
            alphaNames << QString("Alpha%1HexEdit%2").arg(letter).arg(i);
            minusNames << QString("Alpha%1HexEdit%2").arg(letter).arg(i + 4);
        }
        std::vector<ByteEdit*> alphaEdits =
            DecimalHexRow::BuildByteEdits(group, alphaNames, "Alpha " + letter, x1, y + 26, HexPitch);
        std::vector<ByteEdit*> minusEdits =
            DecimalHexRow::BuildByteEdits(group, minusNames, "1 - Alpha " + letter, x2, y + 26, HexPitch);
        for (ByteEdit* edit : minusEdits)
            edit->setEnabled(false);

        QPushButton* enter = PlaceButton(group, QString("DRCAlpha%1gosuiButton").arg(letter), "ENTER",
                                         {x3, y, 60, FieldHeight}, "Update Hex and Send Data to Device");
        enter->setAccessibleName("Alpha " + letter + " ENTER");
        QPushButton* convert =
            PlaceButton(group, QString("DRCAlpha%1HexgosuiButton").arg(letter), "Convert Hex to Float",
                        {x3 + 66, y, group->width() - x3 - 74, FieldHeight}, "Update Float value");
        convert->setAccessibleName("Alpha " + letter + " Convert Hex to Float");

        Filter& filter = filters_[static_cast<size_t>(f)];
        filter.timeConstant =
            PlaceLabel(group, QString(), {x3, y + 42, group->width() - x3 - 8, FieldHeight});
        filter.timeConstant->setObjectName(QString(d.field) + "TimeConstantLabel");
        filter.alpha = new DecimalHexRow(alpha, std::move(alphaEdits), this);
        filter.minus = new DecimalHexRow(minus, std::move(minusEdits), this);
        // The 1 - alpha field only shows; its bytes follow the alpha.
        filter.minus->SetChangeAction({});
        filter.alpha->SetChangeAction([this, change = d.change] { (this->*change)(); });

        ConnectGuarded(enter, &QPushButton::clicked, this, d.enter);
        ConnectGuarded(convert, &QPushButton::clicked, this, d.convert);
        ShowTimeConstant(f);
    }

    const int buttonsY = 2 + EnergyHeight + 2 + AttackDecayHeight + 10;
    QPushButton* send = PlaceButton(filtersPage_, "DRCApplysuiButton", "SEND Alpha E, A && D To Device",
                                    {250, buttonsY, 220, 26});
    QPushButton* cancel =
        PlaceButton(filtersPage_, "DRCCancellsuiButton", "CANCEL", {476, buttonsY, 112, 26});
    ConnectGuarded(send, &QPushButton::clicked, this, &TDrcPanel::DRCApplysuiButtonClick);
    ConnectGuarded(cancel, &QPushButton::clicked, this, &TDrcPanel::DRCCancellsuiButtonClick);
}

void TDrcPanel::BuildSelectors() {
    const int y = 2 + EnergyHeight + 2 + AttackDecayHeight + 2;
    selectGroup_ = new RadioGroup("DRC (DAP Channel)", filtersPage_);
    selectGroup_->setObjectName("DRCSelectRadioGroup");
    selectGroup_->SetColumns(2);
    selectGroup_->setGeometry(2, y, 240, 42);
    selectGroup_->SetItems({"DRC1 (1,2,3)", "DRC2 (4)"});
    selectGroup_->SetItemIndex(0);

    controlGroup_ = new RadioGroup("DRC Control (0x96, 0x97)", settingsPage_);
    controlGroup_->setObjectName("DRCControlRadioGroup");
    controlGroup_->setGeometry(2, 2, 190, 112);
    controlGroup_->SetItems({"No DRC", "Pre-Volume DRC", "Post-Volume DRC"});
    // The panel starts on "No DRC", so a device without compression is left
    // alone by the first refresh.
    controlGroup_->SetItemIndex(TCompression::NoDrc);

    ConnectGuarded(selectGroup_, &RadioGroup::Click, this, &TDrcPanel::DRCSelectRadioGroupClick);
    ConnectGuarded(controlGroup_, &RadioGroup::Click, this, &TDrcPanel::DRCControlRadioGroupClick);
}

void TDrcPanel::BuildCalculator() {
    auto* group = new QGroupBox("Alpha Calculator", settingsPage_);
    group->setObjectName("AlphaCalculatorGroupBox");
    group->setGeometry(198, 2, PageWidth - 206, 112);

    struct Field {
        const char* name;
        const char* label;
        const char* text;
        int x, width;
        QLineEdit** edit;
    };
    const Field fields[] = {
        {"TimeConstantEdit", "Time Constant (ms)", "0", 8, 120, &timeConstantEdit_},
        {"SampleRateEdit", "Data Rate (Hz)", "48000", 134, 100, &sampleRateEdit_},
        {"AlphaEdit", "Alpha", "0", 240, 140, &alphaEdit_},
    };
    for (const Field& f : fields) {
        QLabel* label = PlaceLabel(group, f.label, {f.x, GroupTitle, f.width, 16});
        *f.edit = PlaceEdit(group, f.name, f.text, {f.x, GroupTitle + 16, f.width, FieldHeight}, f.label);
        label->setBuddy(*f.edit);
    }
    const int row2 = GroupTitle + 44;
    calculateButton_ = PlaceButton(group, "DRCAlphaCalcsuiButton", "Calculate", {8, row2, 120, FieldHeight});
    // The calculation also runs when the focus comes to the button or leaves it.
    calculateButton_->installEventFilter(this);
    ConnectGuarded(calculateButton_, &QPushButton::clicked, this, &TDrcPanel::DRCAlphaCalcsuiButtonClick);
    PlaceLabel(group, "Send Alpha E, A or D to Device", {134, row2, 250, FieldHeight});

    using Handler = void (TDrcPanel::*)();
    const std::array<std::pair<const char*, Handler>, FilterCount> transfers = {{
        {"E", &TDrcPanel::DRCAlphaUpdateEsuiButtonClick},
        {"A", &TDrcPanel::DRCAlphaUpdateAsuiButtonClick},
        {"D", &TDrcPanel::DRCAlphaUpdateDsuiButtonClick},
    }};
    for (int f = 0; f < FilterCount; ++f) {
        const QString letter = transfers[static_cast<size_t>(f)].first;
        QPushButton* button =
            PlaceButton(group, "DRCAlphaUpdate" + letter + "suiButton", "Alpha " + letter,
                        {134 + f * 84, row2 + 24, 78, FieldHeight},
                        "Update Alpha " + letter + " Float and Hex and Send Data to Device");
        ConnectGuarded(button, &QPushButton::clicked, this, transfers[static_cast<size_t>(f)].second);
    }
}

void TDrcPanel::BuildFiles() {
    auto* group = new QGroupBox("DRC PARAMETER FILES created in RoomFit", settingsPage_);
    group->setObjectName("DRCParametersGroupBox");
    group->setGeometry(2, 120, PageWidth - 10, 92);
    fileCombo_ = new QComboBox(group);
    fileCombo_->setObjectName("DRCParametersComboBox");
    fileCombo_->setEditable(true);
    fileCombo_->setInsertPolicy(QComboBox::NoInsert);
    fileCombo_->setMaxVisibleItems(16);
    fileCombo_->setGeometry(8, GroupTitle + 4, 300, 24);
    fileCombo_->setAccessibleName("DRC parameter file");
    fileCombo_->lineEdit()->setAccessibleName("DRC parameter file name");
    QPushButton* load =
        PlaceButton(group, "DRCParameterssuiButton", "LOAD File && Apply to Device",
                    {8, GroupTitle + 38, 200, 26}, "Send the Contents of this file to the device.");
    QPushButton* examples =
        PlaceButton(group, "DRCExamplesuiButton", "DRC EXAMPLES", {214, GroupTitle + 38, 140, 26});
    ConnectGuarded(load, &QPushButton::clicked, this, &TDrcPanel::DRCParameterssuiButtonClick);
    ConnectGuarded(examples, &QPushButton::clicked, this, &TDrcPanel::DRCExamplesuiButtonClick);
}

int TDrcPanel::EnergyRegister() const {
    return selectGroup_->ItemIndex() == 1 ? TCompression::Drc2EnergyRegister
                                          : TCompression::Drc1EnergyRegister;
}

void TDrcPanel::RefreshDrc() {
    if (!isHidden() && strip_.AutoDetectStatusLabel->text() == "ON")
        return;
    const int energy = EnergyRegister();
    const std::vector<uint8_t> energyBytes = compression_.ShowEnergy(energy);
    filters_[Energy].alpha->ShowBytes({energyBytes.begin(), energyBytes.begin() + 4});
    filters_[Energy].minus->ShowBytes({energyBytes.begin() + 4, energyBytes.end()});
    const std::vector<uint8_t> attackDecay =
        compression_.ShowAttackDecay(energy + TCompression::AttackDecayOffset);
    for (int f : {Attack, Decay}) {
        const auto first = attackDecay.begin() + (f == Attack ? 0 : 8);
        filters_[static_cast<size_t>(f)].alpha->ShowBytes({first, first + 4});
        filters_[static_cast<size_t>(f)].minus->ShowBytes({first + 4, first + 8});
    }
    // A different mode runs the group's click: the canonical rewrite.
    controlGroup_->SetItemIndex(compression_.GetControlMode());
    for (int f : {Energy, Attack, Decay})
        ConvertHexToFloat(f);
}

void TDrcPanel::AdjustToSampleRate(bool highRate) {
    for (int f = 0; f < FilterCount; ++f)
        ShowTimeConstant(f);
    if (selectorBuiltForHighRate_ == highRate)
        return;
    selectorBuiltForHighRate_ = highRate;
    selectGroup_->SetItems({highRate ? "DRC1(1,2)" : "DRC1(1,2,3)", "DRC2(4)"});
    selectGroup_->SetItemIndex(0);
}

void TDrcPanel::FillDrcFileCombo() {
    compression_.ScanDrcFiles(startDirectory_.toStdString());
    FillDataFileCombo(*fileCombo_, compression_.FileList(), hooks_);
    // A long name shows from its start.
    fileCombo_->lineEdit()->setCursorPosition(0);
}

void TDrcPanel::Enter(int filter, bool whileTyping) {
    const Filter& f = filters_[static_cast<size_t>(filter)];
    f.alpha->TextToBytes();
    const std::optional<double> alpha = ParseWholeDecimal(f.alpha->Decimal()->text().toStdString());
    ShowTimeConstant(filter);
    // Half a number ("-", "1e") while it is being typed: 1 - alpha waits.
    if (!alpha && whileTyping)
        return;
    const double value = NumberOf(f.alpha->Decimal());
    ShowText(f.minus->Decimal(), TCompression::GeneralText(1.0 - value));
    f.minus->TextToBytes();
}

void TDrcPanel::ConvertHexToFloat(int filter) {
    const Filter& f = filters_[static_cast<size_t>(filter)];
    f.alpha->BytesToText();
    const double value = NumberOf(f.alpha->Decimal());
    ShowText(f.minus->Decimal(), TCompression::GeneralText(1.0 - value));
    f.minus->TextToBytes();
    f.minus->BytesToText();
}

void TDrcPanel::ShowTimeConstant(int filter) {
    const Filter& f = filters_[static_cast<size_t>(filter)];
    if (!f.timeConstant || !f.alpha)
        return;
    const int rate = sampleRate_ ? sampleRate_() : 0;
    const std::optional<double> alpha = ParseWholeDecimal(f.alpha->Decimal()->text().toStdString());
    const std::optional<double> ms = alpha ? TCompression::TimeConstantMs(*alpha, rate) : std::nullopt;
    f.timeConstant->setText(ms ? QString("= %1 ms").arg(*ms, 0, 'g', 4) : QString("= - ms"));
    f.timeConstant->setToolTip(QString("The time constant this alpha stands for at %1 Hz").arg(rate));
}

std::vector<uint8_t> TDrcPanel::FilterBytes(int filter) const {
    const Filter& f = filters_[static_cast<size_t>(filter)];
    std::vector<uint8_t> bytes = f.alpha->Bytes();
    const std::vector<uint8_t> minus = f.minus->Bytes();
    bytes.insert(bytes.end(), minus.begin(), minus.end());
    return bytes;
}

void TDrcPanel::DRCApplysuiButtonClick() {
    const int energy = EnergyRegister();
    const std::vector<uint8_t> energyBytes = FilterBytes(Energy);
    compression_.StoreEnergy(energy, std::span<const uint8_t, 8>(energyBytes.data(), 8));
    table_.WriteRegister(energy);
    // T, K and O go out as the table holds them.
    for (int parameter = energy + 1; parameter < energy + TCompression::AttackDecayOffset; ++parameter)
        table_.WriteRegister(parameter);
    std::vector<uint8_t> attackDecay = FilterBytes(Attack);
    const std::vector<uint8_t> decay = FilterBytes(Decay);
    attackDecay.insert(attackDecay.end(), decay.begin(), decay.end());
    compression_.StoreAttackDecay(energy + TCompression::AttackDecayOffset,
                                  std::span<const uint8_t, 16>(attackDecay.data(), 16));
    table_.WriteRegister(energy + TCompression::AttackDecayOffset);
}

void TDrcPanel::DRCCancellsuiButtonClick() {
    hooks_.RefreshAll();
}

void TDrcPanel::DRCSelectRadioGroupClick() {
    hooks_.RefreshAll();
}

void TDrcPanel::DRCControlRadioGroupClick() {
    compression_.WriteSoftMute(0xFF);
    compression_.SetControlMode(controlGroup_->ItemIndex());
    compression_.WriteSoftMute(0x00);
}

void TDrcPanel::DRCAlphaCalcsuiButtonClick() {
    double t = NumberOf(timeConstantEdit_);
    if (t == 0.0) {
        timeConstantEdit_->setText("1");
        t = 1.0;
    }
    double f = NumberOf(sampleRateEdit_);
    if (f == 0.0) {
        sampleRateEdit_->setText("1");
        f = 1.0;
    }
    ShowText(alphaEdit_, TCompression::AlphaText(TCompression::CalcAlpha(t, f)));
}

bool TDrcPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == calculateButton_ &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // Only the user's moves count: the focus leaving with the window (an
        // error box taking it) must not calculate, and so show, once more.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            RunGuarded(this, [this] { DRCAlphaCalcsuiButtonClick(); });
    }
    return BlockPanel::eventFilter(watched, event);
}

void TDrcPanel::TransferAlpha(int filter) {
    filters_[static_cast<size_t>(filter)].alpha->Decimal()->setText(alphaEdit_->text());
    Enter(filter, false);
    DRCApplysuiButtonClick();
}

void TDrcPanel::DRCParameterssuiButtonClick() {
    const bool drc2 = selectGroup_->ItemIndex() == 1;
    compression_.WriteSoftMute(0xFF);
    const std::string file = ChosenDataFile(*fileCombo_, startDirectory_.toStdString());
    const FileReport report = table_.LoadKeyedFile(file, drc2 ? TCompression::Drc2Offset : 0);
    if (!report.problems.empty())
        strip_.HelpfulCommentsLabel->setText(fileCombo_->currentText() + ": " +
                                             QString::fromStdString(ProblemSummary(report.problems)));
    table_.WriteRegister(drc2 ? TCompression::Drc2ControlRegister : TCompression::Drc1ControlRegister);
    compression_.WriteSoftMute(0x00);
}

void TDrcPanel::DRCExamplesuiButtonClick() {
    hooks_.OpenDocument(ExamplesDocument);
}

void TDrcPanel::DRCAlphaEgosuiButtonClick() {
    Enter(Energy, false);
}
void TDrcPanel::DRCAlphaAgosuiButtonClick() {
    Enter(Attack, false);
}
void TDrcPanel::DRCAlphaDgosuiButtonClick() {
    Enter(Decay, false);
}
void TDrcPanel::EnergyAlphaChange() {
    Enter(Energy, true);
}
void TDrcPanel::AttackAlphaChange() {
    Enter(Attack, true);
}
void TDrcPanel::DecayAlphaChange() {
    Enter(Decay, true);
}
void TDrcPanel::DRCAlphaEHexgosuiButtonClick() {
    ConvertHexToFloat(Energy);
}
void TDrcPanel::DRCAlphaAHexgosuiButtonClick() {
    ConvertHexToFloat(Attack);
}
void TDrcPanel::DRCAlphaDHexgosuiButtonClick() {
    ConvertHexToFloat(Decay);
}
void TDrcPanel::DRCAlphaUpdateEsuiButtonClick() {
    TransferAlpha(Energy);
}
void TDrcPanel::DRCAlphaUpdateAsuiButtonClick() {
    TransferAlpha(Attack);
}
void TDrcPanel::DRCAlphaUpdateDsuiButtonClick() {
    TransferAlpha(Decay);
}
