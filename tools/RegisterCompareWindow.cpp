#include "RegisterCompareWindow.h"

#include "Configdataunit.h"
#include "FileDialogs.h"
#include "HandlerGuard.h"
#include "Look.h"
#include "MainWindowHooks.h"
#include "RegisterBus.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char* const SourceNames[] = {"A configuration", "B configuration", "C configuration", "Register table",
                                   "Device (read now)"};
const char* const SlotLetters[] = {"A", "B", "C"};

// Bytes per line in a byte cell, so that 32-byte registers stay readable.
constexpr int BytesPerLine = 8;
constexpr int ProblemLinesShown = 6;

enum Column {
    RegisterColumn,
    LeftBytesColumn,
    LeftValueColumn,
    RightBytesColumn,
    RightValueColumn,
    ColumnCount
};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// The bytes of one side, differing ones in bold red, eight to a line.
QString MarkedBytes(const RegisterRow& row, bool left) {
    const bool held = left ? row.inLeft : row.inRight;
    if (!held)
        return "<i>(none)</i>";
    const std::vector<uint8_t>& bytes = left ? row.left : row.right;
    QString html;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            html += i % BytesPerLine == 0 ? "<br>" : " ";
        const QString byte = Text(BytesText({bytes[i]}));
        html +=
            row.byteDiffers[i] ? "<span style=\"color:#c00000; font-weight:bold\">" + byte + "</span>" : byte;
    }
    return "<span style=\"font-family:monospace\">" + html + "</span>";
}

// What a screen reader says for a byte cell: the bytes and where they differ.
QString SpokenBytes(const RegisterRow& row, bool left) {
    const bool held = left ? row.inLeft : row.inRight;
    if (!held)
        return "none";
    QString text = Text(BytesText(left ? row.left : row.right));
    if (row.differs)
        text += ", differs";
    return text;
}

// A decoded value, wrapped only between its parts: within a part ("-inf dB")
// the spaces do not break and the minus is a hyphen that does not either.
QString ValueHtml(const std::string& value) {
    QStringList parts;
    for (QString part : Text(value).split(", "))
        parts << part.toHtmlEscaped().replace(' ', "&nbsp;").replace('-', QChar(0x2011));
    return parts.join(", ");
}

// Drawn over its cell; the cell's item keeps the plain text for copying and
// for screen readers.
QLabel* CellLabel(const QString& html, QWidget* parent) {
    auto* label = new QLabel(html, parent);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setContentsMargins(4, 2, 4, 2);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Base);
    return label;
}

} // namespace

TRegisterCompareForm::TRegisterCompareForm(TConfigDataUnit& table, const IRegisterBus& bus,
                                           IMainWindowHooks& hooks, std::function<QString(int slot)> slotFile,
                                           QWidget* parent)
    : QWidget(parent, Qt::Window), table_(table), bus_(bus), hooks_(hooks), slotFile_(std::move(slotFile)) {
    setObjectName("RegisterCompareForm");
    setWindowTitle("Register Compare");
    auto* layout = new QVBoxLayout(this);

    auto* sources = new QHBoxLayout;
    leftSource_ = new QComboBox(this);
    leftSource_->setObjectName("LeftSourceComboBox");
    leftSource_->setAccessibleName("Left side");
    rightSource_ = new QComboBox(this);
    rightSource_->setObjectName("RightSourceComboBox");
    rightSource_->setAccessibleName("Right side");
    for (const char* name : SourceNames) {
        leftSource_->addItem(name);
        rightSource_->addItem(name);
    }
    leftSource_->setCurrentIndex(SlotA);
    rightSource_->setCurrentIndex(SlotB);
    auto* compare = MakeButton("CompareButton", "Compare", this);
    onlyDifferences_ = new QCheckBox("Only differences", this);
    onlyDifferences_->setObjectName("OnlyDifferencesCheckBox");
    onlyDifferences_->setChecked(true);
    auto* copy = MakeButton("CopyDifferencesButton", "Copy differences", this);
    auto* leftCaption = new QLabel("Left:", this);
    leftCaption->setBuddy(leftSource_);
    auto* rightCaption = new QLabel("Right:", this);
    rightCaption->setBuddy(rightSource_);
    sources->addWidget(leftCaption);
    sources->addWidget(leftSource_);
    sources->addWidget(rightCaption);
    sources->addWidget(rightSource_);
    sources->addWidget(compare);
    sources->addStretch();
    sources->addWidget(onlyDifferences_);
    sources->addWidget(copy);
    layout->addLayout(sources);

    problemsLabel_ = new QLabel(this);
    problemsLabel_->setObjectName("ProblemsLabel");
    problemsLabel_->setWordWrap(true);
    problemsLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetTextColour(problemsLabel_, Rgb{255, 120, 110});
    problemsLabel_->hide();
    layout->addWidget(problemsLabel_);
    summaryLabel_ = new QLabel("Choose two sides and Compare.", this);
    summaryLabel_->setObjectName("SummaryLabel");
    layout->addWidget(summaryLabel_);

    registerTable_ = new QTableWidget(0, ColumnCount, this);
    registerTable_->setObjectName("RegisterTable");
    registerTable_->setAccessibleName("Registers compared");
    registerTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    registerTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    registerTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    registerTable_->verticalHeader()->hide();
    // One register at a time is sent, so there is nothing to select all of.
    registerTable_->setCornerButtonEnabled(false);
    for (QAbstractButton* corner : registerTable_->findChildren<QAbstractButton*>())
        corner->setAccessibleName("Table corner");
    registerTable_->setWordWrap(true);
    registerTable_->setHorizontalHeaderLabels({"Register", "Left", "Value", "Right", "Value"});
    const int widths[ColumnCount] = {170, 190, 190, 190, 190};
    for (int c = 0; c < ColumnCount; ++c)
        registerTable_->setColumnWidth(c, widths[c]);
    registerTable_->horizontalHeader()->setStretchLastSection(true);
    registerTable_->setMinimumSize(960, 380);
    layout->addWidget(registerTable_, 1);

    auto* actions = new QHBoxLayout;
    auto* sendLeft = MakeButton("SendLeftButton", "Send left to device", this);
    auto* sendRight = MakeButton("SendRightButton", "Send right to device", this);
    messageLabel_ = new QLabel(this);
    messageLabel_->setObjectName("MessageLabel");
    messageLabel_->setWordWrap(true);
    auto* close = MakeButton("CloseButton", "Close", this);
    actions->addWidget(sendLeft);
    actions->addWidget(sendRight);
    actions->addWidget(messageLabel_, 1);
    actions->addWidget(close);
    layout->addLayout(actions);

    ConnectGuarded(compare, &QPushButton::clicked, this, &TRegisterCompareForm::CompareButtonClick);
    ConnectGuarded(onlyDifferences_, &QCheckBox::clicked, this,
                   &TRegisterCompareForm::OnlyDifferencesCheckBoxClick);
    ConnectGuarded(copy, &QPushButton::clicked, this, &TRegisterCompareForm::CopyDifferencesButtonClick);
    ConnectGuarded(sendLeft, &QPushButton::clicked, this, &TRegisterCompareForm::SendLeftButtonClick);
    ConnectGuarded(sendRight, &QPushButton::clicked, this, &TRegisterCompareForm::SendRightButtonClick);
    ConnectGuarded(close, &QPushButton::clicked, this, [this] { hide(); });
}

void TRegisterCompareForm::SetSources(Source left, Source right) {
    leftSource_->setCurrentIndex(left);
    rightSource_->setCurrentIndex(right);
}

RegisterImage TRegisterCompareForm::ImageOf(Source source) {
    switch (source) {
    case SlotA:
    case SlotB:
    case SlotC: {
        const QString file = slotFile_ ? slotFile_(source) : QString();
        const std::string title =
            std::string(SlotLetters[source]) + ": " + QFileInfo(file).fileName().toStdString();
        if (file.trimmed().isEmpty()) {
            RegisterImage empty;
            empty.title = std::string(SlotLetters[source]) + ": (no file)";
            empty.problems.push_back("No file in slot " + std::string(SlotLetters[source]));
            return empty;
        }
        return FileImage(table_, LocalFileName(file), title);
    }
    case Table:
        return TableImage(table_);
    case Device:
    case SourceCount:
        break;
    }
    return DeviceImage(table_);
}

void TRegisterCompareForm::CompareButtonClick() {
    left_ = ImageOf(static_cast<Source>(leftSource_->currentIndex()));
    right_ = ImageOf(static_cast<Source>(rightSource_->currentIndex()));
    comparison_ = CompareImages(table_, left_, right_);
    compared_ = true;
    Tell(QString());
    ShowProblems();
    ShowRows();
}

void TRegisterCompareForm::ShowProblems() {
    QStringList lines;
    int total = 0;
    for (const RegisterImage* image : {&left_, &right_})
        for (const std::string& problem : image->problems) {
            if (++total <= ProblemLinesShown)
                lines << Text(image->title + ": " + problem);
        }
    if (total > ProblemLinesShown)
        lines << QString("... and %1 more problems").arg(total - ProblemLinesShown);
    problemsLabel_->setText(lines.join('\n'));
    problemsLabel_->setVisible(!lines.isEmpty());
}

void TRegisterCompareForm::ShowRows() {
    registerTable_->clearContents();
    registerTable_->setRowCount(0);
    shownRows_.clear();
    registerTable_->setHorizontalHeaderLabels(
        {"Register", Text(left_.title), "Value", Text(right_.title), "Value"});
    const bool onlyDifferences = onlyDifferences_->isChecked();
    for (size_t i = 0; i < comparison_.rows.size(); ++i)
        if (!onlyDifferences || comparison_.rows[i].differs)
            shownRows_.push_back(static_cast<int>(i));
    registerTable_->setRowCount(static_cast<int>(shownRows_.size()));
    for (int r = 0; r < static_cast<int>(shownRows_.size()); ++r) {
        const RegisterRow& row = comparison_.rows[static_cast<size_t>(shownRows_[static_cast<size_t>(r)])];
        auto* name = new QTableWidgetItem(Text(RegisterLabel(row)));
        if (row.differs) {
            QFont bold = name->font();
            bold.setBold(true);
            name->setFont(bold);
        }
        registerTable_->setItem(r, RegisterColumn, name);
        for (bool left : {true, false}) {
            const int bytesColumn = left ? LeftBytesColumn : RightBytesColumn;
            auto* item = new QTableWidgetItem;
            item->setData(Qt::AccessibleTextRole, SpokenBytes(row, left));
            registerTable_->setItem(r, bytesColumn, item);
            registerTable_->setCellWidget(r, bytesColumn, CellLabel(MarkedBytes(row, left), registerTable_));
            const std::string& decoded = left ? row.leftValue : row.rightValue;
            const int valueColumn = left ? LeftValueColumn : RightValueColumn;
            registerTable_->setItem(r, valueColumn, new QTableWidgetItem(Text(decoded)));
            registerTable_->setCellWidget(r, valueColumn, CellLabel(ValueHtml(decoded), registerTable_));
        }
    }
    registerTable_->resizeRowsToContents();
    const int differences = comparison_.differences;
    summaryLabel_->setText(
        QString("%1 of %2 registers differ").arg(differences).arg(comparison_.rows.size()) +
        (onlyDifferences ? QString() : QString(" (all registers shown)")));
}

void TRegisterCompareForm::OnlyDifferencesCheckBoxClick() {
    if (compared_)
        ShowRows();
}

void TRegisterCompareForm::CopyDifferencesButtonClick() {
    if (!compared_) {
        Tell("Compare first.");
        return;
    }
    QGuiApplication::clipboard()->setText(Text(DifferencesText(comparison_, left_, right_)));
    Tell(QString("Copied %1 differences.").arg(comparison_.differences));
}

void TRegisterCompareForm::SendLeftButtonClick() {
    SendSide(true);
}

void TRegisterCompareForm::SendRightButtonClick() {
    SendSide(false);
}

void TRegisterCompareForm::SendSide(bool left) {
    const int tableRow = registerTable_->currentRow();
    if (!compared_ || tableRow < 0 || tableRow >= static_cast<int>(shownRows_.size())) {
        Tell("Select a register first.");
        return;
    }
    const RegisterRow row = comparison_.rows[static_cast<size_t>(shownRows_[static_cast<size_t>(tableRow)])];
    if (!(left ? row.inLeft : row.inRight)) {
        Tell(QString("The %1 side has no register 0x%2.")
                 .arg(left ? "left" : "right")
                 .arg(row.subAddress, 2, 16, QChar('0')));
        return;
    }
    const std::vector<uint8_t>& bytes = left ? row.left : row.right;
    table_.SetData(row.subAddress, bytes);
    table_.WriteRegister(row.subAddress);
    const bool sent = bus_.IsTransferOk();
    hooks_.RefreshAll();
    // Both sides may have changed (the table, the device): compare again and
    // stay on the register just sent.
    CompareButtonClick();
    for (int r = 0; r < static_cast<int>(shownRows_.size()); ++r)
        if (comparison_.rows[static_cast<size_t>(shownRows_[static_cast<size_t>(r)])].subAddress ==
            row.subAddress)
            registerTable_->selectRow(r);
    Tell(sent ? Text("Sent " + RegisterLabel(row) + ": " + BytesText(bytes))
              : Text("Not sent: the device did not take " + RegisterLabel(row)));
}

void TRegisterCompareForm::Tell(const QString& message) {
    messageLabel_->setText(message);
}
