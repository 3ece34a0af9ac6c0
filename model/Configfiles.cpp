// Loading and saving the register table as configuration files.

#include "ConfigRecords.h"
#include "Configdataunit.h"
#include "Conversions.h"
#include "TextFile.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace {

void WriteSlot(std::ostream& out, const TConfigDataUnit& table, int index) {
    out << table.NameAt(index) << '\n';
    out << 'X' << ByteEditText(static_cast<uint8_t>(table.SubAddressAt(index))) << ' ';
    for (uint8_t byte : table.DataAt(index))
        out << ByteEditText(byte) << ' ';
    out << '\n';
}

} // namespace

std::string ProblemSummary(const std::vector<std::string>& problems) {
    if (problems.empty())
        return {};
    return problems.front() +
           (problems.size() > 1 ? " (+" + std::to_string(problems.size() - 1) + " more)" : "");
}

ConfigRecordList TConfigDataUnit::ReadRecords(std::string_view text, std::optional<int> keyBase) const {
    return ReadConfigRecords(
        text,
        [this](uint8_t subAddress) {
            const int index = FindEntry(subAddress);
            return index < 0 ? -1 : SizeAt(index);
        },
        keyBase);
}

FileReport TConfigDataUnit::LoadConfigFile(const std::string& fileName) {
    FileReport report;
    const std::optional<std::string> text = ReadTextFile(fileName);
    if (!text)
        return report;
    report.opened = true;
    ConfigRecordList list = ReadRecords(*text, std::nullopt);
    for (const ConfigRecord& record : list.records) {
        SetData(record.subAddress, record.bytes);
        WriteRegister(record.subAddress);
    }
    report.problems = std::move(list.problems);
    return report;
}

FileReport TConfigDataUnit::LoadKeyedFile(const std::string& fileName, int base) {
    FileReport report;
    const std::optional<std::string> text = ReadTextFile(fileName);
    if (!text)
        return report;
    report.opened = true;
    ConfigRecordList list = ReadRecords(*text, base);
    // Everything is stored before anything is sent, so a register that the
    // file names twice goes out with its last value both times.
    for (const ConfigRecord& record : list.records)
        SetData(record.subAddress, record.bytes);
    for (const ConfigRecord& record : list.records)
        WriteRegister(record.subAddress);
    report.problems = std::move(list.problems);
    return report;
}

bool TConfigDataUnit::OpenForWrite(const std::string& fileName, std::optional<SafeFileWriter>& file) {
    file.emplace(fileName);
    return true;
}

bool TConfigDataUnit::OpenForWriteConfirmed(const std::string& fileName,
                                            std::optional<SafeFileWriter>& file) {
    OpenForWrite(fileName, file);
    // A file that cannot be written (read-only, a folder, a loop of links)
    // fails without first asking whether to replace it.
    if (!file->IsOpen())
        return true;
    std::error_code error;
    const bool exists = std::filesystem::exists(fileName, error);
    if (exists && overwriteQuestion_ && !overwriteQuestion_->ConfirmReplace(fileName)) {
        file.reset();
        return false;
    }
    return true;
}

SaveOutcome TConfigDataUnit::WriteSlots(const std::string& fileName, bool confirm, int first, int last,
                                        bool skipExcluded) {
    std::optional<SafeFileWriter> file;
    if (!(confirm ? OpenForWriteConfirmed(fileName, file) : OpenForWrite(fileName, file)))
        return SaveOutcome::Declined;
    if (!file->IsOpen())
        return SaveOutcome::Failed;
    for (int i = first; i <= last; ++i) {
        if (slots_[i].subAddress == CElements::Undefined ||
            (skipExcluded && IsExcludedFromSave(SubAddressAt(i))))
            continue;
        WriteSlot(file->Stream(), *this, i);
    }
    return file->Commit() ? SaveOutcome::Saved : SaveOutcome::Failed;
}

SaveOutcome TConfigDataUnit::SaveConfigFile(const std::string& fileName) {
    return WriteSlots(fileName, true, 0, SlotCount - 1, true);
}

SaveOutcome TConfigDataUnit::SaveConfigFileNoPrompt(const std::string& fileName) {
    return WriteSlots(fileName, false, 0, SlotCount - 1, true);
}

SaveOutcome TConfigDataUnit::SaveRegisterSpan(const std::string& fileName, int first, int last) {
    first = std::clamp(first, 0, SlotCount - 1);
    last = std::clamp(last, 0, SlotCount - 1);
    return WriteSlots(fileName, true, std::min(first, last), last, false);
}
