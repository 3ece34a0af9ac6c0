#include "EqResponse.h"

#include <cmath>
#include <limits>
#include <numbers>

std::complex<double> BiquadResponse(const BiquadCoefficients& c, double frequencyHz, double sampleRateHz) {
    const double omega = 2.0 * std::numbers::pi * frequencyHz / sampleRateHz;
    const std::complex<double> z1(std::cos(omega), -std::sin(omega));
    const std::complex<double> z2(std::cos(2.0 * omega), -std::sin(2.0 * omega));
    const double A1 = -c.a1, A2 = -c.a2;
    const std::complex<double> numerator = c.b0 + c.b1 * z1 + c.b2 * z2;
    const std::complex<double> denominator = 1.0 + A1 * z1 + A2 * z2;
    return numerator / denominator;
}

bool IsStableBiquad(const BiquadCoefficients& c) {
    const double A1 = -c.a1, A2 = -c.a2;
    const std::complex<double> root = std::sqrt(std::complex<double>(A1 * A1 - 4.0 * A2, 0.0));
    const std::complex<double> p1 = (-A1 + root) / 2.0;
    const std::complex<double> p2 = (-A1 - root) / 2.0;
    // Written so that a NaN coefficient is unstable too.
    return std::abs(p1) < 1.0 && std::abs(p2) < 1.0;
}

double MagnitudeDb(std::complex<double> h) {
    const double magnitude = std::abs(h);
    return magnitude == 0.0 ? -std::numeric_limits<double>::infinity() : 20.0 * std::log10(magnitude);
}

FrequencyGrid::FrequencyGrid(int sampleRateHz) : sampleRate_(sampleRateHz) {
    const int n = PointCount(sampleRateHz);
    frequency_.resize(static_cast<size_t>(n));
    cos1_.resize(frequency_.size());
    sin1_.resize(frequency_.size());
    cos2_.resize(frequency_.size());
    sin2_.resize(frequency_.size());
    for (int k = 1; k <= n; ++k) {
        const auto i = static_cast<size_t>(k - 1);
        const double omega = 2.0 * std::numbers::pi * k / sampleRateHz;
        frequency_[i] = k;
        cos1_[i] = std::cos(omega);
        sin1_[i] = std::sin(omega);
        cos2_[i] = std::cos(2.0 * omega);
        sin2_[i] = std::sin(2.0 * omega);
    }
}

void CascadeResponse(const FrequencyGrid& grid, std::span<const BiquadCoefficients> biquads,
                     std::vector<double>& magnitudeDb, std::vector<double>* phaseDegrees) {
    const size_t n = grid.frequency_.size();
    magnitudeDb.resize(n);
    if (phaseDegrees)
        phaseDegrees->resize(n);
    for (size_t i = 0; i < n; ++i) {
        const double c1 = grid.cos1_[i], s1 = grid.sin1_[i], c2 = grid.cos2_[i], s2 = grid.sin2_[i];
        double numeratorPower = 1.0, denominatorPower = 1.0;
        // The running product of the complex numerators and denominators,
        // kept only when the phase is wanted.
        std::complex<double> numeratorProduct(1.0, 0.0), denominatorProduct(1.0, 0.0);
        for (const BiquadCoefficients& c : biquads) {
            // z⁻¹ = cos ω − j·sin ω, z⁻² = cos 2ω − j·sin 2ω.
            const double numeratorRe = c.b0 + c.b1 * c1 + c.b2 * c2;
            const double numeratorIm = -(c.b1 * s1 + c.b2 * s2);
            const double denominatorRe = 1.0 - c.a1 * c1 - c.a2 * c2;
            const double denominatorIm = c.a1 * s1 + c.a2 * s2;
            numeratorPower *= numeratorRe * numeratorRe + numeratorIm * numeratorIm;
            denominatorPower *= denominatorRe * denominatorRe + denominatorIm * denominatorIm;
            if (phaseDegrees) {
                numeratorProduct *= std::complex<double>(numeratorRe, numeratorIm);
                denominatorProduct *= std::complex<double>(denominatorRe, denominatorIm);
            }
        }
        const double power = numeratorPower / denominatorPower;
        magnitudeDb[i] = power == 0.0 ? -std::numeric_limits<double>::infinity() : 10.0 * std::log10(power);
        if (phaseDegrees)
            (*phaseDegrees)[i] = std::arg(numeratorProduct / denominatorProduct) * 180.0 / std::numbers::pi;
    }
}
