// Number reading with "%f" rules, independent of the locale, against the C library's own
// reading in the C locale (cases in tests/data/platform/scan_cases.tsv).
#include "platform/scan.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <string>

#include "support/test_support.h"

namespace orvix {
namespace {

std::string unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 't' || text[i + 1] == 'n'))
            out += text[++i] == 't' ? '\t' : '\n';
        else
            out += text[i];
    }
    return out;
}

// Bits equal, or both NaN.
template <typename T>
bool same(T a, T b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(Scan, FollowsTheCLibraryInTheCLocale) {
    const locale_t c_locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    std::istringstream lines(test::read_data("platform/scan_cases.tsv"));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(line);
        std::istringstream fields(line);
        std::string text, kind, expected, consumed;
        std::getline(fields, text, '\t');
        std::getline(fields, kind, '\t');
        std::getline(fields, expected, '\t');
        std::getline(fields, consumed, '\t');
        text = unescaped(text);
        std::string_view rest(text);
        bool ok;
        if (kind == "f") {
            float value = -99.0f;
            ok = scan_float(rest, value);
            EXPECT_TRUE(same(value, ok ? ::strtof_l(expected.c_str(), nullptr, c_locale) : -99.0f));
        } else {
            double value = -99.0;
            ok = scan_double(rest, value);
            EXPECT_TRUE(same(value, ok ? ::strtod_l(expected.c_str(), nullptr, c_locale) : -99.0));
        }
        EXPECT_EQ(ok, expected != "-");
        EXPECT_EQ(text.size() - rest.size(), std::stoul(consumed));
        ++count;
    }
    EXPECT_GT(count, 40);
    ::freelocale(c_locale);
}

TEST(Scan, FloatsCountUpToTheFirstFailure) {
    float values[6];
    EXPECT_EQ(scan_floats("5.43 5.43 5.43 90 90 90", values, 6), 6);
    EXPECT_EQ(values[3], 90.0f);
    EXPECT_EQ(scan_floats("1 2 x 4", values, 6), 2);
    EXPECT_EQ(scan_floats("1\t2\r\n", values, 2), 2);
    EXPECT_EQ(scan_floats("1,2", values, 6), 1);
}

}  // namespace
}  // namespace orvix
