// The transfers of the register command window: GO for one register, and the
// block write and block read through configuration files. Each stops the
// sample-rate poll first, so no poll read slips in between, and lets it run
// again at the end.

#include "Commandline.h"

#include "Configdataunit.h"
#include "FileDialogs.h"
#include "MainWindowHooks.h"
#include "RegisterGrid.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace {

QString HexByte(uint8_t value) {
    return QStringLiteral("0x%1").arg(value, 2, 16, QLatin1Char('0'));
}

FileDialogRequest ConfigFileRequest(const QString& title, const QString& rememberedFolder) {
    return {title, "CFG", "*.cfg", rememberedFolder.isEmpty() ? QDir::currentPath() : rememberedFolder};
}

QString ProblemsText(const QString& fileName, const std::vector<std::string>& problems) {
    return QFileInfo(fileName).fileName() + ": " + QString::fromStdString(ProblemSummary(problems));
}

} // namespace

void TCommandLineForm::suitempGOBitBtnClick() {
    hooks_.StopFsPoll();
    Tell(QString());
    const uint8_t subAddress = HexField(RegAddrEdit);
    const uint8_t address = GetDeviceAddress();
    const int size = table_.GetSize(subAddress);
    if (ReadRadioButton->isChecked())
        GoRead(address, subAddress, size);
    else
        GoWrite(address, subAddress, size);
    hooks_.RefreshAll();
    EndTransfers();
}

void TCommandLineForm::GoRead(uint8_t address, uint8_t subAddress, int size) {
    readGrid_->Zero();
    readGrid_->MarkRegisterSize(size);
    std::vector<uint8_t> buffer = table_.GetData(subAddress);
    bus_.I2CRead(address, subAddress, size, buffer.data());
    // A read the transport skipped or the device did not acknowledge brought
    // no register bytes: the grid stays at zero and the table keeps what it
    // had, rather than taking the idle-bus bytes as the register's contents.
    if (!bus_.IsTransferOk()) {
        Tell(QStringLiteral("READ FAILED: register %1 was not read; the register table keeps its bytes")
                 .arg(HexByte(subAddress)));
        return;
    }
    readGrid_->ShowBytes(buffer);
    table_.SetData(subAddress, buffer);
    if (size > GridBytes)
        Tell(QStringLiteral(
                 "Register %1 has %2 bytes: the grid shows the first %3, the register table holds all")
                 .arg(HexByte(subAddress))
                 .arg(size)
                 .arg(GridBytes));
}

void TCommandLineForm::GoWrite(uint8_t address, uint8_t subAddress, int size) {
    writeGrid_->MarkRegisterSize(size);
    const auto edited = writeGrid_->Values();
    std::vector<uint8_t> bytes(edited.begin(), edited.begin() + std::min(size, GridBytes));
    // The grid cannot hold the end of a long register; that part goes out as
    // the register table holds it, never as made-up bytes.
    if (size > GridBytes) {
        const std::vector<uint8_t> stored = table_.GetData(subAddress);
        bytes.insert(bytes.end(), stored.begin() + GridBytes, stored.end());
    }
    bus_.I2CWrite(address, subAddress, size, bytes.data());
    // Stored whatever the transfer's outcome: a failure shows in the status
    // area, and the table says what the user asked the device to hold.
    table_.SetData(subAddress, bytes);
    if (size > GridBytes)
        Tell(QStringLiteral(
                 "Register %1 has %2 bytes: bytes %3 to %4 were sent as the register table holds them")
                 .arg(HexByte(subAddress))
                 .arg(size)
                 .arg(GridBytes)
                 .arg(size - 1));
}

void TCommandLineForm::suitempBlockWriteBitBtnClick() {
    hooks_.StopFsPoll();
    Tell(QString());
    const QString fileName = dialogs_.GetOpenFileName(
        this, ConfigFileRequest("Choose Configuration Data to Send", blockWriteFolder_));
    if (!fileName.isEmpty()) {
        const FileReport report = table_.LoadConfigFile(LocalFileName(fileName));
        if (!report.opened)
            Tell("CANNOT READ " + fileName);
        else if (!report.problems.empty())
            Tell(ProblemsText(fileName, report.problems));
        blockWriteFolder_ = QFileInfo(fileName).absolutePath();
    }
    EndTransfers();
}

void TCommandLineForm::suitempBlockReadBitBtnClick() {
    hooks_.StopFsPoll();
    Tell(QString());
    const uint8_t start = HexField(BlockStartAddrEdit);
    const uint8_t stop = HexField(BlockStopAddrEdit);
    table_.ReadRegisters(start, stop);
    const bool readWhole = bus_.IsTransferOk();

    QStringList messages;
    if (!readWhole)
        messages
            << "READ STOPPED at a bus error: registers not read keep their earlier bytes in the register "
               "table and in a saved file";
    const QString fileName = dialogs_.GetSaveFileName(
        this, ConfigFileRequest("Pick A File Name to Save Read Data", blockReadFolder_));
    if (!fileName.isEmpty()) {
        if (table_.SaveRegisterSpan(LocalFileName(fileName), start, stop) == SaveOutcome::Failed)
            messages << "CANNOT WRITE " + fileName;
        blockReadFolder_ = QFileInfo(fileName).absolutePath();
    }
    Tell(messages.join('\n'));
    EndTransfers();
}

void TCommandLineForm::EndTransfers() {
    hooks_.RestoreStartDirectory();
    hooks_.ResumeFsPoll();
}
