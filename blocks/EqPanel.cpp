#include "EqPanel.h"

#include "ByteEdit.h"
#include "Configdataunit.h"
#include "DataFileCombo.h"
#include "Dataclocksunit.h"
#include "EqChart.h"
#include "FileDialogs.h"
#include "HandlerGuard.h"
#include "MainWindowHooks.h"
#include "Placement.h"
#include "RadioGroup.h"
#include "UpDown.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int Top = BlockPanel::TitleHeight + 2;
constexpr const char* ExamplesDocument = "QMX4600EQ.PDF";

// The edit grid: five coefficient rows, four byte columns (bits 31:24 on
// the left). The names carry the row and the byte's place in the word.
struct RowDefinition {
    const char* label;
    const char* stem;
};
constexpr RowDefinition Rows[TEQ::CoefficientCount] = {
    {"b0", "BQb1Edit"}, {"b1", "BQb2Edit"}, {"b2", "BQb3Edit"}, {"a1", "BQa1Edit"}, {"a2", "BQa2Edit"}};
constexpr const char* ColumnLabels[4] = {"31:24", "23:16", "15:8", "7:0"};
constexpr int GridLeft = 30, GridTop = 36, ColumnPitch = 44, RowPitch = 22;

// An edit's text as the byte reader takes it: a character outside ASCII is
// no hex digit and must not be mistaken for the bytes of its encoding.
std::string FieldText(const QString& text) {
    std::string field;
    for (const QChar c : text.left(2))
        field += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?';
    return field;
}

QStringList ChannelItems(bool highRate) {
    return {"Ch1", "Ch2", highRate ? QString() : QString("Ch3"), "Ch4"};
}

} // namespace

TEqPanel::TEqPanel(TConfigDataUnit& table, TEQ& eq, TDataClocks& clocks, const DisplayStrip& strip,
                   IMainWindowHooks& hooks, const QString& startDirectory, QWidget* parent)
    : BlockPanel("PanelBiquad", "EQ CONTROL", parent), table_(table), eq_(eq), clocks_(clocks), strip_(strip),
      hooks_(hooks), startDirectory_(startDirectory) {
    TitleLabel()->setObjectName("LabelEQControl");
    BuildSelectors();
    BuildBiquadGrid();
    BuildButtons();
    BuildChart();
    Connect();
}

void TEqPanel::BuildSelectors() {
    dapGroup_ = new RadioGroup("DAP", this);
    dapGroup_->setObjectName("EQDAPCHRadioGroup");
    dapGroup_->setGeometry(6, Top, 96, 108);
    dapGroup_->SetItems(ChannelItems(false));
    dapGroup_->SetItemIndex(0);

    eqGroup_ = new RadioGroup("EQ", this);
    eqGroup_->setObjectName("EQEQRadioGroup");
    eqGroup_->setGeometry(6, Top + 112, 96, 196);
    QStringList biquads;
    for (int i = 1; i <= TEQ::BiquadCount; ++i)
        biquads << QString("BQ%1").arg(i);
    eqGroup_->SetItems(biquads);
    eqGroup_->SetItemIndex(0);

    // Lies over the Ch3 item while the device runs at a high rate.
    hideCh3_ = new QGroupBox(this);
    hideCh3_->setObjectName("GroupBoxHideCh3EQ");
    hideCh3_->setAccessibleName("Ch3 not available");
    PlaceLabel(hideCh3_, "N/A", QRect(0, 0, 80, 20), Qt::AlignCenter)->setObjectName("LabelHideCh3EQ");
    hideCh3_->hide();
}

void TEqPanel::BuildBiquadGrid() {
    // The scratch field of the graph lies under the edit grid.
    dummyEdit_ = new QLineEdit(this);
    dummyEdit_->setObjectName("DummyEdit");
    dummyEdit_->setAccessibleName("Coefficient scratch field");
    dummyEdit_->setGeometry(112, Top + 60, 120, 22);
    // A scratch field the user never needs to see: the skin draws group
    // boxes see-through, so it is hidden rather than only covered.
    dummyEdit_->hide();

    biquadGroup_ = new QGroupBox("BiQuad", this);
    biquadGroup_->setObjectName("EQBiquadGroupBox");
    biquadGroup_->setGeometry(108, Top, 210, 150);
    for (int column = 0; column < 4; ++column)
        PlaceLabel(biquadGroup_, ColumnLabels[column], QRect(GridLeft + column * ColumnPitch - 2, 16, 44, 16),
                   Qt::AlignCenter);
    for (int row = 0; row < TEQ::CoefficientCount; ++row) {
        const RowDefinition& definition = Rows[row];
        PlaceLabel(biquadGroup_, definition.label, QRect(6, GridTop + row * RowPitch, 22, 20),
                   Qt::AlignLeft | Qt::AlignVCenter);
        for (int column = 0; column < 4; ++column) {
            auto* edit = new ByteEdit(biquadGroup_);
            edit->setObjectName(QString("%1%2").arg(definition.stem).arg(3 - column));
            edit->setAccessibleName(QString("%1 bits %2").arg(definition.label, ColumnLabels[column]));
            edit->setGeometry(GridLeft + column * ColumnPitch, GridTop + row * RowPitch, edit->width(), 20);
            // Until the first biquad is shown.
            edit->setText(column == 0 ? "f0" : "00");
            edits_[static_cast<size_t>(4 * row + column)] = edit;
        }
    }
}

void TEqPanel::BuildButtons() {
    constexpr int x = 108, y = Top + 154;
    PlaceButton(this, "EQBQApplysuiButton", "APPLY", QRect(x, y, 66, 24));
    PlaceButton(this, "EQBQCancelsuiButton", "CANCEL", QRect(x + 70, y, 66, 24));
    PlaceButton(this, "suiButton3", "AllPass BQ", QRect(x + 140, y, 70, 24),
                "Apply Allpass Values to this BiQuad");
    PlaceButton(this, "EQBQGraphsuiButton", "Graph BiQuad", QRect(x, y + 28, 103, 24),
                "Graph the BiQuad displayed above.");
    PlaceButton(this, "EQGraphsuiButton", "Graph EQ", QRect(x + 107, y + 28, 103, 24),
                "Graph a composite of all BiQuads for the channel selected.");

    auto* files = new QGroupBox("EQ FILES created in RoomFit", this);
    files->setObjectName("EQFilesGroupBox");
    files->setGeometry(x, y + 56, 210, 52);
    fileCombo_ = new QComboBox(files);
    fileCombo_->setObjectName("EQFileLoadComboBox");
    fileCombo_->setAccessibleName("EQ file");
    fileCombo_->setEditable(true);
    fileCombo_->lineEdit()->setAccessibleName("EQ file name");
    fileCombo_->setMaxVisibleItems(16);
    fileCombo_->setInsertPolicy(QComboBox::NoInsert);
    fileCombo_->setGeometry(6, 20, 144, 24);
    PlaceButton(files, "EQFileLoadsuiButton", "LOAD", QRect(154, 20, 50, 24),
                "Send the Contents of this file to the device.");

    PlaceButton(this, "EQExamplesuiButton", "EQ EXAMPLES", QRect(x, y + 112, 210, 24));
}

void TEqPanel::BuildChart() {
    chart_ = new EqChart(this);
    chart_->setGeometry(322, Top, 286, 282);

    constexpr int y = Top + 286;
    PlaceLabel(this, "Max Y", QRect(340, y + 2, 44, 20), Qt::AlignRight | Qt::AlignVCenter);
    maxScale_ = new UpDown(0, 100, 1, this);
    maxScale_->setObjectName("MaxScaleUpDown");
    maxScale_->SetAccessibleNames("Max Y");
    maxScale_->SetPosition(20);
    maxScale_->move(388, y);
    PlaceLabel(this, "Min Y", QRect(460, y + 2, 44, 20), Qt::AlignRight | Qt::AlignVCenter);
    minScale_ = new UpDown(-130, -1, 1, this);
    minScale_->setObjectName("MinScaleUpDown");
    minScale_->SetAccessibleNames("Min Y");
    minScale_->SetPosition(-120);
    minScale_->move(508, y);
}

void TEqPanel::Connect() {
    ConnectGuarded(dapGroup_, &RadioGroup::Click, this, &TEqPanel::EQDAPCHRadioGroupClick);
    ConnectGuarded(eqGroup_, &RadioGroup::Click, this, &TEqPanel::EQEQRadioGroupClick);
    const struct {
        const char* name;
        void (TEqPanel::*click)();
    } buttons[] = {
        {"EQBQApplysuiButton", &TEqPanel::EQBQApplysuiButtonClick},
        {"EQBQCancelsuiButton", &TEqPanel::EQBQCancelsuiButtonClick},
        {"suiButton3", &TEqPanel::suiButton3Click},
        {"EQBQGraphsuiButton", &TEqPanel::EQBQGraphsuiButtonClick},
        {"EQGraphsuiButton", &TEqPanel::EQGraphsuiButtonClick},
        {"EQFileLoadsuiButton", &TEqPanel::EQFileLoadsuiButtonClick},
        {"EQExamplesuiButton", &TEqPanel::EQExamplesuiButtonClick},
    };
    for (const auto& b : buttons)
        ConnectGuarded(findChild<QPushButton*>(b.name), &QPushButton::clicked, this, b.click);
    ConnectGuarded(maxScale_, &UpDown::Click, this, &TEqPanel::MaxScaleUpDownClick);
    ConnectGuarded(minScale_, &UpDown::Click, this, &TEqPanel::MinScaleUpDownClick);
}

int TEqPanel::SelectedSubAddress() const {
    return TEQ::BiquadSubAddress(dapGroup_->ItemIndex(), eqGroup_->ItemIndex());
}

TEQ::BiquadFields TEqPanel::Fields() const {
    TEQ::BiquadFields fields;
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i] = FieldText(edits_[i]->text());
    return fields;
}

void TEqPanel::SetFields(const TEQ::BiquadFields& fields) {
    for (size_t i = 0; i < fields.size(); ++i)
        edits_[i]->setText(QString::fromStdString(fields[i]));
}

void TEqPanel::ShowBiquad(int subAddress) {
    TEQ::BiquadFields fields = Fields();
    eq_.ShowBiquad(subAddress, fields);
    SetFields(fields);
}

void TEqPanel::AdjustToSampleRate(bool highRate) {
    if (itemsBuiltForHighRate_ == highRate)
        return;
    itemsBuiltForHighRate_ = highRate;
    dapGroup_->SetItems(ChannelItems(highRate));
    dapGroup_->SetItemIndex(0);
}

void TEqPanel::PlaceCh3Cover() {
    dapGroup_->layout()->activate();
    if (const QWidget* item = dapGroup_->findChild<QWidget*>("EQDAPCHRadioGroupItem2")) {
        const QRect place(dapGroup_->mapTo(this, item->geometry().topLeft()), item->size());
        hideCh3_->setGeometry(place.adjusted(-2, -1, 2, 1));
        hideCh3_->findChild<QLabel*>()->setGeometry(hideCh3_->rect());
    }
}

void TEqPanel::EQDAPCHRadioGroupClick() {
    const bool highRate = clocks_.IsHighRate();
    if (highRate && dapGroup_->ItemIndex() == 2)
        dapGroup_->SetItemIndex(0);
    if (highRate) {
        PlaceCh3Cover();
        hideCh3_->show();
        hideCh3_->raise();
    } else {
        hideCh3_->hide();
    }
    ShowBiquad(SelectedSubAddress());
}

void TEqPanel::EQEQRadioGroupClick() {
    ShowBiquad(SelectedSubAddress());
}

void TEqPanel::EQBQApplysuiButtonClick() {
    eq_.ApplyBiquad(SelectedSubAddress(), Fields());
}

void TEqPanel::EQBQCancelsuiButtonClick() {
    ShowBiquad(SelectedSubAddress());
}

void TEqPanel::suiButton3Click() {
    SetFields(TEQ::AllPassFields());
    EQBQApplysuiButtonClick();
}

void TEqPanel::FillEqFileCombo() {
    eq_.ScanEqFiles(LocalFileName(startDirectory_));
    FillDataFileCombo(*fileCombo_, eq_.EqFileList(), hooks_);
}

void TEqPanel::EQFileLoadsuiButtonClick() {
    const int remembered = SelectedSubAddress();
    const QString chosen = fileCombo_->currentText();
    // The EQ name comes from the name as the user chose it; the file opened
    // is the one found for it, whatever case it was saved with.
    const std::string shownPath = LocalFileName(startDirectory_ + '/' + chosen);
    const std::string file = ChosenDataFile(*fileCombo_, LocalFileName(startDirectory_));
    const TEQ::LoadResult result = eq_.LoadEqFile(shownPath, file, dapGroup_->ItemIndex() + 1);
    strip_.LabelBiquadUnits->setText(QString::fromStdString(result.eqName));
    if (!result.report.opened)
        strip_.HelpfulCommentsLabel->setText(chosen.isEmpty() ? QString("No EQ file chosen")
                                                              : "Error Reading " + chosen);
    else if (!result.report.problems.empty())
        strip_.HelpfulCommentsLabel->setText(chosen + ": " +
                                             QString::fromStdString(ProblemSummary(result.report.problems)));
    ShowBiquad(remembered);
    hooks_.UpdateGainIndicators();
}

void TEqPanel::EQExamplesuiButtonClick() {
    hooks_.OpenDocument(ExamplesDocument);
}

void TEqPanel::JumpToBiquad(int channelItem, int biquadItem) {
    eqGroup_->SetItemIndex(std::clamp(biquadItem, 0, TEQ::BiquadCount - 1));
    dapGroup_->SetItemIndex(std::clamp(channelItem, 0, static_cast<int>(dapGroup_->Items().size()) - 1));
    EQBQGraphsuiButtonClick();
    hooks_.ShowPanel(this);
}

void TEqPanel::MaxScaleUpDownClick() {
    chart_->SetGainMaximum(maxScale_->Position());
    chart_->replot();
}

void TEqPanel::MinScaleUpDownClick() {
    chart_->SetGainMinimum(minScale_->Position());
    chart_->replot();
}
