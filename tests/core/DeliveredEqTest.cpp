// The equaliser data delivered beside the program: every curve at every rate
// is an EQ file that LOAD reads into any channel as exactly what the designer
// makes of the curve's filters, and the EQ EXAMPLES document is there.

#include "CoreTestSupport.h"
#include "EqCurves.h"
#include "Equnit.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using coretest::Bytes;

std::string Delivered(const std::string& name) {
    return std::string(QMX_RUNTIME_DIR) + "/" + name;
}

TEST(DeliveredEqFiles, LoadIntoEveryChannelAsTheDesignerMakesThem) {
    coretest::DeviceRig rig;
    TEQ eq(rig.table);
    const char* names[] = {"Country", "H Rock", "Jazz", "L Rock", "Rap"};
    ASSERT_EQ(DeliveredCurves().size(), std::size(names));
    for (size_t c = 0; c < DeliveredCurves().size(); ++c) {
        const DeliveredCurve& curve = DeliveredCurves()[c];
        for (const DeliveredRate& rate : DeliveredRates) {
            const std::string file = DeliveredFileName(curve, rate);
            SCOPED_TRACE(file);
            const std::array<BiquadWords, 7> biquads = DeliveredBiquads(curve, rate.sampleRate);
            for (int channel = 1; channel <= TEQ::ChannelCount; ++channel) {
                for (int i = 0; i < TEQ::BiquadCount; ++i)
                    rig.table.SetData(TEQ::BiquadSubAddress(channel - 1, i), Bytes(20, 0x11));
                rig.TakeTransfers();
                const TEQ::LoadResult result = eq.LoadEqFile(Delivered(file), Delivered(file), channel);
                ASSERT_TRUE(result.report.opened);
                EXPECT_TRUE(result.report.problems.empty())
                    << ::testing::PrintToString(result.report.problems);
                EXPECT_EQ(result.eqName, names[c]);
                for (int i = 0; i < TEQ::BiquadCount; ++i) {
                    const int subAddress = TEQ::BiquadSubAddress(channel - 1, i);
                    const Bytes expected(biquads[static_cast<size_t>(i)].begin(),
                                         biquads[static_cast<size_t>(i)].end());
                    EXPECT_EQ(rig.table.GetData(subAddress), expected);
                    EXPECT_EQ(rig.sim->Register(static_cast<uint8_t>(subAddress)), expected);
                }
                EXPECT_EQ(rig.TakeTransfers().size(), 7u);
            }
        }
    }
}

// The table of curves is held to what a delivered curve must be: filters the
// device holds, stable once stored, at most seven, and a curve that really
// shapes the sound the same way at every rate.
TEST(DeliveredEqFiles, AreRealCurvesAtEveryRate) {
    for (const DeliveredCurve& curve : DeliveredCurves()) {
        SCOPED_TRACE(curve.filePrefix);
        ASSERT_LE(curve.filters.size(), 7u);
        std::vector<double> at1k;
        for (const DeliveredRate& rate : DeliveredRates) {
            std::vector<BiquadCoefficients> stored, designed;
            for (const FilterSpec& filter : curve.filters) {
                const FilterDesign design = DesignFilter(filter, rate.sampleRate);
                EXPECT_EQ(design.error, "");
                EXPECT_TRUE(design.warnings.empty());
                stored.push_back(StoredCoefficients(design.bytes));
                designed.push_back(design.designed);
            }
            // Stored as designed wherever the curve is within 30 dB of flat
            // between 20 Hz and 20 kHz: to 0.05 dB up to 48 kHz. At higher
            // rates the bass filters' poles crowd z = 1, where a 5.23 count
            // is coarse: about 0.22 dB near 20 Hz at 192 kHz.
            const double tolerance = rate.sampleRate > 96000 ? 0.25 : rate.sampleRate > 48000 ? 0.1 : 0.05;
            for (double f = 20; f <= std::min(20000.0, rate.sampleRate / 2.0); f *= 1.01) {
                std::complex<double> hd = 1, hs = 1;
                for (size_t i = 0; i < stored.size(); ++i) {
                    hd *= BiquadResponse(designed[i], f, rate.sampleRate);
                    hs *= BiquadResponse(stored[i], f, rate.sampleRate);
                }
                if (MagnitudeDb(hd) > -30) {
                    EXPECT_NEAR(MagnitudeDb(hs), MagnitudeDb(hd), tolerance) << rate.sampleRate << " " << f;
                }
            }
            // Somewhere in 20 Hz .. 16 kHz the curve departs from flat by
            // at least 1.5 dB.
            double largest = 0, sum1k = 0;
            for (double f = 20; f <= 16000; f *= 1.05) {
                std::complex<double> h = 1;
                for (const BiquadCoefficients& b : stored)
                    h *= BiquadResponse(b, f, rate.sampleRate);
                largest = std::max(largest, std::fabs(MagnitudeDb(h)));
            }
            std::complex<double> h = 1;
            for (const BiquadCoefficients& b : stored)
                h *= BiquadResponse(b, 1000, rate.sampleRate);
            sum1k = MagnitudeDb(h);
            EXPECT_GE(largest, 1.5);
            at1k.push_back(sum1k);
        }
        // The same curve at every rate: 1 kHz within 0.1 dB of the 48 kHz file.
        for (double db : at1k)
            EXPECT_NEAR(db, at1k[2], 0.1);
    }
}

TEST(DeliveredEqDocument, IsAPdfBesideTheProgram) {
    const std::string text = coretest::ReadWholeFile(Delivered("QMX4600EQ.PDF"));
    ASSERT_GT(text.size(), 20000u);
    EXPECT_EQ(text.substr(0, 5), "%PDF-");
    // One page of introduction and one per curve.
    size_t pages = 0;
    for (size_t at = text.find("/Type /Page\n"); at != std::string::npos;
         at = text.find("/Type /Page\n", at + 1))
        ++pages;
    if (pages == 0)
        for (size_t at = text.find("/Type /Page"); at != std::string::npos;
             at = text.find("/Type /Page", at + 1))
            pages += text.compare(at, 12, "/Type /Pages") != 0;
    EXPECT_GE(pages, 1 + DeliveredCurves().size());
}

} // namespace
