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

TEST(Scan, FollowsTheCLibraryInTheCLocale) {
    const locale_t c_locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const auto cases = test::read_cases("platform/scan_cases.tsv");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at(0));
        std::string_view rest(c[0]);
        float f = -99.0f;
        double d = -99.0;
        const bool ok = c.at(1) == "f" ? scan_float(rest, f) : scan_double(rest, d);
        EXPECT_EQ(ok, c.at(2) != "-");
        // The same bits (a float widened to double keeps them apart), or both NaN; no number
        // leaves the value alone.
        const double got = c[1] == "f" ? f : d;
        const double want = !ok           ? -99.0
                            : c[1] == "f" ? ::strtof_l(c[2].c_str(), nullptr, c_locale)
                                          : ::strtod_l(c[2].c_str(), nullptr, c_locale);
        EXPECT_TRUE(std::memcmp(&got, &want, sizeof got) == 0 ||
                    (std::isnan(got) && std::isnan(want)))
            << got;
        EXPECT_EQ(c[0].size() - rest.size(), std::stoul(c.at(3)));
    }
    ::freelocale(c_locale);
}

}  // namespace
}  // namespace orvix
