// Cases kept in tab-separated files under tests/data: one case a line, the fields of a line
// split at tabs; blank lines and lines starting with '#' are left out. A file without
// cases fails the test.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/scan.h"
#include "support/test_support.h"

namespace orvix::test {

inline std::vector<std::vector<std::string>> tsv_rows(const std::string& relative) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(read_data(relative));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        auto& row = rows.emplace_back();
        for (std::string field; std::getline(fields, field, '\t');) row.push_back(field);
    }
    EXPECT_FALSE(rows.empty()) << "no cases in " << relative;
    return rows;
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
