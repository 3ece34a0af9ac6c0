#pragma once

#include "ConfigRecords.h"
#include "Elementsunit.h"
#include "RegisterBus.h"
#include "TextFile.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What a file reader found wrong with its input. `opened` is false when the
// file could not be read at all; `problems` lists, in file order, every
// record or line that was not taken as it stood, in words a user can act on.
struct FileReport {
    bool opened = false;
    std::vector<std::string> problems;
};

// The first problem and how many more there are, for a one-line message.
std::string ProblemSummary(const std::vector<std::string>& problems);

enum class SaveOutcome {
    Saved,    // the file now holds the whole content
    Declined, // the user chose not to replace an existing file
    Failed    // the file could not be written; any earlier file is as it was (should
              // even writing its old text back fail, a complete copy is kept)
};

// The tool's image of the device registers: 256 slots, each holding one
// register named by the register map file. The map decides which
// sub-addresses exist and how many bytes each has; after it has been read only
// the data bytes change. All register traffic of the blocks goes through here.
class TConfigDataUnit {
public:
    static constexpr int SlotCount = 256;
    static constexpr uint8_t DefaultDeviceAddress = 0x36;

    TConfigDataUnit();

    void SetBus(IRegisterBus* bus) { bus_ = bus; }
    void SetDeviceAddressSource(const IDeviceAddressSource* source) { addressSource_ = source; }
    void SetOverwriteQuestion(IOverwriteQuestion* question) { overwriteQuestion_ = question; }

    // --- by sub-address ---
    int FindEntry(int subAddress) const;
    int GetSize(int subAddress) const;
    std::vector<uint8_t> GetData(int subAddress) const;
    void SetData(int subAddress, std::span<const uint8_t> bytes);
    std::string GetName(int subAddress) const;
    void SetName(int subAddress, const std::string& name);
    void WriteRegister(int subAddress);
    void ReadRegisters(uint8_t first, uint8_t last);
    // What the device holds in one register now, read without storing it in
    // the table (for comparing the two). Nothing when the map does not define
    // the register or the transfer fails.
    std::optional<std::vector<uint8_t>> ReadBack(int subAddress);

    // --- by table index (map reader and file writers) ---
    void SetSubAddress(int index, int subAddress);
    void SetSize(int index, int size);
    int SubAddressAt(int index) const;
    int SizeAt(int index) const;
    std::vector<uint8_t> DataAt(int index) const;
    std::string NameAt(int index) const;

    // --- register map file ---
    bool ReadMapFile(const std::string& fileName);
    void ReadMapText(std::string_view text);
    const std::string& MapFileName() const { return mapFileName_; }
    const std::vector<std::string>& MapFileProblems() const { return mapProblems_; }

    // --- configuration files ---
    // The records of a configuration file's text, sized by this table; with
    // a key base also the keyed records of EQ and DRC files.
    ConfigRecordList ReadRecords(std::string_view text, std::optional<int> keyBase) const;
    FileReport LoadConfigFile(const std::string& fileName);
    FileReport LoadKeyedFile(const std::string& fileName, int base);
    SaveOutcome SaveConfigFile(const std::string& fileName);
    SaveOutcome SaveConfigFileNoPrompt(const std::string& fileName);
    SaveOutcome SaveRegisterSpan(const std::string& fileName, int first, int last);

    // Registers that whole-table saves leave out: clock status, reserved and
    // factory areas the device must not be sent from a file.
    static bool IsExcludedFromSave(int subAddress);

    // The device's bus address for the next transfer, as the register
    // command window holds it (0x36 before that window exists).
    uint8_t DeviceAddress() const;

private:
    static bool ValidIndex(int index) { return index >= 0 && index < SlotCount; }
    void MapProblem(int line, std::initializer_list<std::string_view> what);
    // Open a file for saving; the confirmed form asks before replacing an
    // existing file and answers false when the user declines.
    bool OpenForWriteConfirmed(const std::string& fileName, std::optional<SafeFileWriter>& file);
    static bool OpenForWrite(const std::string& fileName, std::optional<SafeFileWriter>& file);
    SaveOutcome WriteSlots(const std::string& fileName, bool confirm, int first, int last, bool skipExcluded);

    // Empties a slot: no register, no bytes, no name.
    void ClearSlot(int index);

    std::string mapFileName_;
    std::vector<std::string> mapProblems_;
    std::array<CElements, SlotCount> slots_;
    // For each sub-address the highest slot that holds it, or -1: every
    // register transfer and every map record looks a register up, and a scan
    // of all slots for each made reading a large map slow. Kept by
    // SetSubAddress and ClearSlot, the only places a slot's sub-address
    // changes.
    std::array<int16_t, 256> slotOf_;
    IRegisterBus* bus_ = nullptr;
    const IDeviceAddressSource* addressSource_ = nullptr;
    IOverwriteQuestion* overwriteQuestion_ = nullptr;
};
