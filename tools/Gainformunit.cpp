// The gain entry window: its rows, layouts, the three ways of entering a
// word, and the write of the whole register.

#include "Gainformunit.h"

#include "ByteEdit.h"
#include "Configdataunit.h"
#include "Conversions.h"
#include "DecimalHexRow.h"
#include "HandlerGuard.h"
#include "MainWindowHooks.h"
#include "Placement.h"
#include "RegisterBus.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>

namespace {

const char* const RowCaptions[TGainForm::RowCount] = {"1st 32 bit Word", "2nd 32 bit Word", "3rd 32 bit Word",
                                                      "4th 32 bit Word", "5th 32 bit Word", "6th 32 bit Word",
                                                      "7th 32 bit Word", "8th 32 bit Word"};

// Rows 1-4 side by side on the first line, rows 5-8 on the second, after
// the legend column.
constexpr int LegendWidth = 38;
constexpr int BoxWidth = 146;
constexpr int BoxPitch = 150;
constexpr int BoxHeight = 128;
constexpr int LineTop = 34;
constexpr int LinePitch = 134;
// Inside a row box: the description, float, hex and dB lines.
constexpr int DescriptionY = 18;
constexpr int FloatY = 42;
constexpr int BitLabelY = 64;
constexpr int HexY = 76;
constexpr int DbY = 100;
constexpr int BytePitch = 26;
constexpr int ButtonWidth = 60;

struct Layout {
    int rows;
    bool toggle;
    int width, height;
};

// The window for each row count; 2 rows with or without the toggle button.
constexpr Layout Layouts[] = {
    {1, false, 471, 193}, {2, true, 471, 193},  {2, false, 471, 193},
    {3, false, 557, 193}, {8, false, 715, 329},
};

QString UpperHex(uint8_t value) {
    return QString("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

TGainForm::TGainForm(TConfigDataUnit& table, IRegisterBus& bus, IMainWindowHooks& hooks, QWidget* parent)
    : QDialog(parent, Qt::Window), table_(table), bus_(bus), hooks_(hooks) {
    setObjectName("GainForm");
    setWindowTitle("Mixer Settings");
    setModal(false);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* addressLabel = new QLabel("Register Address", this);
    addressLabel->setObjectName("AddressLabel");
    addressLabel->setGeometry(LegendWidth, 8, 110, 20);
    address_ = PlaceEdit(this, "Address", "00", QRect(LegendWidth + 112, 7, 34, 22), "Register Address");
    addressLabel->setBuddy(address_);

    for (int row = 1; row <= RowCount; ++row)
        BuildRow(row);
    for (int line = 0; line < 2; ++line)
        BuildLegend(line);
    BuildButtons();
    ClearRowModes();
    SetGainLayout(8, false);
}

TGainForm::~TGainForm() = default;

void TGainForm::BuildRow(int row) {
    Row& r = rows_[row - 1];
    const QString n = QString::number(row);
    const QString what = QString("Word %1").arg(row);
    const int column = (row - 1) % 4, line = (row - 1) / 4;
    r.box = new QGroupBox(RowCaptions[row - 1], this);
    r.box->setObjectName("GainValueGroupBox" + n);
    r.box->setGeometry(LegendWidth + column * BoxPitch, LineTop + line * LinePitch, BoxWidth, BoxHeight);

    constexpr int left = 6, editWidth = 4 * BytePitch - 2, enterX = left + 4 * BytePitch + 2, enterWidth = 30;
    r.description = PlaceEdit(r.box, "Description" + n, "Description",
                              QRect(left, DescriptionY, BoxWidth - 12, 20), what + " description");
    r.floatEdit =
        PlaceEdit(r.box, "FloatEdit" + n, "0.00", QRect(left, FloatY, editWidth, 20), what + " value");
    auto* floatEnter =
        PlaceButton(r.box, "FloatEnterBitBtn" + n, "<-", QRect(enterX, FloatY, enterWidth, 20));
    floatEnter->setAccessibleName(what + " enter value");

    auto* high = new QLabel("31:24", r.box);
    high->setGeometry(left, BitLabelY, BytePitch + 10, 12);
    auto* low = new QLabel("7:0", r.box);
    low->setGeometry(left + 3 * BytePitch, BitLabelY, BytePitch, 12);
    low->setAlignment(Qt::AlignHCenter);
    std::vector<ByteEdit*> edits;
    for (int b = 0; b < 4; ++b) {
        auto* edit = new ByteEdit(r.box);
        edit->setObjectName(QString("Byte%1Edit%2").arg(b + 1).arg(row));
        edit->setFixedWidth(BytePitch - 1);
        edit->setGeometry(left + b * BytePitch, HexY, BytePitch - 1, 20);
        edit->setAccessibleName(QString("%1 byte %2").arg(what).arg(b + 1));
        r.bytes[b] = edit;
        edits.push_back(edit);
    }
    auto* hexEnter = PlaceButton(r.box, "HexEnterBitBtn" + n, "<-", QRect(enterX, HexY, enterWidth, 20));
    hexEnter->setAccessibleName(what + " enter bytes");

    r.dbEdit = PlaceEdit(r.box, "dBEdit" + n, "0", QRect(left, DbY, editWidth, 20), what + " decibels");
    auto* dbEnter = PlaceButton(r.box, "DBEnterBitBtn" + n, "<-", QRect(enterX, DbY, enterWidth, 20));
    dbEnter->setAccessibleName(what + " enter decibels");

    // Every change of the decimal text, typed or set, is a decimal entry.
    r.value = new DecimalHexRow(r.floatEdit, edits, this);
    r.value->SetChangeAction([this, row] { FloatEnter(row); });
    ConnectGuarded(floatEnter, &QPushButton::clicked, this, [this, row] { FloatEnter(row); });
    ConnectGuarded(hexEnter, &QPushButton::clicked, this, [this, row] { HexEnter(row); });
    ConnectGuarded(dbEnter, &QPushButton::clicked, this, [this, row] { DbEnter(row); });
}

void TGainForm::BuildLegend(int line) {
    const int top = LineTop + line * LinePitch;
    const struct {
        const char* text;
        int y;
    } entries[] = {{"Float", FloatY}, {"Hex", HexY}, {"dB", DbY}};
    for (const auto& e : entries) {
        auto* label = new QLabel(e.text, this);
        label->setObjectName(QString("Legend%1Label%2").arg(e.text).arg(line + 1));
        label->setGeometry(4, top + e.y + 2, LegendWidth - 6, 16);
    }
}

void TGainForm::BuildButtons() {
    ok_ = PlaceButton(this, "AOKBitBtn", "&OK", QRect(0, LineTop, ButtonWidth, 26));
    apply_ = PlaceButton(this, "ApplyBitBtn", "&Apply", QRect(0, LineTop + 32, ButtonWidth, 26));
    cancel_ = PlaceButton(this, "CancelBitBtn", "&Cancel", QRect(0, LineTop + 64, ButtonWidth, 26));
    toggle_ = PlaceButton(this, "TogglesuiButton", "&Toggle", QRect(0, LineTop + 96, ButtonWidth, 26));
    toggle_->setToolTip("Toggle 1st and 2nd Word alternating between 0 and 1");
    // Enter anywhere in the window applies; Escape cancels (reject).
    apply_->setDefault(true);
    apply_->setAutoDefault(true);
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    toggle_->setAutoDefault(false);
    ConnectGuarded(ok_, &QPushButton::clicked, this, &TGainForm::AOKBitBtnClick);
    ConnectGuarded(apply_, &QPushButton::clicked, this, &TGainForm::ApplyBitBtnClick);
    ConnectGuarded(cancel_, &QPushButton::clicked, this, &TGainForm::CancelBitBtnClick);
    ConnectGuarded(toggle_, &QPushButton::clicked, this, &TGainForm::TogglesuiButtonClick);
}

void TGainForm::SetGainLayout(int rows, bool toggle) {
    rowsInUse_ = rows;
    for (const Layout& layout : Layouts) {
        if (layout.rows != rows || (rows == 2 && layout.toggle != toggle))
            continue;
        for (int k = 1; k <= RowCount; ++k)
            rows_[k - 1].box->setVisible(k <= rows);
        toggle_->setVisible(layout.toggle);
        // The second legend belongs to the second line of rows.
        for (QLabel* label : findChildren<QLabel*>(QRegularExpression("^Legend.*Label2$")))
            label->setVisible(rows > 4);
        const int x = layout.width - ButtonWidth - 6;
        for (QPushButton* button : {ok_, apply_, cancel_, toggle_})
            button->move(x, button->y());
        setFixedSize(layout.width, layout.height);
        return;
    }
}

void TGainForm::ClearRowModes() {
    for (Row& r : rows_) {
        r.mode = 0x00;
        r.forced = false;
    }
}

uint8_t TGainForm::RowModeFor(int selectionIndex) {
    switch (selectionIndex) {
    case 1:
        return 0x10;
    case 2:
        return 0x60;
    case 3:
        return 0x70;
    default:
        return 0x00;
    }
}

void TGainForm::SetRowMode(int row, int selectionIndex) {
    if (row < 1 || row > 3)
        return;
    rows_[row - 1].mode = RowModeFor(selectionIndex);
    rows_[row - 1].forced = true;
}

void TGainForm::LoadGainRows(const std::vector<uint8_t>& bytes, int n) {
    for (int k = 1; k <= std::min(n, RowCount); ++k) {
        Row& r = rows_[k - 1];
        for (int b = 0; b < 4; ++b) {
            const size_t at = static_cast<size_t>(4 * (k - 1) + b);
            uint8_t value = at < bytes.size() ? bytes[at] : 0;
            if (b == 0)
                value = static_cast<uint8_t>((value & 0x0F) | r.mode);
            r.bytes[b]->setText(UpperHex(value));
        }
    }
}

void TGainForm::ShowGainWindow(int subAddress, int rows, const std::vector<std::string>& descriptions) {
    rows = std::clamp(rows, 1, RowCount);
    LoadGainRows(table_.GetData(subAddress), rows);
    for (int k = 1; k <= rows && k <= static_cast<int>(descriptions.size()); ++k) {
        rows_[k - 1].description->setText(QString::fromStdString(descriptions[k - 1]));
        rows_[k - 1].description->setCursorPosition(0);
    }
    address_->setText(QString::fromStdString(ByteEditText(static_cast<uint8_t>(subAddress))));
    for (int k = 1; k <= rows; ++k)
        HexEnter(k);
    show();
    raise();
    activateWindow();
}

void TGainForm::FocusRow(int row) {
    if (row < 1 || row > RowCount)
        return;
    QLineEdit* edit = rows_[row - 1].floatEdit;
    edit->setFocus();
    edit->selectAll();
}

void TGainForm::FloatEnter(int row) {
    rows_[row - 1].value->TextToBytes();
    ForceRowMode(row);
    ShowRowDb(row);
}

void TGainForm::HexEnter(int row) {
    // Writing the bytes' text into the float edit runs the decimal entry,
    // which fills the bytes again from that text.
    rows_[row - 1].value->BytesToText();
    ForceRowMode(row);
    ShowRowDb(row);
}

void TGainForm::DbEnter(int row) {
    Row& r = rows_[row - 1];
    const std::string text = r.dbEdit->text().toStdString();
    if (!text.empty() && text[0] == 'N')
        return; // "Negative Infinity": there is no gain to take from it
    const double gain = std::pow(10.0, 0.05 * ParseDecimal(text));
    char shown[40];
    std::snprintf(shown, sizeof shown, "%.15g", gain);
    r.floatEdit->setText(shown);
    r.floatEdit->setCursorPosition(0); // a long number shows from its start
    r.value->TextToBytes();
    ForceRowMode(row);
}

void TGainForm::ForceRowMode(int row) {
    Row& r = rows_[row - 1];
    if (!r.forced)
        return;
    r.bytes[0]->SetValue(static_cast<uint8_t>((r.bytes[0]->Value() & 0x0F) | r.mode));
}

void TGainForm::ShowRowDb(int row) {
    Row& r = rows_[row - 1];
    const Fixed523 word{r.bytes[0]->Value(), r.bytes[1]->Value(), r.bytes[2]->Value(), r.bytes[3]->Value()};
    const double db = Fixed523ToDb(word);
    if (db == MinusInfinityDb) {
        r.dbEdit->setText("Negative Infinity");
        r.dbEdit->setCursorPosition(0);
        return;
    }
    char shown[40];
    std::snprintf(shown, sizeof shown, "%2.8f", db);
    r.dbEdit->setText(shown);
    r.dbEdit->setCursorPosition(0);
}

void TGainForm::WriteGainRegister() {
    const uint8_t subAddress = ByteEdit::ValueOf(address_->text());
    std::array<uint8_t, 4 * RowCount> buffer{};
    for (int k = 0; k < RowCount; ++k)
        for (int b = 0; b < 4; ++b)
            buffer[static_cast<size_t>(4 * k + b)] = rows_[k].bytes[b]->Value();
    // The register decides how much is sent: rows beyond it (hidden ones
    // still holding an earlier register's words) are neither sent nor
    // stored. An address the map does not know sends nothing and stores
    // nothing.
    const int count = std::clamp(table_.GetSize(subAddress), 0, static_cast<int>(buffer.size()));
    bus_.I2CWrite(table_.DeviceAddress(), subAddress, count, buffer.data());
    table_.SetData(subAddress, std::span<const uint8_t>(buffer.data(), static_cast<size_t>(count)));
    hooks_.RefreshAll();
    hooks_.UpdateGainIndicators();
}

void TGainForm::AOKBitBtnClick() {
    WriteGainRegister();
    hide();
}

void TGainForm::ApplyBitBtnClick() {
    WriteGainRegister();
}

void TGainForm::CancelBitBtnClick() {
    hide();
}

void TGainForm::reject() {
    CancelBitBtnClick();
}

void TGainForm::TogglesuiButtonClick() {
    rows_[0].floatEdit->setText(toggleGivesZeroFirst_ ? "0" : "1");
    rows_[1].floatEdit->setText(toggleGivesZeroFirst_ ? "1" : "0");
    toggleGivesZeroFirst_ = !toggleGivesZeroFirst_;
}
