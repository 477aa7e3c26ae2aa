// Number reading with "%f" rules, independent of the locale.
#include "platform/scan.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace orvix {
namespace {

struct scan_case {
    const char* name;
    const char* text;
    bool ok;
    float value;
    std::size_t consumed;  // characters taken from the text on success
};

TEST(ScanFloat, FollowsTheFormattedInputConversion) {
    const scan_case cases[] = {
        {"plain", "0.5", true, 0.5f, 3},
        {"leading blanks and tab", " \t 2.25 x", true, 2.25f, 7},
        {"plus sign", "+3", true, 3.0f, 2},
        {"minus sign", "-1.25", true, -1.25f, 5},
        {"no leading digit", ".5", true, 0.5f, 2},
        {"no trailing digit", "7.", true, 7.0f, 2},
        {"exponent", "1.5e2", true, 150.0f, 5},
        {"capital exponent with sign", "25E-1,", true, 2.5f, 5},
        {"exponent without digits is not taken", "3e+", true, 3.0f, 1},
        {"stops at a comma", "1,5", true, 1.0f, 1},
        {"stops at letters", "2H", true, 2.0f, 1},
        {"label is not a number", "T11", false, 0.0f, 0},
        {"lone sign", "-", false, 0.0f, 0},
        {"lone point", ".", false, 0.0f, 0},
        {"empty", "", false, 0.0f, 0},
        {"blanks only", "   ", false, 0.0f, 0},
        {"single precision rounding", "0.1", true, 0.1f, 3},
        {"underflow to zero", "1e-60", true, 0.0f, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string_view text(c.text);
        float value = -99.0f;
        const bool ok = scan_float(text, value);
        ASSERT_EQ(ok, c.ok);
        if (ok) {
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(text.size(), std::strlen(c.text) - c.consumed);
        } else {
            EXPECT_EQ(value, -99.0f);
            EXPECT_EQ(text.size(), std::strlen(c.text));
        }
    }
}

TEST(ScanFloat, RoundsOnceFromTheDecimalText) {
    // A decimal half-way between two floats once rounded to double would round again the
    // wrong way; reading straight into single precision must match the correctly rounded
    // value strtof gives in the C locale.
    const locale_t c_locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const char* texts[] = {"1.00000005960464477539062500000001", "0.3", "16777217", "3.4028235e38",
                           "1.17549435e-38"};
    for (const char* t : texts) {
        SCOPED_TRACE(t);
        std::string_view text(t);
        float value = 0;
        ASSERT_TRUE(scan_float(text, value));
        EXPECT_EQ(value, ::strtof_l(t, nullptr, c_locale));
    }
    ::freelocale(c_locale);
}

TEST(ScanFloat, NonFiniteValues) {
    struct {
        const char* text;
        bool is_nan;
        float sign;
    } cases[] = {{"inf", false, 1},
                 {"-Infinity", false, -1},
                 {"NaN", true, 1},
                 {"1e39", false, 1},
                 {"-1e39", false, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string_view text(c.text);
        float value = 0;
        ASSERT_TRUE(scan_float(text, value));
        if (c.is_nan) {
            EXPECT_TRUE(std::isnan(value));
        } else {
            EXPECT_TRUE(std::isinf(value));
            EXPECT_EQ(std::signbit(value), c.sign < 0);
        }
    }
}

TEST(ScanFloats, CountsUpToTheFirstFailure) {
    float values[6];
    EXPECT_EQ(scan_floats("5.43 5.43 5.43 90 90 90", values, 6), 6);
    EXPECT_EQ(values[3], 90.0f);
    EXPECT_EQ(scan_floats("1 2 x 4", values, 6), 2);
    EXPECT_EQ(scan_floats("1\t2\r\n", values, 6), 2);
    EXPECT_EQ(scan_floats("1,2", values, 6), 1);
}

TEST(ScanDouble, KeepsDoublePrecision) {
    std::string_view text("0.1");
    double value = 0;
    ASSERT_TRUE(scan_double(text, value));
    EXPECT_EQ(value, 0.1);
}

}  // namespace
}  // namespace orvix
