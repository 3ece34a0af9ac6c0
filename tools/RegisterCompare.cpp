#include "RegisterCompare.h"

#include "Configdataunit.h"
#include "Conversions.h"
#include "TextFile.h"
#include "Volumeunit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <span>

namespace {

enum class Format { Unknown, Volume, Biquad, Gains };

struct FormatRange {
    int first, last;
    Format format;
};

// The registers whose contents the tool understands.
constexpr FormatRange Formats[] = {
    {0x41, 0x48, Format::Gains},  // input mixers: eight gain words each
    {0x49, 0x50, Format::Gains},  // bass management gains
    {0x51, 0x88, Format::Biquad}, // the channels' biquads
    {0x95, 0x95, Format::Biquad}, // the loudness biquad
    {0xAA, 0xB1, Format::Gains},  // output mixers (the top nibble picks the source)
    {0xD1, 0xD9, Format::Volume}, // channel and master volumes
};

Format FormatOf(int subAddress) {
    for (const FormatRange& range : Formats)
        if (subAddress >= range.first && subAddress <= range.last)
            return range.format;
    return Format::Unknown;
}

std::span<const uint8_t, 4> Word(const std::vector<uint8_t>& bytes, size_t word) {
    return std::span<const uint8_t, 4>(bytes.data() + 4 * word, 4);
}

std::string DbText(double db) {
    if (db >= MinusInfinityDb)
        return "-inf dB";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", db);
    std::string result = text;
    // "0.00" reads better as "0"; keep two decimals otherwise.
    if (result == "0.00" || result == "-0.00")
        result = "0";
    return result + " dB";
}

std::string Hex2(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x", value & 0xFF);
    return text;
}

std::string Side(const std::string& name, const RegisterRow& row, bool left) {
    const bool held = left ? row.inLeft : row.inRight;
    if (!held)
        return name + ": (none)";
    const std::vector<uint8_t>& bytes = left ? row.left : row.right;
    const std::string& value = left ? row.leftValue : row.rightValue;
    return name + ": " + BytesText(bytes) + (value.empty() ? "" : " (" + value + ")");
}

std::string NameOf(const TConfigDataUnit& table, int subAddress) {
    std::string name = table.GetName(subAddress);
    if (!name.empty() && name.front() == '!')
        name.erase(0, 1);
    return name;
}

} // namespace

std::string BytesText(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (uint8_t byte : bytes)
        text += (text.empty() ? "" : " ") + ByteEditText(byte);
    return text;
}

std::string DecodeRegister(int subAddress, const std::vector<uint8_t>& bytes) {
    switch (FormatOf(subAddress)) {
    case Format::Volume: {
        if (bytes.size() != 4)
            return {};
        const int step = TVolume::StepOfWord(bytes);
        const std::string text = TVolume::VolumeText(step);
        return step >= TVolume::MaxStep ? text : text + " dB";
    }
    case Format::Biquad: {
        if (bytes.size() != 20)
            return {};
        static const char* const names[] = {"b0", "b1", "b2", "a1", "a2"};
        std::string text;
        for (size_t i = 0; i < 5; ++i)
            text += (i ? " " : "") + std::string(names[i]) + " " +
                    FormatShortest(ParseDecimal(Fixed523ToText(Word(bytes, i))));
        return text;
    }
    case Format::Gains: {
        if (bytes.empty() || bytes.size() % 4 != 0)
            return {};
        std::string text;
        for (size_t i = 0; i < bytes.size() / 4; ++i)
            text += (i ? ", " : "") + DbText(Fixed523ToDb(Word(bytes, i)));
        return text;
    }
    case Format::Unknown:
        break;
    }
    return {};
}

RegisterImage FileImage(const TConfigDataUnit& table, const std::string& fileName, const std::string& title) {
    RegisterImage image;
    image.title = title;
    const std::optional<std::string> text = ReadTextFile(fileName);
    if (!text) {
        image.problems.push_back("Cannot read " + fileName);
        return image;
    }
    ConfigRecordList list = table.ReadRecords(*text, std::nullopt);
    for (ConfigRecord& record : list.records)
        image.registers[record.subAddress] = std::move(record.bytes);
    image.problems = std::move(list.problems);
    return image;
}

RegisterImage TableImage(const TConfigDataUnit& table) {
    RegisterImage image;
    image.title = "Register table";
    image.complete = true;
    for (int s = 0; s <= 0xFF; ++s)
        if (table.GetSize(s) > 0)
            image.registers[s] = table.GetData(s);
    return image;
}

RegisterImage DeviceImage(TConfigDataUnit& table, const std::vector<int>& subAddresses) {
    RegisterImage image;
    image.title = "Device";
    image.complete = true;
    for (int s : subAddresses) {
        if (table.GetSize(s) <= 0)
            continue;
        std::optional<std::vector<uint8_t>> bytes = table.ReadBack(s);
        if (!bytes) {
            image.problems.push_back("The device could not be read from register 0x" + Hex2(s) + " on");
            break;
        }
        image.registers[s] = std::move(*bytes);
    }
    return image;
}

RegisterImage DeviceImage(TConfigDataUnit& table) {
    std::vector<int> all;
    for (int s = 0; s <= 0xFF; ++s)
        if (table.GetSize(s) > 0)
            all.push_back(s);
    return DeviceImage(table, all);
}

RegisterComparison CompareImages(const TConfigDataUnit& table, const RegisterImage& left,
                                 const RegisterImage& right) {
    RegisterComparison comparison;
    std::vector<int> subAddresses;
    for (const auto& [s, bytes] : left.registers)
        subAddresses.push_back(s);
    for (const auto& [s, bytes] : right.registers)
        if (!left.registers.contains(s))
            subAddresses.push_back(s);
    std::sort(subAddresses.begin(), subAddresses.end());

    for (int s : subAddresses) {
        RegisterRow row;
        row.subAddress = s;
        row.name = NameOf(table, s);
        if (auto found = left.registers.find(s); found != left.registers.end()) {
            row.inLeft = true;
            row.left = found->second;
            row.leftValue = DecodeRegister(s, row.left);
        }
        if (auto found = right.registers.find(s); found != right.registers.end()) {
            row.inRight = true;
            row.right = found->second;
            row.rightValue = DecodeRegister(s, row.right);
        }
        const size_t count = std::max(row.left.size(), row.right.size());
        row.byteDiffers.resize(count);
        for (size_t i = 0; i < count; ++i)
            row.byteDiffers[i] = i >= row.left.size() || i >= row.right.size() || row.left[i] != row.right[i];
        if (row.inLeft && row.inRight) {
            row.differs = row.left != row.right;
        } else {
            // A file leaves out what the table and the device always hold.
            const RegisterImage& holder = row.inLeft ? left : right;
            const RegisterImage& lacker = row.inLeft ? right : left;
            row.differs = !(holder.complete && !lacker.complete);
        }
        if (row.differs)
            ++comparison.differences;
        comparison.rows.push_back(std::move(row));
    }
    return comparison;
}

std::string RegisterLabel(const RegisterRow& row) {
    return "0x" + Hex2(row.subAddress) + (row.name.empty() ? "" : " " + row.name);
}

std::string DifferenceLine(const RegisterRow& row, const std::string& leftName,
                           const std::string& rightName) {
    return RegisterLabel(row) + "  " + Side(leftName, row, true) + "  " + Side(rightName, row, false);
}

std::string DifferencesText(const RegisterComparison& comparison, const RegisterImage& left,
                            const RegisterImage& right) {
    std::string text = "Left: " + left.title + "\nRight: " + right.title + "\n";
    for (const RegisterImage* image : {&left, &right})
        for (const std::string& problem : image->problems)
            text += image->title + ": " + problem + "\n";
    text += std::to_string(comparison.differences) +
            (comparison.differences == 1 ? " register differs\n" : " registers differ\n");
    for (const RegisterRow& row : comparison.rows)
        if (row.differs)
            text += DifferenceLine(row, "Left", "Right") + "\n";
    return text;
}
