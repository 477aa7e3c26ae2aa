// C formats stay those of the "C" locale whatever locale the process runs in (the suite also
// runs under LC_ALL=de_DE.UTF-8, where printf itself would write commas), and long output is
// never cut.
#include "platform/c_format.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(CFormat, UsesADecimalPointNeverCutsAndLeavesTheLocale) {
    const std::string locale_before = std::setlocale(LC_NUMERIC, nullptr), label(400, 'L');
    EXPECT_EQ(orvix::c_format("%12.6f|%g|%s", 0.5, 1234567.0, label.c_str()),
              "    0.500000|1.23457e+06|" + label);
    std::string out = "x=";
    orvix::c_format_append(out, "%6.3f%s", 90.0, label.c_str());
    EXPECT_EQ(out, "x=90.000" + label);
    EXPECT_EQ(locale_before, std::setlocale(LC_NUMERIC, nullptr));
}
