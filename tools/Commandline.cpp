// The register command window: its controls, their wiring, the device
// address and the byte total of a block range. The transfers themselves are
// in CommandlineTransfers.cpp.

#include "Commandline.h"

#include "ByteEdit.h"
#include "Configdataunit.h"
#include "Conversions.h"
#include "RegisterGrid.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel* MakeLabel(const QString& name, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* MakeEdit(const QString& name, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setMaximumWidth(60);
    return edit;
}

QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// The word numbers between the grids: " 0 " to " 4 " are WordLabel0 to
// WordLabel4, " 5 " to " 9 " are Label1 to Label5.
QWidget* MakeWordNumbers(QWidget* parent) {
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(RegisterGrid::RowSpacing);
    layout->addSpacing(RegisterGrid::RowHeight);
    for (int word = 0; word < RegisterGrid::WordCount; ++word) {
        const QString name =
            word < 5 ? QStringLiteral("WordLabel%1").arg(word) : QStringLiteral("Label%1").arg(word - 4);
        QLabel* label = MakeLabel(name, QStringLiteral(" %1 ").arg(word), column);
        label->setFixedHeight(RegisterGrid::RowHeight);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    layout->addStretch();
    return column;
}

// Bytes a block read of start..stop moves: the first register always counts
// (so a start of 0xFF gives that register's size), and no read goes beyond
// 0xFE. A stop below the start means the start alone.
int BlockByteTotal(const TConfigDataUnit& table, int start, int stop) {
    stop = std::max(stop, start);
    int total = table.GetSize(start);
    for (int r = start + 1; r <= stop && r <= 0xFE; ++r)
        total += table.GetSize(r);
    return total;
}

} // namespace

TCommandLineForm::TCommandLineForm(TConfigDataUnit& table, IRegisterBus& bus, IMainWindowHooks& hooks,
                                   IFileDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), table_(table), bus_(bus), hooks_(hooks), dialogs_(dialogs) {
    setObjectName("CommandLineForm");
    setWindowTitle("Register Read/Write");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildByteGroup());
    layout->addWidget(BuildBlockGroup());
    MessageLabel = MakeLabel("MessageLabel", QString(), this);
    MessageLabel->setWordWrap(true);
    layout->addWidget(MessageLabel);
    CloseButton = MakeButton("CloseButton", "CLOSE", this);
    layout->addWidget(CloseButton, 0, Qt::AlignRight);
    ConnectSignals();
    RegAddrEditChange();
}

QWidget* TCommandLineForm::BuildByteGroup() {
    auto* group = new QGroupBox("Byte Write/Read", this);
    group->setObjectName("ByteWriteReadGroupBox");
    auto* layout = new QGridLayout(group);

    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(MakeLabel("IICAddrLabel", "IIC ADDR", group));
    IICAddrEdit = MakeEdit("IICAddrEdit", "0x36", group);
    IICAddrEdit->setEnabled(false);
    addressRow->addWidget(IICAddrEdit);
    addressRow->addWidget(MakeLabel("RegAddrLabel", "REG ADDR", group));
    RegAddrEdit = MakeEdit("RegAddrEdit", "00", group);
    addressRow->addWidget(RegAddrEdit);
    ReadRadioButton = new QRadioButton("READ", group);
    ReadRadioButton->setObjectName("ReadRadioButton");
    WriteRadioButton = new QRadioButton("WRITE", group);
    WriteRadioButton->setObjectName("WriteRadioButton");
    auto* direction = new QButtonGroup(group);
    direction->addButton(ReadRadioButton);
    direction->addButton(WriteRadioButton);
    ReadRadioButton->setChecked(true);
    addressRow->addWidget(ReadRadioButton);
    addressRow->addWidget(WriteRadioButton);
    GOBitBtn = MakeButton("GOBitBtn", "GO", group);
    addressRow->addWidget(GOBitBtn);
    layout->addLayout(addressRow, 0, 0, 1, 3);

    layout->addWidget(MakeLabel("WriteDataLabel", "WRITE DATA", group), 1, 0, Qt::AlignCenter);
    layout->addWidget(MakeLabel("ReadDataLabel", "READ DATA", group), 1, 2, Qt::AlignCenter);
    writeGrid_ = new RegisterGrid("WriteData", "WriteByteLabel", group);
    readGrid_ = new RegisterGrid("ReadData", "ReadByteLabel", group);
    layout->addWidget(writeGrid_, 2, 0);
    layout->addWidget(MakeWordNumbers(group), 2, 1);
    layout->addWidget(readGrid_, 2, 2);
    ZeroWriteDataBitBtn = MakeButton("ZeroWriteDataBitBtn", "ZERO", group);
    ZeroReadDataBitBtn = MakeButton("ZeroReadDataBitBtn", "ZERO", group);
    layout->addWidget(ZeroWriteDataBitBtn, 3, 0, Qt::AlignCenter);
    layout->addWidget(ZeroReadDataBitBtn, 3, 2, Qt::AlignCenter);
    return group;
}

QWidget* TCommandLineForm::BuildBlockGroup() {
    auto* group = new QGroupBox("Block Write/Read", this);
    group->setObjectName("BlockWriteReadGroupBox");
    auto* layout = new QGridLayout(group);

    // Block transfers always go register by register; the button shows it.
    auto* random = new QRadioButton("RANDOM", group);
    random->setObjectName("RandomRadioButton");
    random->setChecked(true);
    layout->addWidget(random, 0, 0, 1, 2);

    BlockStartAddrEdit = MakeEdit("BlockStartAddrEdit", "00", group);
    BlockStopAddrEdit = MakeEdit("BlockStopAddrEdit", "00", group);
    BlockBytesEdit = MakeEdit("BlockBytesEdit", "00", group);
    BlockBytesEdit->setEnabled(false);
    layout->addWidget(MakeLabel("BlockStartAddrLabel", "START", group), 1, 0);
    layout->addWidget(BlockStartAddrEdit, 1, 1);
    layout->addWidget(MakeLabel("BlockStopAddrLabel", "STOP", group), 2, 0);
    layout->addWidget(BlockStopAddrEdit, 2, 1);
    layout->addWidget(MakeLabel("BlockBytesLabel", "BYTES", group), 3, 0);
    layout->addWidget(BlockBytesEdit, 3, 1);

    BlockWriteBitBtn = MakeButton("BlockWriteBitBtn", "WRITE DATA TO CHIP", group);
    BlockReadBitBtn = MakeButton("BlockReadBitBtn", "READ DATA FROM CHIP", group);
    layout->addWidget(BlockWriteBitBtn, 1, 2);
    layout->addWidget(BlockReadBitBtn, 2, 2);
    return group;
}

void TCommandLineForm::ConnectSignals() {
    connect(RegAddrEdit, &QLineEdit::textChanged, this, &TCommandLineForm::RegAddrEditChange);
    connect(BlockStartAddrEdit, &QLineEdit::textChanged, this, &TCommandLineForm::BlockRangeChange);
    connect(BlockStopAddrEdit, &QLineEdit::textChanged, this, &TCommandLineForm::BlockRangeChange);
    connect(GOBitBtn, &QPushButton::clicked, this, &TCommandLineForm::suitempGOBitBtnClick);
    connect(ZeroWriteDataBitBtn, &QPushButton::clicked, writeGrid_, &RegisterGrid::Zero);
    connect(ZeroReadDataBitBtn, &QPushButton::clicked, readGrid_, &RegisterGrid::Zero);
    connect(BlockWriteBitBtn, &QPushButton::clicked, this, &TCommandLineForm::suitempBlockWriteBitBtnClick);
    connect(BlockReadBitBtn, &QPushButton::clicked, this, &TCommandLineForm::suitempBlockReadBitBtnClick);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::hide);
}

uint8_t TCommandLineForm::GetDeviceAddress() const {
    return ByteEdit::ValueOf(IICAddrEdit->text().mid(2));
}

void TCommandLineForm::RegAddrEditChange() {
    const int size = table_.GetSize(HexField(RegAddrEdit));
    writeGrid_->MarkRegisterSize(size);
    readGrid_->MarkRegisterSize(size);
}

void TCommandLineForm::BlockRangeChange() {
    const int total = BlockByteTotal(table_, HexField(BlockStartAddrEdit), HexField(BlockStopAddrEdit));
    BlockBytesEdit->setText(QString::number(total));
}

uint8_t TCommandLineForm::HexField(const QLineEdit* edit) {
    return ByteEdit::ValueOf(edit->text());
}

void TCommandLineForm::Tell(const QString& message) {
    MessageLabel->setText(message);
}
