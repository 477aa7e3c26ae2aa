// C formats stay those of the "C" locale whatever locale the process runs in.
#include "platform/c_format.h"

#include <gtest/gtest.h>

#include <clocale>

namespace orvix {
namespace {

TEST(CFormat, UsesADecimalPointUnderAnyLocale) {
    // The suite also runs under LC_ALL=de_DE.UTF-8, where printf itself would write commas.
    EXPECT_EQ(c_format("%12.6f", 0.5), "    0.500000");
    EXPECT_EQ(c_format("%g", 1234567.0), "1.23457e+06");
    EXPECT_EQ(c_format("%.10f  %.10f", 30.0, -1.5), "30.0000000000  -1.5000000000");
}

TEST(CFormat, LongOutputIsNotCut) {
    const std::string label(400, 'L');
    const std::string out = c_format("%-6s %12.6f", label.c_str(), 1.0);
    EXPECT_EQ(out.size(), 400u + 1 + 12);
    EXPECT_EQ(out.substr(401), "    1.000000");
}

TEST(CFormat, AppendKeepsWhatWasThere) {
    std::string out = "x=";
    c_format_append(out, "%6.3f", 90.0);
    EXPECT_EQ(out, "x=90.000");
}

TEST(CFormat, LeavesTheProcessLocaleAlone) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    (void)c_format("%f", 1.0);
    EXPECT_EQ(before, std::setlocale(LC_NUMERIC, nullptr));
}

}  // namespace
}  // namespace orvix
