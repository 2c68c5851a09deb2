#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "TempDir.h"
#include "formats/DefNumberText.h"

namespace slipway {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(DefNumberText, FloatsHaveFiveSignificantDigitsInTheGeneralFormat) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0.0f, "0"},
        {-0.0f, "-0"},
        {1.5f, "1.5"},
        {100.0f, "100"},
        {0.1f, "0.1"},
        {3.14159265f, "3.1416"},
        {-2.5f, "-2.5"},
        {12345.0f, "12345"},
        {123456.0f, "1.2346e+05"},
        {99999.5f, "1e+05"},
        {0.0001f, "0.0001"},
        {0.00001f, "1e-05"},
        {-1.234567e-7f, "-1.2346e-07"},
        {1e10f, "1e+10"},
        {3.4e38f, "3.4e+38"},
        {kInf, "inf"},
        {-kInf, "-inf"},
        {std::numeric_limits<float>::quiet_NaN(), "nan"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatDefFloat(c.value), c.text) << c.text;
    EXPECT_EQ(formatDefInt(-12), "-12");
    EXPECT_EQ(formatDefInt(INT32_MIN), "-2147483648");
}

TEST(DefNumberText, IntegersAreTheLeadingDecimalNumber) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"201", 201},
        {"201abc", 201},
        {"abc", 0},
        {"", 0},
        {" \t\n-7", -7},
        {"+5", 5},
        {"- 5", 0},
        {"12.9", 12},
        {"0x1F", 0},
        {"1e3", 1},
        {"2147483647", INT32_MAX},
        {"99999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-99999999999999999999", INT32_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readLeadingInt(c.text), c.value) << c.text;
}

TEST(DefNumberText, FloatsAreTheLeadingDecimalNumber) {
    const struct {
        const char* text;
        float value;
    } cases[] = {
        {"1.5", 1.5f},
        {"  -2.5e3xyz", -2500.0f},
        {".5", 0.5f},
        {"5.", 5.0f},
        {"+.25e+1", 2.5f},
        {"2E-2", 0.02f},
        {"1e", 1.0f},
        {"1e+", 1.0f},
        {"1,5", 1.0f},  // a comma never is a decimal point
        {".", 0.0f},
        {"abc", 0.0f},
        {"inf", 0.0f},
        {"nan", 0.0f},
        {"0x10", 0.0f},
        {"0.1", 0.1f},
        {"1e39", kInf},
        {"-1e400", -kInf},
        {"1e-400", 0.0f},
        {"0.000001e-400", 0.0f},
        {"123456789e-5", 1234.56789f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readLeadingFloat(c.text), c.value) << c.text;
    EXPECT_TRUE(std::signbit(readLeadingFloat("-0")));
    EXPECT_TRUE(std::signbit(readLeadingFloat("-1e-400")));
}

TEST(DefNumberText, ASignAloneIsNoNumber) {
    // A typed zero keeps its sign, but a sign without digits reads as plain 0 and is shown
    // as "0" once the list is rebuilt.
    const struct {
        const char* text;
        const char* cell;
    } cases[] = {
        {"-", "0"}, {"-abc", "0"}, {" -.", "0"},     {"-e5", "0"},
        {"+", "0"}, {"-0", "-0"},  {"-0.0e3", "-0"}, {"-.0", "-0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatDefFloat(readLeadingFloat(c.text)), c.cell) << c.text;
}

// Makes a locale with a decimal comma current: an installed one, or one compiled into a
// temporary directory from the system's locale sources.
bool useDecimalCommaLocale(const test::TempDir& dir) {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8")) return true;
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + dir.file("de_DE.UTF-8") + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    ::setenv("LOCPATH", dir.path().c_str(), 1);
    const bool ok = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    ::unsetenv("LOCPATH");
    return ok;
}

TEST(DefNumberText, TheUsersLocaleChangesNothing) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    test::TempDir dir;
    ASSERT_TRUE(useDecimalCommaLocale(dir)) << "needs the locales package";
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    const std::string formatted = formatDefFloat(1.5f);
    const float read = readLeadingFloat("2.75");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(formatted, "1.5");
    EXPECT_EQ(read, 2.75f);
}

}  // namespace
}  // namespace slipway
