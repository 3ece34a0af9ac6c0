#include "EqImport.h"

#include "Conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == text.size())
            break;
        start = end + 1;
    }
    return lines;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSpace(line[i]))
            ++i;
        const size_t start = i;
        while (i < line.size() && !IsSpace(line[i]))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Is(std::string_view word, std::string_view lowerName) {
    return word.size() == lowerName.size() && std::equal(word.begin(), word.end(), lowerName.begin(),
                                                         [](char a, char b) { return Lower(a) == b; });
}

bool StartsWith(std::string_view text, std::string_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() && Is(text.substr(0, lowerPrefix.size()), lowerPrefix);
}

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A whole word as a finite decimal number ("2.50", "-4.5", "+3", "1e-3").
std::optional<double> Number(std::string_view word) {
    if (!word.empty() && word.front() == '+')
        word.remove_prefix(1);
    if (word.empty() ||
        !(word.front() == '-' || word.front() == '.' || (word.front() >= '0' && word.front() <= '9')))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A word quoted in a message, cut short and with anything unprintable shown
// as "?", so a line of binary junk still gives a readable message.
std::string Quoted(std::string_view word) {
    std::string text = "\"";
    for (char c : word.substr(0, 24))
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    if (word.size() > 24)
        text += "...";
    return text + "\"";
}

class Collector {
public:
    void Error(int line, const std::string& what) {
        ++errorCount_;
        if (errorCount_ <= MaxImportErrors)
            result_.errors.push_back("line " + std::to_string(line) + ": " + what);
    }
    void Warning(int line, const std::string& what) {
        result_.warnings.push_back("line " + std::to_string(line) + ": " + what);
    }
    // Takes one more filter; false (and an error) once the channel is full.
    bool Add(ImportedBiquad biquad) {
        if (result_.filterCount == BiquadsPerChannel) {
            Error(biquad.line, "more than seven filters: a channel holds seven biquads");
            ++result_.filterCount;
            return false;
        }
        if (result_.filterCount < BiquadsPerChannel)
            result_.biquads.push_back(std::move(biquad));
        ++result_.filterCount;
        return true;
    }
    int FilterCount() const { return result_.filterCount; }
    int ErrorCount() const { return errorCount_; }

    EqImportResult Finish() {
        if (errorCount_ > MaxImportErrors)
            result_.errors.push_back(std::to_string(errorCount_ - MaxImportErrors) +
                                     " more errors not listed");
        if (!result_.errors.empty()) {
            result_.biquads.clear();
            return std::move(result_);
        }
        while (result_.biquads.size() < BiquadsPerChannel) {
            ImportedBiquad fill;
            fill.description = "all-pass";
            fill.bytes = AllPassBytes();
            result_.biquads.push_back(fill);
        }
        return std::move(result_);
    }

private:
    EqImportResult result_;
    int errorCount_ = 0;
};

// ---- filter lists ----

struct TypeWord {
    std::string_view word;
    FilterType type;
    int order;
};

constexpr std::array<TypeWord, 15> TypeWords = {{
    {"pk", FilterType::Peaking, 2},
    {"ls", FilterType::LowShelf, 2},
    {"lsc", FilterType::LowShelf, 2},
    {"hs", FilterType::HighShelf, 2},
    {"hsc", FilterType::HighShelf, 2},
    {"lp", FilterType::LowPass, 2},
    {"lpq", FilterType::LowPass, 2},
    {"lp1", FilterType::LowPass, 1},
    {"hp", FilterType::HighPass, 2},
    {"hpq", FilterType::HighPass, 2},
    {"hp1", FilterType::HighPass, 1},
    {"bp", FilterType::BandPass, 2},
    {"no", FilterType::Notch, 2},
    {"ap", FilterType::AllPass, 2},
    {"peq", FilterType::Peaking, 2},
}};

bool NeedsWidth(FilterType type) {
    return type == FilterType::Peaking || type == FilterType::BandPass || type == FilterType::Notch ||
           type == FilterType::AllPass;
}

bool IsShelf(FilterType type) {
    return type == FilterType::LowShelf || type == FilterType::HighShelf;
}

std::string Upper(std::string_view word) {
    std::string text(word);
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Reads one filter line (already known to start "Filter <n>"); nothing when
// the filter is off or "None". Problems go to `errors`, the first one ends
// the line.
std::optional<ImportedBiquad> ReadFilterLine(const std::vector<std::string_view>& words, int line,
                                             double sampleRate, Collector& out) {
    size_t i = 1;
    std::string_view number = words[i++];
    if (number.back() == ':')
        number.remove_suffix(1);
    else if (i < words.size() && words[i] == ":")
        ++i;
    if (!AllDigits(number)) {
        out.Error(line, "the filter number " + Quoted(number) + " is not a number");
        return std::nullopt;
    }
    if (i >= words.size()) {
        out.Error(line, "ON or OFF expected after the filter number");
        return std::nullopt;
    }
    const std::string_view state = words[i++];
    if (Is(state, "off"))
        return std::nullopt;
    if (!Is(state, "on")) {
        out.Error(line, "ON or OFF expected, not " + Quoted(state));
        return std::nullopt;
    }
    if (i >= words.size()) {
        out.Error(line, "the filter type is missing");
        return std::nullopt;
    }
    const std::string_view typeWord = words[i++];
    if (Is(typeWord, "none"))
        return std::nullopt;
    const auto known = std::find_if(TypeWords.begin(), TypeWords.end(),
                                    [&](const TypeWord& t) { return Is(typeWord, t.word); });
    if (known == TypeWords.end()) {
        out.Error(line, "unknown filter type " + Quoted(typeWord));
        return std::nullopt;
    }
    FilterSpec spec;
    spec.type = known->type;
    spec.order = known->order;
    std::string description = Upper(typeWord);
    if (IsShelf(spec.type) && i < words.size() && (Is(words[i], "6db") || Is(words[i], "12db"))) {
        spec.order = Is(words[i], "6db") ? 1 : 2;
        description += " " + std::string(words[i]);
        ++i;
    }

    std::optional<double> fc, gain, q, bw;
    while (i < words.size()) {
        const std::string_view key = words[i++];
        std::optional<double>* slot = nullptr;
        std::string_view unit;
        if (Is(key, "fc"))
            slot = &fc, unit = "hz";
        else if (Is(key, "gain"))
            slot = &gain, unit = "db";
        else if (Is(key, "q"))
            slot = &q;
        else if (Is(key, "bw")) {
            slot = &bw;
            if (i < words.size() && Is(words[i], "oct"))
                ++i;
        } else {
            out.Error(line, Quoted(key) + " is not understood");
            return std::nullopt;
        }
        if (slot->has_value()) {
            out.Error(line, Quoted(key) + " is given twice");
            return std::nullopt;
        }
        const std::optional<double> value = i < words.size() ? Number(words[i]) : std::nullopt;
        if (!value) {
            out.Error(line, "a number must follow " + Quoted(key));
            return std::nullopt;
        }
        *slot = value;
        ++i;
        if (!unit.empty() && i < words.size() && Is(words[i], unit))
            ++i;
    }

    if (!fc) {
        out.Error(line, "the frequency (Fc) is missing");
        return std::nullopt;
    }
    spec.frequency = *fc;
    description += " " + FormatShortest(*fc) + " Hz";
    if (HasGain(spec.type)) {
        if (!gain) {
            out.Error(line, "the gain is missing");
            return std::nullopt;
        }
        spec.gainDb = *gain;
        description += " " + FormatShortest(*gain) + " dB";
    } else if (gain && *gain != 0) {
        out.Error(line, "a " + Upper(typeWord) + " filter has no gain");
        return std::nullopt;
    }
    if (q && bw) {
        out.Error(line, "give Q or BW, not both");
        return std::nullopt;
    }
    if (spec.order == 2) {
        if (q || bw) {
            spec.width = q ? *q : *bw;
            spec.widthKind = q ? WidthKind::Q : WidthKind::Bandwidth;
            description += q ? " Q " + FormatShortest(*q) : " BW " + FormatShortest(*bw) + " oct";
        } else if (NeedsWidth(spec.type)) {
            out.Error(line, "the width (Q or BW Oct) is missing");
            return std::nullopt;
        }
    }

    // A filter beyond the seventh is an error whatever it is; designing it
    // (and every one after it in a long file) would only cost time.
    if (out.FilterCount() >= BiquadsPerChannel)
        return ImportedBiquad{line, description, {}, AllPassBytes()};
    const FilterDesign design = DesignFilter(spec, sampleRate, false);
    if (!design.error.empty()) {
        out.Error(line, design.error);
        return std::nullopt;
    }
    for (const std::string& warning : design.warnings)
        out.Warning(line, description + ": " + warning);
    return ImportedBiquad{line, description, design.designed, design.bytes};
}

// ---- coefficient text ----

struct Section {
    int line = 0;
    std::string name;
    std::array<std::optional<double>, 5> values;
    bool bad = false; // a line of it was already named as an error
};

constexpr std::array<std::string_view, 5> CoefficientKeys = {"b0", "b1", "b2", "a1", "a2"};

void CloseSection(const std::optional<Section>& section, Collector& out) {
    if (!section || section->bad)
        return;
    std::string missing;
    for (size_t k = 0; k < CoefficientKeys.size(); ++k)
        if (!section->values[k])
            missing += (missing.empty() ? "" : ", ") + std::string(CoefficientKeys[k]);
    if (!missing.empty()) {
        out.Error(section->line, section->name + " lacks " + missing);
        return;
    }
    const BiquadCoefficients c{*section->values[0], *section->values[1], *section->values[2],
                               *section->values[3], *section->values[4]};
    ImportedBiquad biquad{section->line, section->name, c, QuantiseBiquad(c)};
    if (!StoredBiquadIsStable(biquad.bytes))
        out.Warning(section->line, section->name + " is unstable: a pole lies on or outside the unit circle");
    out.Add(std::move(biquad));
}

bool IsComment(std::string_view line) {
    return line.starts_with('#') || line.starts_with(';') || line.starts_with("//");
}

bool IsCoefficientLine(std::string_view line) {
    line = Trim(line);
    if (StartsWith(line, "biquad"))
        return true;
    if (!StartsWith(line, "b0"))
        return false;
    line = Trim(line.substr(2));
    return line.starts_with('=');
}

} // namespace

EqImportResult ImportFilterList(std::string_view text, double sampleRate) {
    Collector out;
    bool anyFilterLine = false;
    int lineNumber = 0;
    for (std::string_view line : Lines(text)) {
        ++lineNumber;
        const std::vector<std::string_view> words = Words(line);
        if (words.size() < 2 || !Is(words[0], "filter") || !(words[1][0] >= '0' && words[1][0] <= '9'))
            continue;
        anyFilterLine = true;
        if (std::optional<ImportedBiquad> biquad = ReadFilterLine(words, lineNumber, sampleRate, out))
            out.Add(std::move(*biquad));
    }
    if (!anyFilterLine)
        out.Error(1, "no filter lines (\"Filter 1: ON PK Fc ... Hz Gain ... dB Q ...\") in the file");
    return out.Finish();
}

EqImportResult ImportBiquadCoefficients(std::string_view text) {
    Collector out;
    std::optional<Section> section;
    bool anySection = false;
    int lineNumber = 0;
    for (std::string_view line : Lines(text)) {
        ++lineNumber;
        line = Trim(line);
        if (!line.empty() && line.back() == ',')
            line = Trim(line.substr(0, line.size() - 1));
        if (line.empty() || IsComment(line))
            continue;
        if (StartsWith(line, "biquad")) {
            CloseSection(section, out);
            anySection = true;
            const std::string_view number = line.substr(6);
            if (!AllDigits(number)) {
                out.Error(lineNumber, Quoted(line) + " is not a biquad heading such as \"biquad1\"");
                section.reset();
                continue;
            }
            section = Section{lineNumber, "biquad" + std::string(number), {}};
            continue;
        }
        const size_t equals = line.find('=');
        const std::string_view key = Trim(line.substr(0, equals));
        const auto k = std::find_if(CoefficientKeys.begin(), CoefficientKeys.end(),
                                    [&](std::string_view name) { return Is(key, name); });
        if (equals == std::string_view::npos || k == CoefficientKeys.end()) {
            out.Error(lineNumber, Quoted(line) + " is neither a biquad heading nor b0=, b1=, b2=, a1=, a2=");
            continue;
        }
        if (!section) {
            out.Error(lineNumber, "a coefficient outside a biquad (a \"biquad1,\" line must come first)");
            continue;
        }
        const std::optional<double> value = Number(Trim(line.substr(equals + 1)));
        const size_t index = static_cast<size_t>(k - CoefficientKeys.begin());
        section->bad = section->bad || !value || section->values[index] ||
                       QuantiseCoefficient(value.value_or(0)).saturated;
        if (!value)
            out.Error(lineNumber, std::string(*k) + " is not a number");
        else if (section->values[index])
            out.Error(lineNumber, std::string(*k) + " is given twice in " + section->name);
        else if (QuantiseCoefficient(*value).saturated)
            out.Error(lineNumber, std::string(*k) + " = " + FormatShortest(*value) +
                                      " is beyond what the device can hold (-16 to +16)");
        else
            section->values[index] = value;
    }
    CloseSection(section, out);
    if (!anySection && out.ErrorCount() == 0)
        out.Error(1, "no biquad (\"biquad1,\" then b0= ... a2=) in the file");
    return out.Finish();
}

EqImportResult ImportEqText(std::string_view text, double sampleRate) {
    for (std::string_view line : Lines(text))
        if (IsCoefficientLine(line))
            return ImportBiquadCoefficients(text);
    return ImportFilterList(text, sampleRate);
}
