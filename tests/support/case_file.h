// Test cases kept in a data file under tests/data: one case a line, its fields separated by
// tabs, where \n, \r, \t and \\ stand for a line feed, a carriage return, a tab and a
// backslash. Empty lines and lines beginning with # are notes.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace orvix::test {

inline std::vector<std::vector<std::string>> read_cases(const std::string& relative) {
    std::vector<std::vector<std::string>> cases;
    std::istringstream lines(read_data(relative));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields(1);
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i] == '\\' && i + 1 < line.size() ? line[++i] : '\0';
            if (c != '\0')
                fields.back() += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
            else if (line[i] == '\t')
                fields.emplace_back();
            else
                fields.back() += line[i];
        }
        cases.push_back(fields);
    }
    EXPECT_FALSE(cases.empty()) << relative;
    return cases;
}

}  // namespace orvix::test
