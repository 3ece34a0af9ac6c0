#include "LoudnessPanel.h"

#include "ByteEdit.h"
#include "Configdataunit.h"
#include "DecimalHexRow.h"
#include "HandlerGuard.h"
#include "Loudnessunit.h"
#include "MainWindowHooks.h"
#include "Placement.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int GroupTop = BlockPanel::TitleHeight + 2;
constexpr int GroupHeight = 192;
constexpr int NotesTop = GroupTop + GroupHeight + 4;
constexpr int FilesTop = NotesTop + 60;
constexpr int DecimalWidth = 144;
constexpr int HexPitch = 36;
constexpr int BlockWidth = 292;
constexpr int ButtonHeight = 22;

QFrame* AddPanel(QWidget* parent, const QString& name, const QRect& place) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setGeometry(place);
    return panel;
}

} // namespace

TLoudnessPanel::TLoudnessPanel(TConfigDataUnit& table, TLoudness& loudness, const DisplayStrip& strip,
                               IMainWindowHooks& hooks, const QString& startDirectory, QWidget* parent)
    : BlockPanel("PanelLoudness", "LOUDNESS CONTROL", parent), table_(table), loudness_(loudness),
      strip_(strip), hooks_(hooks), startDirectory_(startDirectory) {
    BuildParameters();
    BuildNotes();
    BuildFiles();
}

void TLoudnessPanel::BuildParameters() {
    using Handler = void (TLoudnessPanel::*)();
    struct ParameterDefinition {
        const char* name; // "LG": the stem of the control names
        const char* address;
        int subAddress;
        int firstEditRow; // byte edits Byte1Edit<row> ... Byte4Edit<row>
        int rows;
        Handler enter, convert;
    };
    static constexpr std::array<ParameterDefinition, ParameterCount> definitions = {{
        {"LG", "(Log2 Gain, Address 0x91)", TLoudness::LGRegister, 1, 1,
         &TLoudnessPanel::LGFloatsuiButtonClick, &TLoudnessPanel::LGHEXsuiButtonClick},
        {"G", "(Gain, Address 0x93)", TLoudness::GRegister, 2, 1, &TLoudnessPanel::GFloatsuiButtonClick,
         &TLoudnessPanel::GHEXsuiButtonClick},
        {"LO", "(Log2 Offset, Address 0x92)", TLoudness::LORegister, 3, 2,
         &TLoudnessPanel::LOFloatsuiButtonClick, &TLoudnessPanel::LOHEXsuiButtonClick},
        {"O", "(Offset, Address 0x94)", TLoudness::ORegister, 5, 2, &TLoudnessPanel::OFloatsuiButtonClick,
         &TLoudnessPanel::OHEXsuiButtonClick},
    }};

    auto* group = new QGroupBox("LOUDNESS PARAMETERS (Max = 16.0)", this);
    group->setObjectName("LoudnessParametersGroupBox");
    group->setGeometry(6, GroupTop, Width - 12, GroupHeight);

    const int hexWidth = DecimalHexRow::ByteEditsWidth(HexPitch);
    for (int i = 0; i < ParameterCount; ++i) {
        const ParameterDefinition& d = definitions[static_cast<size_t>(i)];
        const QString name = d.name;
        const int x = 8 + (i % 2) * (BlockWidth + 8);
        const int y = i < 2 ? 20 : 20 + DecimalHexRow::ByteEditsHeight(1) + ButtonHeight + 10;
        const int height = DecimalHexRow::ByteEditsHeight(d.rows) + ButtonHeight + 4;

        QFrame* decimal = AddPanel(group, name + "FloatPanel", {x, y, DecimalWidth, height});
        QLabel* nameLabel = PlaceLabel(decimal, name, {2, 0, 22, 16});
        QFont bold = nameLabel->font();
        bold.setBold(true);
        nameLabel->setFont(bold);
        QLabel* address =
            PlaceLabel(decimal, d.address, {24, 0, DecimalWidth - 24, 30}, Qt::AlignLeft | Qt::AlignTop);
        address->setWordWrap(true);
        auto* edit = new QLineEdit("0.0", decimal);
        edit->setObjectName(name + "Edit");
        edit->setGeometry(2, 34, 92, ButtonHeight);
        edit->setAccessibleName(name + " " + d.address);
        QPushButton* enter =
            PlaceButton(decimal, name + "FloatsuiButton", "ENTER", {96, 34, 46, ButtonHeight});
        enter->setAccessibleName(name + " ENTER");

        QFrame* hex = AddPanel(group, name + "HexPanel", {x + DecimalWidth + 4, y, hexWidth, height});
        QStringList names;
        for (int row = 0; row < d.rows; ++row)
            for (int byte = 1; byte <= 4; ++byte)
                names << QString("Byte%1Edit%2").arg(byte).arg(d.firstEditRow + row);
        std::vector<ByteEdit*> edits = DecimalHexRow::BuildByteEdits(hex, names, name, 0, 0, HexPitch);
        QPushButton* convert =
            PlaceButton(hex, name + "HEXsuiButton", "Convert Hex To Float",
                        {0, DecimalHexRow::ByteEditsHeight(d.rows) + 2, hexWidth, ButtonHeight});
        convert->setAccessibleName(name + " Convert Hex To Float");

        rows_[static_cast<size_t>(i)] = new DecimalHexRow(edit, std::move(edits), this);
        subAddresses_[static_cast<size_t>(i)] = d.subAddress;
        ConnectGuarded(enter, &QPushButton::clicked, this, d.enter);
        ConnectGuarded(convert, &QPushButton::clicked, this, d.convert);
    }
}

void TLoudnessPanel::BuildNotes() {
    QLabel* warning = PlaceLabel(this, "Loudness Data applies to all DAP Channels.", {10, NotesTop, 300, 18});
    warning->setObjectName("LoudnessWarningLabel");
    PlaceLabel(this, "G > zero will turn Loudness ON.", {10, NotesTop + 18, 300, 18});
    PlaceLabel(this, "\"G=zero and O=zero\" will turn Loudness OFF.", {10, NotesTop + 36, 300, 18});

    QPushButton* send = PlaceButton(this, "LoudnessApplysuiButton", "SEND LG,  G,  LO && O to Device",
                                    {318, NotesTop + 2, 200, 24});
    QPushButton* cancel = PlaceButton(this, "LoudnessCancelsuiButton", "CANCEL", {524, NotesTop + 2, 84, 24});
    ConnectGuarded(send, &QPushButton::clicked, this, &TLoudnessPanel::LoudnessApplysuiButtonClick);
    ConnectGuarded(cancel, &QPushButton::clicked, this, &TLoudnessPanel::LoudnessCancelsuiButtonClick);
}

void TLoudnessPanel::BuildFiles() {
    auto* group = new QGroupBox("LOUDNESS FILTER FILES created in RoomFit (Address 0x95)", this);
    group->setObjectName("LoudnessFilesGroupBox");
    group->setGeometry(6, FilesTop, Width - 12, Height - FilesTop - 4);

    fileCombo_ = new QComboBox(group);
    fileCombo_->setObjectName("LoudnessFileLoadComboBox");
    fileCombo_->setEditable(true);
    fileCombo_->setInsertPolicy(QComboBox::NoInsert);
    fileCombo_->setMaxVisibleItems(16);
    fileCombo_->setGeometry(8, 24, 244, 24);
    fileCombo_->setAccessibleName("Loudness file");
    fileCombo_->lineEdit()->setAccessibleName("Loudness file name");
    QPushButton* load = PlaceButton(group, "LoudnessFileLoadsuiButton", "LOAD File && Apply to Device",
                                    {258, 24, 186, 24}, "Send the Contents of this file to the device.");
    QPushButton* examples =
        PlaceButton(group, "LoudnessExamplesuiButton", "LOUDNESS EXAMPLES", {450, 24, 140, 24});
    ConnectGuarded(load, &QPushButton::clicked, this, &TLoudnessPanel::LoudnessFileLoadsuiButtonClick);
    ConnectGuarded(examples, &QPushButton::clicked, this, &TLoudnessPanel::LoudnessExamplesuiButtonClick);
}

void TLoudnessPanel::RefreshLoudness() {
    if (!isHidden() && strip_.AutoDetectStatusLabel->text() == "ON")
        return;
    rows_[LG]->ShowBytes(loudness_.ShowLoudness4(TLoudness::LGRegister));
    rows_[LO]->ShowBytes(loudness_.ShowLoudness8(TLoudness::LORegister));
    rows_[G]->ShowBytes(loudness_.ShowLoudness4(TLoudness::GRegister));
    rows_[O]->ShowBytes(loudness_.ShowLoudness8(TLoudness::ORegister));
    for (int parameter : {LG, G, LO, O})
        rows_[static_cast<size_t>(parameter)]->BytesToText();
}

void TLoudnessPanel::FillLoudnessFileCombo() {
    loudness_.ScanLoudnessFiles(startDirectory_.toStdString());
    FillDataFileCombo(*fileCombo_, loudness_.FileList(), hooks_);
    // A long name shows from its start.
    fileCombo_->lineEdit()->setCursorPosition(0);
}

void TLoudnessPanel::StoreAndWrite(int parameter) {
    const DecimalHexRow& row = *rows_[static_cast<size_t>(parameter)];
    const int subAddress = subAddresses_[static_cast<size_t>(parameter)];
    const std::vector<uint8_t> bytes = row.Bytes();
    if (bytes.size() == 4)
        loudness_.StoreLoudness4(subAddress, std::span<const uint8_t, 4>(bytes.data(), 4));
    else
        loudness_.StoreLoudness8(subAddress, std::span<const uint8_t, 8>(bytes.data(), 8));
    table_.WriteRegister(subAddress);
}

void TLoudnessPanel::LoudnessApplysuiButtonClick() {
    // The device takes the parameters in register order; only the byte
    // edits count, a decimal text not turned into bytes is not sent.
    for (int parameter : {LG, LO, G, O})
        StoreAndWrite(parameter);
}

void TLoudnessPanel::LoudnessCancelsuiButtonClick() {
    hooks_.RefreshAll();
}

void TLoudnessPanel::LoudnessFileLoadsuiButtonClick() {
    const std::string file = ChosenDataFile(*fileCombo_, startDirectory_.toStdString());
    const FileReport report = table_.LoadConfigFile(file);
    if (!report.problems.empty())
        strip_.HelpfulCommentsLabel->setText(fileCombo_->currentText() + ": " +
                                             QString::fromStdString(ProblemSummary(report.problems)));
    hooks_.UpdateGainIndicators();
    hooks_.AdjustToSampleRateMode();
    hooks_.RefreshAll();
}

void TLoudnessPanel::LoudnessExamplesuiButtonClick() {
    hooks_.OpenDocument(ExamplesDocument);
}

void TLoudnessPanel::LGFloatsuiButtonClick() {
    rows_[LG]->TextToBytes();
}
void TLoudnessPanel::GFloatsuiButtonClick() {
    rows_[G]->TextToBytes();
}
void TLoudnessPanel::LOFloatsuiButtonClick() {
    rows_[LO]->TextToBytes();
}
void TLoudnessPanel::OFloatsuiButtonClick() {
    rows_[O]->TextToBytes();
}
void TLoudnessPanel::LGHEXsuiButtonClick() {
    rows_[LG]->BytesToText();
}
void TLoudnessPanel::GHEXsuiButtonClick() {
    rows_[G]->BytesToText();
}
void TLoudnessPanel::LOHEXsuiButtonClick() {
    rows_[LO]->BytesToText();
}
void TLoudnessPanel::OHEXsuiButtonClick() {
    rows_[O]->BytesToText();
}
