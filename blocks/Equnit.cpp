#include "Equnit.h"

#include "Conversions.h"

#include <algorithm>

namespace {

constexpr int FirstBiquad[TEQ::ChannelCount] = {0x51, 0x58, 0x7B, 0x82};

struct EqCurve {
    const char* name;
    std::array<const char*, 5> files;
};

// Searched in this order; the first curve with a hit names the file.
const EqCurve Curves[] = {
    {"Country",
     {"COUNTRY32.EQ46XX", "COUNTRY44.EQ46XX", "COUNTRY48.EQ46XX", "COUNTRY96.EQ46XX", "COUNTRY192.EQ46XX"}},
    {"H Rock",
     {"HEAVYROCK32.EQ46XX", "HEAVYROCK44.EQ46XX", "HEAVYROCK48.EQ46XX", "HEAVYROCK96.EQ46XX",
      "HEAVYROCK192.EQ46XX"}},
    {"Jazz", {"JAZZ32.EQ46XX", "JAZZ44.EQ46XX", "JAZZ48.EQ46XX", "JAZZ96.EQ46XX", "JAZZ192.EQ46XX"}},
    {"L Rock",
     {"LITEROCK32.EQ46XX", "LITEROCK44.EQ46XX", "LITEROCK48.EQ46XX", "LITEROCK96.EQ46XX",
      "LITEROCK192.EQ46XX"}},
    {"Rap", {"RAP32.EQ46XX", "RAP44.EQ46XX", "RAP48.EQ46XX", "RAP96.EQ46XX", "RAP192.EQ46XX"}},
};

} // namespace

int TEQ::BiquadSubAddress(int channel, int biquad) {
    const int row = channel >= 1 && channel <= 3 ? channel : 0;
    const int column = biquad >= 0 && biquad < BiquadCount ? biquad : 0;
    return FirstBiquad[row] + column;
}

int TEQ::ChannelBase(int channelNumber) {
    switch (channelNumber) {
    case 2:
        return 7;
    case 3:
        return 42;
    case 4:
        return 49;
    default:
        return 0;
    }
}

std::string TEQ::EqName(const std::string& path) {
    for (const EqCurve& curve : Curves)
        for (const char* file : curve.files)
            if (path.find(file) != std::string::npos)
                return curve.name;
    return "N/A";
}

void TEQ::ShowBiquad(int subAddress, BiquadFields& fields) const {
    const std::vector<uint8_t> bytes = table_.GetData(subAddress);
    const size_t count = std::min(bytes.size(), fields.size());
    for (size_t i = 0; i < count; ++i)
        fields[i] = ByteEditText(bytes[i]);
}

void TEQ::ApplyBiquad(int subAddress, const BiquadFields& fields) {
    std::array<uint8_t, BiquadBytes> bytes{};
    for (size_t i = 0; i < fields.size(); ++i)
        bytes[i] = ByteEditValue(fields[i]);
    table_.SetData(subAddress, bytes);
    table_.WriteRegister(subAddress);
}

TEQ::BiquadFields TEQ::AllPassFields() {
    BiquadFields fields;
    fields.fill("00");
    fields[1] = "80";
    return fields;
}

std::span<const std::string, 4> TEQ::Row(const BiquadFields& fields, int row) {
    return std::span<const std::string, 4>(fields.data() + 4 * std::clamp(row, 0, CoefficientCount - 1), 4);
}

BiquadCoefficients TEQ::StoredCoefficients(int subAddress) const {
    BiquadFields fields;
    fields.fill("00");
    ShowBiquad(subAddress, fields);
    double value[CoefficientCount];
    for (int row = 0; row < CoefficientCount; ++row) {
        std::string text;
        ByteEditsToText4(Row(fields, row), text);
        value[row] = ParseDecimal(text);
    }
    return {value[0], value[1], value[2], value[3], value[4]};
}

TEQ::LoadResult TEQ::LoadEqFile(const std::string& shownPath, const std::string& fileToOpen,
                                int channelNumber) {
    LoadResult result;
    result.eqName = EqName(shownPath);
    result.report = table_.LoadKeyedFile(fileToOpen, ChannelBase(channelNumber));
    return result;
}
