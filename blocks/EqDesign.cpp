#include "EqDesign.h"

#include "Conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr double CountsPerUnit = 8388608.0; // 2^23
constexpr int64_t LowestCount = -(int64_t{1} << 27);
constexpr int64_t HighestCount = (int64_t{1} << 27) - 1;

constexpr const char* CoefficientNames[5] = {"b0", "b1", "b2", "a1", "a2"};

// Cookbook form: numerator b0..b2 and denominator a0..a2 with the
// denominator's signs as written, a0 not yet divided out.
struct RawBiquad {
    double b0, b1, b2, a0, a1, a2;
};

BiquadCoefficients Normalise(const RawBiquad& r) {
    return {r.b0 / r.a0, r.b1 / r.a0, r.b2 / r.a0, -r.a1 / r.a0, -r.a2 / r.a0};
}

// One-pole prototypes through the bilinear transform, K = tan(w0/2). The
// shelves are (s + A)/(s + 1/A) and (A^2 s + A)/(s + A): full gain A^2 at one
// end, unity at the other and exactly half the gain in dB at the frequency.
RawBiquad FirstOrder(FilterType type, double K, double A) {
    switch (type) {
    case FilterType::LowPass:
        return {K, K, 0, K + 1, K - 1, 0};
    case FilterType::HighPass:
        return {1, -1, 0, K + 1, K - 1, 0};
    case FilterType::AllPass:
        return {K - 1, K + 1, 0, K + 1, K - 1, 0};
    case FilterType::LowShelf:
        return {1 + A * K, A * K - 1, 0, 1 + K / A, K / A - 1, 0};
    case FilterType::HighShelf:
        return {A * A + A * K, A * K - A * A, 0, 1 + A * K, A * K - 1, 0};
    default:
        return {1, 0, 0, 1, 0, 0};
    }
}

RawBiquad SecondOrder(FilterType type, double w0, double alpha, double A) {
    const double c = std::cos(w0);
    const double rootA = std::sqrt(A);
    switch (type) {
    case FilterType::Peaking:
        return {1 + alpha * A, -2 * c, 1 - alpha * A, 1 + alpha / A, -2 * c, 1 - alpha / A};
    case FilterType::LowShelf:
        return {A * ((A + 1) - (A - 1) * c + 2 * rootA * alpha),
                2 * A * ((A - 1) - (A + 1) * c),
                A * ((A + 1) - (A - 1) * c - 2 * rootA * alpha),
                (A + 1) + (A - 1) * c + 2 * rootA * alpha,
                -2 * ((A - 1) + (A + 1) * c),
                (A + 1) + (A - 1) * c - 2 * rootA * alpha};
    case FilterType::HighShelf:
        return {A * ((A + 1) + (A - 1) * c + 2 * rootA * alpha),
                -2 * A * ((A - 1) + (A + 1) * c),
                A * ((A + 1) + (A - 1) * c - 2 * rootA * alpha),
                (A + 1) - (A - 1) * c + 2 * rootA * alpha,
                2 * ((A - 1) - (A + 1) * c),
                (A + 1) - (A - 1) * c - 2 * rootA * alpha};
    case FilterType::LowPass:
        return {(1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha};
    case FilterType::HighPass:
        return {(1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha};
    case FilterType::BandPass: // 0 dB at the centre
        return {alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha};
    case FilterType::Notch:
        return {1, -2 * c, 1, 1 + alpha, -2 * c, 1 - alpha};
    case FilterType::AllPass:
        return {1 - alpha, -2 * c, 1 + alpha, 1 + alpha, -2 * c, 1 - alpha};
    }
    return {1, 0, 0, 1, 0, 0};
}

int64_t CountOf(const BiquadWords& bytes, int word) {
    uint32_t h = 0;
    for (int i = 0; i < 4; ++i)
        h = (h << 8) | bytes[static_cast<size_t>(word * 4 + i)];
    h &= 0x0FFFFFFFu;
    int64_t counts = h;
    if (counts > HighestCount)
        counts -= int64_t{1} << 28;
    return counts;
}

std::string Number(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

std::string_view FilterTypeName(FilterType type) {
    switch (type) {
    case FilterType::Peaking:
        return "Peaking";
    case FilterType::LowShelf:
        return "Low shelf";
    case FilterType::HighShelf:
        return "High shelf";
    case FilterType::LowPass:
        return "Low pass";
    case FilterType::HighPass:
        return "High pass";
    case FilterType::BandPass:
        return "Band pass";
    case FilterType::Notch:
        return "Notch";
    case FilterType::AllPass:
        return "All-pass";
    }
    return "";
}

bool HasGain(FilterType type) {
    return type == FilterType::Peaking || type == FilterType::LowShelf || type == FilterType::HighShelf;
}

bool HasFirstOrder(FilterType type) {
    return type == FilterType::LowPass || type == FilterType::HighPass || type == FilterType::LowShelf ||
           type == FilterType::HighShelf || type == FilterType::AllPass;
}

BiquadCoefficients DesignCoefficients(const FilterSpec& spec, double sampleRate) {
    const double w0 = 2 * std::numbers::pi * spec.frequency / sampleRate;
    const double A = HasGain(spec.type) ? std::pow(10.0, spec.gainDb / 40.0) : 1.0;
    if (spec.order == 1)
        return Normalise(FirstOrder(spec.type, std::tan(w0 / 2), A));
    const double s = std::sin(w0);
    const double alpha = spec.widthKind == WidthKind::Q
                             ? s / (2 * spec.width)
                             : s * std::sinh(std::numbers::ln2 / 2 * spec.width * w0 / s);
    return Normalise(SecondOrder(spec.type, w0, alpha, A));
}

std::optional<std::string> CheckFilterSpec(const FilterSpec& spec, double sampleRate) {
    if (!(sampleRate > 0) || !std::isfinite(sampleRate))
        return "The sample rate is not known";
    const double nyquist = sampleRate / 2;
    if (!(spec.frequency > 0) || !std::isfinite(spec.frequency))
        return "The frequency must be above 0 Hz";
    if (spec.frequency >= nyquist)
        return "The frequency must be below half the sample rate (" + Number("%.0f", nyquist) + " Hz)";
    if (spec.order != 1 && spec.order != 2)
        return "The order must be 1 or 2";
    if (spec.order == 1 && !HasFirstOrder(spec.type))
        return std::string(FilterTypeName(spec.type)) + " has no first-order form";
    if (spec.order == 2 && (!(spec.width > 0) || !std::isfinite(spec.width)))
        return spec.widthKind == WidthKind::Q ? "Q must be above 0" : "The bandwidth must be above 0 octaves";
    if (HasGain(spec.type) && !std::isfinite(spec.gainDb))
        return "The gain is not a number";
    return std::nullopt;
}

QuantisedWord QuantiseCoefficient(double value) {
    QuantisedWord word;
    double counts = std::nearbyint(value * CountsPerUnit);
    if (std::isnan(counts) || counts > static_cast<double>(HighestCount)) {
        counts = static_cast<double>(HighestCount);
        word.saturated = true;
    } else if (counts < static_cast<double>(LowestCount)) {
        counts = static_cast<double>(LowestCount);
        word.saturated = true;
    }
    // counts / 2^23 is a binary fraction of at most 23 places, so this text
    // is its exact decimal value and the text conversion's truncation has
    // nothing left to cut.
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, counts / CountsPerUnit, std::chars_format::fixed, 23);
    word.bytes = TextToFixed523(std::string_view(text, static_cast<size_t>(end.ptr - text)));
    return word;
}

BiquadWords QuantiseBiquad(const BiquadCoefficients& c) {
    const double values[5] = {c.b0, c.b1, c.b2, c.a1, c.a2};
    BiquadWords bytes{};
    for (int i = 0; i < 5; ++i) {
        const QuantisedWord word = QuantiseCoefficient(values[i]);
        for (int j = 0; j < 4; ++j)
            bytes[static_cast<size_t>(i * 4 + j)] = word.bytes[static_cast<size_t>(j)];
    }
    return bytes;
}

BiquadCoefficients StoredCoefficients(const BiquadWords& bytes) {
    double v[5];
    for (int i = 0; i < 5; ++i)
        v[i] = static_cast<double>(CountOf(bytes, i)) / CountsPerUnit;
    return {v[0], v[1], v[2], v[3], v[4]};
}

bool StoredBiquadIsStable(const BiquadWords& bytes) {
    const int64_t one = int64_t{1} << 23;
    const int64_t A1 = -CountOf(bytes, 3);
    const int64_t A2 = -CountOf(bytes, 4);
    return (A2 < one && A2 > -one) && (A1 < one + A2 && -A1 < one + A2);
}

BiquadWords AllPassBytes() {
    BiquadWords bytes{};
    bytes[1] = 0x80;
    return bytes;
}

FilterDesign DesignFilter(const FilterSpec& spec, double sampleRate, bool measureDeviation) {
    FilterDesign design;
    design.bytes = AllPassBytes();
    if (const std::optional<std::string> problem = CheckFilterSpec(spec, sampleRate)) {
        design.error = *problem;
        return design;
    }
    design.designed = DesignCoefficients(spec, sampleRate);
    const double values[5] = {design.designed.b0, design.designed.b1, design.designed.b2, design.designed.a1,
                              design.designed.a2};
    for (int i = 0; i < 5; ++i)
        if (!std::isfinite(values[i]) || QuantiseCoefficient(values[i]).saturated) {
            design.error = std::string(CoefficientNames[i]) + " = " + Number("%.6g", values[i]) +
                           " is beyond what the device can hold (-16 to +16); lower the gain";
            return design;
        }
    design.bytes = QuantiseBiquad(design.designed);
    if (spec.order == 2 && (spec.type == FilterType::LowPass || spec.type == FilterType::HighPass)) {
        // b1 is exactly -+2 b0 here, but rounded on its own it need not stay
        // so, and the double zero at DC (high pass) or at half the sample
        // rate (low pass) would leave the unit circle: a 25 Hz high pass at
        // 192 kHz would pass DC only 15 dB down. Derive b1 from the stored b0.
        const double b0 = StoredCoefficients(design.bytes).b0;
        const QuantisedWord b1 = QuantiseCoefficient(spec.type == FilterType::HighPass ? -2 * b0 : 2 * b0);
        std::copy(b1.bytes.begin(), b1.bytes.end(), design.bytes.begin() + 4);
    }
    design.report = ReportQuantisation(design.designed, design.bytes, sampleRate, measureDeviation);
    if (!design.report.storedStable)
        design.warnings.push_back(design.report.designedStable
                                      ? "Unstable after quantisation to 5.23: a pole lies on or outside the "
                                        "unit circle"
                                      : "Unstable filter: a pole lies on or outside the unit circle");
    return design;
}

QuantisationReport ReportQuantisation(const BiquadCoefficients& designed, const BiquadWords& stored,
                                      double sampleRate, bool measureDeviation) {
    QuantisationReport report;
    const double values[5] = {designed.b0, designed.b1, designed.b2, designed.a1, designed.a2};
    for (int i = 0; i < 5; ++i)
        if (!std::isfinite(values[i]) || QuantiseCoefficient(values[i]).saturated)
            report.saturated.push_back(CoefficientNames[i]);
    report.designedStable = IsStableBiquad(designed);
    report.storedStable = StoredBiquadIsStable(stored);
    if (!measureDeviation)
        return report;

    const FrequencyGrid grid(static_cast<int>(sampleRate));
    std::vector<double> designedDb, storedDb;
    const BiquadCoefficients storedCoefficients = StoredCoefficients(stored);
    CascadeResponse(grid, std::span(&designed, 1), designedDb);
    CascadeResponse(grid, std::span(&storedCoefficients, 1), storedDb);
    const auto floored = [](double db) {
        return std::isnan(db) ? DeviationFloorDb : std::max(db, DeviationFloorDb);
    };
    for (int k = 0; k < grid.Size(); ++k) {
        const double deviation = std::fabs(floored(designedDb[static_cast<size_t>(k)]) -
                                           floored(storedDb[static_cast<size_t>(k)]));
        if (deviation > report.maxDeviationDb) {
            report.maxDeviationDb = deviation;
            report.worstFrequency = grid.Frequencies()[static_cast<size_t>(k)];
        }
    }
    return report;
}
