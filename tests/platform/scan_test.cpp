// Number reading with "%f" rules, independent of the locale, against the C library's own
// reading in the C locale (cases in tests/data/platform/scan_cases.tsv). Several numbers in a
// row are the cell lines' (crystal/records).
#include "platform/scan.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cmath>
#include <cstring>

#include "support/case_file.h"

namespace orvix {
namespace {

// Bits equal, or both NaN.
template <typename T>
bool same(T a, T b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(Scan, FollowsTheCLibraryInTheCLocale) {
    const locale_t c_locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const auto cases = test::read_cases("platform/scan_cases.tsv");
    EXPECT_GT(cases.size(), 40u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at(0));
        std::string_view rest(c[0]);
        const char* expected = c.at(2).c_str();
        float f = -99.0f;
        double d = -99.0;
        const bool ok = c.at(1) == "f" ? scan_float(rest, f) : scan_double(rest, d);
        EXPECT_EQ(ok, c[2] != "-");
        const bool same_value = c[1] == "f"
                                    ? same(f, ok ? ::strtof_l(expected, nullptr, c_locale) : -99.0f)
                                    : same(d, ok ? ::strtod_l(expected, nullptr, c_locale) : -99.0);
        EXPECT_TRUE(same_value) << f << " " << d;
        EXPECT_EQ(c[0].size() - rest.size(), std::stoul(c.at(3)));
    }
    ::freelocale(c_locale);
}

}  // namespace
}  // namespace orvix
