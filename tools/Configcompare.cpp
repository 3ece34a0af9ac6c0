#include "Configcompare.h"

#include "Configdataunit.h"
#include "FileDialogs.h"
#include "HandlerGuard.h"
#include "Look.h"
#include "MainWindowHooks.h"
#include "RegisterCompare.h"
#include "RegisterCompareWindow.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Handler = void (TConfigCompareForm::*)();

struct SlotDefinition {
    const char* letter;
    Handler clear, browse, send;
};

constexpr SlotDefinition Slots[TConfigCompareForm::SlotCount] = {
    {"A", &TConfigCompareForm::AClearsuiButtonClick, &TConfigCompareForm::ABrowsesuiButtonClick,
     &TConfigCompareForm::ASendsuiButtonClick},
    {"B", &TConfigCompareForm::BClearsuiButtonClick, &TConfigCompareForm::BBrowsesuiButtonClick,
     &TConfigCompareForm::BSendsuiButtonClick},
    {"C", &TConfigCompareForm::CClearsuiButtonClick, &TConfigCompareForm::CBrowsesuiButtonClick,
     &TConfigCompareForm::CSendsuiButtonClick},
};

const FileDialogRequest ConfigFileDialog{QString(), "CFG", "*.cfg", QString()};

QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TConfigCompareForm::TConfigCompareForm(TConfigDataUnit& table, const IRegisterBus& bus,
                                       IMainWindowHooks& hooks, IFileDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), table_(table), hooks_(hooks), dialogs_(dialogs) {
    setObjectName("ConfigCompareForm");
    setWindowTitle("Compare Audio Configurations");
    auto* layout = new QVBoxLayout(this);
    for (int slot = 0; slot < SlotCount; ++slot)
        layout->addWidget(BuildSlot(slot));

    messageLabel_ = new QLabel(this);
    messageLabel_->setObjectName("MessageLabel");
    messageLabel_->setWordWrap(true);
    layout->addWidget(messageLabel_);

    auto* diffRow = new QHBoxLayout;
    auto* fileDiff = MakeButton("EditsuiButton", "File Diff", this);
    fileDiff->setMinimumWidth(72);
    diffRow->addWidget(fileDiff);
    auto* note =
        new QLabel("Note: \"File Diff\" opens the built-in register compare of any two of A, B, C, the "
                   "register table and the device, register by register.",
                   this);
    note->setObjectName("NoteLabel");
    note->setWordWrap(true);
    diffRow->addWidget(note, 1);
    layout->addLayout(diffRow);

    layout->addWidget(BuildDeviceCheck());

    auto* close = MakeButton("CloseButton", "CLOSE", this);
    layout->addWidget(close, 0, Qt::AlignRight);
    ConnectGuarded(fileDiff, &QPushButton::clicked, this, &TConfigCompareForm::EditsuiButtonClick);
    ConnectGuarded(close, &QPushButton::clicked, this, &TConfigCompareForm::CloseButtonClick);
    resize(600, sizeHint().height());

    registerCompare_ = new TRegisterCompareForm(
        table_, bus, hooks_, [this](int slot) { return SlotFile(slot); }, this);
}

QWidget* TConfigCompareForm::BuildSlot(int slot) {
    const SlotDefinition& definition = Slots[slot];
    const QString letter = definition.letter;
    auto* group = new QGroupBox(letter + " configuration", this);
    group->setObjectName(letter + "FileGroupBox");
    auto* row = new QHBoxLayout(group);

    auto* combo = new QComboBox(group);
    combo->setObjectName(letter + "suiComboBox");
    combo->setEditable(true);
    // Typing a name does not add it to the history; only browsing does.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setAccessibleName(letter + " configuration file");
    combo->lineEdit()->setAccessibleName(letter + " configuration file name");
    combo->setMinimumWidth(300);
    row->addWidget(combo, 1);
    combos_[static_cast<size_t>(slot)] = combo;

    auto* clear = MakeButton(letter + "ClearsuiButton", letter + " clear", group);
    auto* browse = MakeButton(letter + "BrowsesuiButton", letter + " browse", group);
    auto* send = MakeButton(letter + "SendsuiButton", letter + " send", group);
    for (QPushButton* button : {clear, browse, send}) {
        button->setMinimumWidth(72);
        row->addWidget(button);
    }
    ConnectGuarded(clear, &QPushButton::clicked, this, definition.clear);
    ConnectGuarded(browse, &QPushButton::clicked, this, definition.browse);
    ConnectGuarded(send, &QPushButton::clicked, this, definition.send);
    return group;
}

QWidget* TConfigCompareForm::BuildDeviceCheck() {
    auto* group = new QGroupBox("Device check", this);
    group->setObjectName("DeviceCheckGroupBox");
    auto* column = new QVBoxLayout(group);
    auto* row = new QHBoxLayout;
    auto* verify = MakeButton("VerifyDevicesuiButton", "Verify device against file", group);
    verifyResultLabel_ = new QLabel(group);
    verifyResultLabel_->setObjectName("VerifyResultLabel");
    verifyResultLabel_->setWordWrap(true);
    row->addWidget(verify);
    row->addWidget(verifyResultLabel_, 1);
    column->addLayout(row);
    verifyResultList_ = new QPlainTextEdit(group);
    verifyResultList_->setObjectName("VerifyResultList");
    verifyResultList_->setAccessibleName("Registers the device holds otherwise");
    verifyResultList_->setReadOnly(true);
    verifyResultList_->setLineWrapMode(QPlainTextEdit::NoWrap);
    verifyResultList_->setFixedHeight(90);
    column->addWidget(verifyResultList_);
    ConnectGuarded(verify, &QPushButton::clicked, this, &TConfigCompareForm::VerifyDevicesuiButtonClick);
    return group;
}

QString TConfigCompareForm::SlotFile(int slot) const {
    if (slot < 0 || slot >= SlotCount)
        return {};
    return combos_[static_cast<size_t>(slot)]->currentText();
}

void TConfigCompareForm::Clear(int slot) {
    QComboBox* combo = combos_[static_cast<size_t>(slot)];
    combo->clear();
    combo->clearEditText();
}

// The chosen name, or an empty one when the dialog is cancelled, joins the
// slot's history; the selection moves one item on (to the first item when
// nothing was selected), so a fresh slot shows the new name.
void TConfigCompareForm::Browse(int slot) {
    QComboBox* combo = combos_[static_cast<size_t>(slot)];
    const int before = combo->currentIndex();
    const QString chosen = dialogs_.GetOpenFileName(this, ConfigFileDialog);
    combo->addItem(chosen);
    combo->setCurrentIndex(before + 1);
}

// Every register of the file is stored and written, one transfer each, and
// the main window follows. A file that cannot be opened sends nothing.
void TConfigCompareForm::Send(int slot) {
    const QString file = SlotFile(slot);
    messageLabel_->clear();
    if (file.isEmpty())
        return;
    const FileReport report = table_.LoadConfigFile(LocalFileName(file));
    if (!report.opened)
        return;
    hooks_.UpdateGainIndicators();
    hooks_.RefreshAll();
    if (!report.problems.empty())
        messageLabel_->setText(file + ": " + Text(ProblemSummary(report.problems)));
}

void TConfigCompareForm::VerifyDevice(const QString& fileName) {
    const QString shown = QFileInfo(fileName).fileName();
    const RegisterImage file = FileImage(table_, LocalFileName(fileName), shown.toStdString());
    std::vector<int> subAddresses;
    for (const auto& [subAddress, bytes] : file.registers)
        subAddresses.push_back(subAddress);
    const RegisterImage device = DeviceImage(table_, subAddresses);
    const RegisterComparison comparison = CompareImages(table_, file, device);

    QStringList lines;
    for (const RegisterImage* image : {&file, &device})
        for (const std::string& problem : image->problems)
            lines << Text(image->title + ": " + problem);
    for (const RegisterRow& row : comparison.rows)
        if (row.differs)
            lines << Text(DifferenceLine(row, "file", "device"));
    verifyResultList_->setPlainText(lines.join('\n'));

    const bool problems = !file.problems.empty() || !device.problems.empty();
    if (comparison.differences == 0 && !problems && !file.registers.empty()) {
        verifyResultLabel_->setText("Device matches " + shown);
        SetTextColour(verifyResultLabel_, Colours::Green);
    } else if (comparison.differences == 0) {
        verifyResultLabel_->setText("Not verified: " + shown +
                                    (file.registers.empty() && !problems
                                         ? QString(" holds no registers")
                                         : QString(" could not be checked whole")));
        SetTextColour(verifyResultLabel_, Colours::Red);
    } else {
        verifyResultLabel_->setText(QString("Device differs from %1 in %2 register%3")
                                        .arg(shown)
                                        .arg(comparison.differences)
                                        .arg(comparison.differences == 1 ? "" : "s"));
        SetTextColour(verifyResultLabel_, Colours::Red);
    }
}

void TConfigCompareForm::AClearsuiButtonClick() {
    Clear(0);
}
void TConfigCompareForm::BClearsuiButtonClick() {
    Clear(1);
}
void TConfigCompareForm::CClearsuiButtonClick() {
    Clear(2);
}
void TConfigCompareForm::ABrowsesuiButtonClick() {
    Browse(0);
}
void TConfigCompareForm::BBrowsesuiButtonClick() {
    Browse(1);
}
void TConfigCompareForm::CBrowsesuiButtonClick() {
    Browse(2);
}
void TConfigCompareForm::ASendsuiButtonClick() {
    Send(0);
}
void TConfigCompareForm::BSendsuiButtonClick() {
    Send(1);
}
void TConfigCompareForm::CSendsuiButtonClick() {
    Send(2);
}

// The register compare is part of the tool: it opens beside this window,
// and nothing waits for it.
void TConfigCompareForm::EditsuiButtonClick() {
    registerCompare_->show();
    registerCompare_->raise();
    registerCompare_->activateWindow();
}

void TConfigCompareForm::VerifyDevicesuiButtonClick() {
    const QString file = dialogs_.GetOpenFileName(this, ConfigFileDialog);
    if (!file.isEmpty())
        VerifyDevice(file);
}

void TConfigCompareForm::CloseButtonClick() {
    hide();
}
