#include "EqCurves.h"

namespace {

constexpr double Butterworth = 0.7071;

FilterSpec Peak(double hz, double db, double q) {
    return {FilterType::Peaking, 2, hz, db, q, WidthKind::Q};
}
FilterSpec LowShelf(double hz, double db) {
    return {FilterType::LowShelf, 2, hz, db, Butterworth, WidthKind::Q};
}
FilterSpec HighShelf(double hz, double db) {
    return {FilterType::HighShelf, 2, hz, db, Butterworth, WidthKind::Q};
}
FilterSpec Subsonic(double hz) {
    return {FilterType::HighPass, 2, hz, 0, Butterworth, WidthKind::Q};
}

} // namespace

const std::vector<DeliveredCurve>& DeliveredCurves() {
    static const std::vector<DeliveredCurve> curves = {
        {"COUNTRY",
         "Country",
         "Clear vocals and acoustic instruments: a little warmth, less boxiness, a gentle presence lift and "
         "air.",
         {LowShelf(100, 2), Peak(250, -1.5, 1.0), Peak(2500, 3, 1.2), Peak(5000, 1.5, 1.5),
          HighShelf(10000, 2)}},
        {"HEAVYROCK",
         "H Rock",
         "Scooped mids between strong low and high shelves, a little pick attack, and a subsonic filter to "
         "keep "
         "the woofers clean.",
         {Subsonic(25), LowShelf(80, 5), Peak(400, -3, 0.9), Peak(800, -4, 1.0), Peak(3000, 2, 1.5),
          HighShelf(8000, 4)}},
        {"JAZZ",
         "Jazz",
         "Warm and smooth: fuller bass and body, harshness around 3.5 kHz softened, a touch of air.",
         {LowShelf(120, 3), Peak(500, 1.5, 0.8), Peak(3500, -1.5, 1.4), HighShelf(12000, 1.5)}},
        {"LITEROCK",
         "L Rock",
         "A milder rock curve: some bass and sparkle, a shallow dip in the low mids.",
         {LowShelf(100, 3), Peak(600, -2, 1.0), Peak(3000, 1.5, 1.2), HighShelf(9000, 2.5)}},
        {"RAP",
         "Rap",
         "Deep sub-bass and kick punch with the low-mid mud taken out, crisp vocals and hats; a subsonic "
         "filter "
         "guards the drivers.",
         {Subsonic(25), LowShelf(60, 6), Peak(100, 2, 1.2), Peak(350, -3, 1.0), Peak(4000, 2, 1.5),
          HighShelf(10000, 3)}},
    };
    return curves;
}

std::string DeliveredFileName(const DeliveredCurve& curve, const DeliveredRate& rate) {
    return std::string(curve.filePrefix) + rate.suffix + ".EQ46XX";
}

std::array<BiquadWords, 7> DeliveredBiquads(const DeliveredCurve& curve, int sampleRate) {
    std::array<BiquadWords, 7> biquads;
    biquads.fill(AllPassBytes());
    for (size_t i = 0; i < curve.filters.size() && i < biquads.size(); ++i)
        biquads[i] = DesignFilter(curve.filters[i], sampleRate).bytes;
    return biquads;
}
