// C formats stay those of the "C" locale whatever locale the process runs in (the suite also
// runs under LC_ALL=de_DE.UTF-8, where printf itself would write commas).
#include "platform/c_format.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(CFormat, UsesADecimalPointNeverCutsAndLeavesTheLocale) {
    const std::string locale_before = std::setlocale(LC_NUMERIC, nullptr);
    EXPECT_EQ(orvix::c_format("%12.6f|%g", 0.5, 1234567.0), "    0.500000|1.23457e+06");
    const std::string label(400, 'L');
    EXPECT_EQ(orvix::c_format("%s %12.6f", label.c_str(), -1.0), label + "    -1.000000");
    std::string out = "x=";
    orvix::c_format_append(out, "%6.3f", 90.0);
    orvix::c_format_append(out, "%s", label.c_str());
    EXPECT_EQ(out, "x=90.000" + label);
    EXPECT_EQ(locale_before, std::setlocale(LC_NUMERIC, nullptr));
}
