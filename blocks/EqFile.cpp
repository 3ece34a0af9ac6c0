#include "EqFile.h"

#include "Conversions.h"
#include "Equnit.h"

std::string EqFileText(const TConfigDataUnit& table, int channelNumber,
                       const std::vector<std::string>& comments) {
    std::string text;
    for (const std::string& comment : comments)
        text += "/ " + comment + "\n";
    for (int biquad = 0; biquad < TEQ::BiquadCount; ++biquad) {
        const int subAddress = TEQ::BiquadSubAddress(channelNumber - 1, biquad);
        if (table.GetSize(subAddress) <= 0)
            continue;
        // The name line must read back as a comment, whatever the map says.
        const std::string name = table.GetName(subAddress);
        text += (name.starts_with('!') ? name : "!" + name) + "\n";
        text += "Q" + std::to_string(biquad + 1) + " ";
        for (uint8_t byte : table.GetData(subAddress))
            text += ByteEditText(byte) + " ";
        text += "\n";
    }
    return text;
}

SaveOutcome SaveEqFile(const TConfigDataUnit& table, const std::string& fileName, int channelNumber,
                       const std::vector<std::string>& comments) {
    SafeFileWriter file(fileName);
    if (!file.IsOpen())
        return SaveOutcome::Failed;
    file.Stream() << EqFileText(table, channelNumber, comments);
    return file.Commit() ? SaveOutcome::Saved : SaveOutcome::Failed;
}
