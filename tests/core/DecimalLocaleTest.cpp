// Decimal texts keep "." in and out when the user's locale writes numbers
// with a comma. Its own program, because it switches the process locale.

#include "Conversions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale>
#include <sstream>
#include <stdexcept>

namespace {

constexpr const char* CommaLocale = "de_DE.UTF-8";
constexpr const char* HowToGenerate =
    "The locale de_DE.UTF-8 is not installed, so this test cannot prove anything. Generate it: enable "
    "'de_DE.UTF-8 UTF-8' in /etc/locale.gen and run locale-gen (scripts/install-deps.sh does both).";

// The texts and bytes that must come out the same whatever the locale.
void ExpectPointDecimals() {
    EXPECT_EQ(TextToFixed523("0.5"), (Fixed523{0x00, 0x40, 0x00, 0x00}));
    EXPECT_EQ(TextToFixed523("-0.1"), (Fixed523{0xFF, 0xF3, 0x33, 0x34}));
    EXPECT_EQ(TextToFixed523("1,5"), (Fixed523{0x00, 0x80, 0x00, 0x00})) << "a comma is no decimal separator";
    EXPECT_EQ(TextToFixed2523("2.25"), (Fixed2523{0, 0, 0, 0, 0x01, 0x20, 0x00, 0x00}));
    EXPECT_EQ(ParseDecimal("17.75"), 17.75);
    EXPECT_EQ(ParseDecimal("17,75"), 17.0);
    EXPECT_EQ(Fixed523ToText(Fixed523{0x00, 0x0C, 0xCC, 0xCC}), "0.09999990");
    EXPECT_EQ(Fixed2523ToText(Fixed2523{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0x00}), "-1.00000000");
    EXPECT_EQ(FormatShortest(-2.5), "-2.5");
}

class CommaDecimalLocale : public ::testing::Test {
protected:
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
    }
};

TEST_F(CommaDecimalLocale, CLibraryLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, CommaLocale), nullptr) << HowToGenerate;
    char shown[16];
    std::snprintf(shown, sizeof shown, "%.1f", 1.5);
    ASSERT_STREQ(shown, "1,5") << "the locale did not switch the C library to a decimal comma";
    ExpectPointDecimals();
}

TEST_F(CommaDecimalLocale, GlobalCxxLocale) {
    try {
        std::locale::global(std::locale(CommaLocale));
    } catch (const std::runtime_error&) {
        FAIL() << HowToGenerate;
    }
    std::ostringstream shown;
    shown << 1.5;
    ASSERT_EQ(shown.str(), "1,5") << "the global locale did not give streams a decimal comma";
    ExpectPointDecimals();
}

} // namespace
