// Test cases kept in a data file under tests/data: one case a line, its fields separated by
// tabs, where \n, \r, \t and \\ stand for a line feed, a carriage return, a tab and a
// backslash. Empty lines and lines beginning with # are notes.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/scan.h"
#include "support/test_support.h"

namespace orvix::test {

inline std::vector<std::vector<std::string>> read_cases(const std::string& relative) {
    std::vector<std::vector<std::string>> cases;
    std::istringstream lines(read_data(relative));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        auto& fields = cases.emplace_back(1);
        for (std::size_t i = 0; i < line.size(); ++i) {
            const bool escape = line[i] == '\\' && i + 1 < line.size();
            const char c = escape ? line[++i] : line[i];
            const std::size_t k = escape ? std::string_view("nrt").find(c) : std::string_view::npos;
            if (!escape && c == '\t') fields.emplace_back();
            if (escape || c != '\t') fields.back() += k != std::string_view::npos ? "\n\r\t"[k] : c;
        }
    }
    EXPECT_FALSE(cases.empty()) << relative;
    return cases;
}

// A number at the start of a field, read without the locale ("nan" and "inf" included).
inline double number(std::string_view text) {
    double value = 0;
    EXPECT_TRUE(scan_double(text, value)) << "not a number: " << text;
    return value;
}

// The numbers of a field, separated by blanks.
inline std::vector<double> numbers_of(const std::string& field) {
    std::istringstream in(field);
    std::vector<double> values;
    for (std::string word; in >> word;) values.push_back(number(word));
    return values;
}

}  // namespace orvix::test
