#pragma once

#include <complex>
#include <span>
#include <vector>

// The magnitude (and phase) response of the device's biquads, plain math with
// no Qt. The device runs each biquad as
//     y[n] = b0·x[n] + b1·x[n−1] + b2·x[n−2] + a1·y[n−1] + a2·y[n−2],
// so its stored a1 and a2 are the negated denominator terms of the textbook
// transfer function:
//     H(z) = (b0 + b1·z⁻¹ + b2·z⁻²) / (1 − a1·z⁻¹ − a2·z⁻²).
struct BiquadCoefficients {
    double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0; // a1, a2 as the device stores them
};

// H at one frequency, evaluated term by term as written above. The reference
// every faster evaluation is held to.
std::complex<double> BiquadResponse(const BiquadCoefficients& c, double frequencyHz, double sampleRateHz);

// Both poles strictly inside the unit circle. A pole on the circle (stored
// a2 = −1.0, say) counts as unstable: the filter rings for ever.
bool IsStableBiquad(const BiquadCoefficients& c);

// 20·log10 |h|; minus infinity for an exact zero.
double MagnitudeDb(std::complex<double> h);

// The graph's frequency grid: every whole hertz from 1 Hz to half the sample
// rate (cut to a whole number), with the sines and cosines of ω = 2π·f/Fs and
// of 2ω worked out once, so a graph pays for them once and not per biquad.
class FrequencyGrid {
public:
    FrequencyGrid() = default;
    explicit FrequencyGrid(int sampleRateHz);

    int SampleRate() const { return sampleRate_; }
    int Size() const { return static_cast<int>(frequency_.size()); }
    // 1, 2, ... N in hertz, ascending.
    const std::vector<double>& Frequencies() const { return frequency_; }

    // The number of points for a sample rate: 16000 at 32 kHz, 22050 at 44.1 kHz.
    static int PointCount(int sampleRateHz) { return sampleRateHz > 1 ? sampleRateHz / 2 : 0; }

private:
    friend void CascadeResponse(const FrequencyGrid&, std::span<const BiquadCoefficients>,
                                std::vector<double>&, std::vector<double>*);
    int sampleRate_ = 0;
    std::vector<double> frequency_;
    std::vector<double> cos1_, sin1_, cos2_, sin2_;
};

// The cascade of `biquads` at every point of the grid, in one pass: the
// magnitude in dB and, when asked for, the phase in degrees (−180..180).
// Each biquad contributes |numerator|² and |denominator|², so the magnitude
// needs one logarithm per point whatever the number of biquads. No biquads
// is a flat 0 dB.
void CascadeResponse(const FrequencyGrid& grid, std::span<const BiquadCoefficients> biquads,
                     std::vector<double>& magnitudeDb, std::vector<double>* phaseDegrees = nullptr);
