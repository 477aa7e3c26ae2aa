// Locale-free number reading with the rules of the C "%f" conversion of formatted input:
// leading white space skipped, an optional sign, digits with an optional decimal point, an
// optional exponent introduced by e or E; also "inf", "infinity" and "nan" in any case.
// Values are rounded once, straight from the decimal text to the target precision.
#pragma once

#include <string_view>

namespace orvix {

// Reads one number from the start of `text` (after white space). On success stores it,
// moves `text` past it and returns true; otherwise leaves both unchanged.
bool scan_float(std::string_view& text, float& value);
bool scan_double(std::string_view& text, double& value);

// Reads up to `count` numbers separated by white space, as "%f %f ..." would; returns how
// many were converted before the first that could not be.
int scan_floats(std::string_view text, float* values, int count);

// The white space of the C library's isspace in the "C" locale.
constexpr bool is_c_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace orvix
