// Reading symmetry operations from text. Numbers are read without the locale: decimals with
// a point, or fractions of two decimals; no exponents, no "inf" or "nan".
#include "generate/symmetry_text.h"

#include "platform/scan.h"

namespace orvix {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

int coordinate_index(char c) {
    switch (c) {
        case 'x':
        case 'X':
            return 0;
        case 'y':
        case 'Y':
            return 1;
        case 'z':
        case 'Z':
            return 2;
        default:
            return -1;
    }
}

// Digits with an optional decimal point; at least one digit.
bool read_decimal(std::string_view text, std::size_t& at, double& value) {
    const std::size_t start = at;
    std::size_t digits = 0;
    while (at < text.size() && is_digit(text[at])) ++at, ++digits;
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && is_digit(text[at])) ++at, ++digits;
    }
    if (digits == 0) {
        at = start;
        return false;
    }
    std::string_view number = text.substr(start, at - start);
    return scan_double(number, value);
}

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    out.append(text);
    out.push_back('"');
    return out;
}

}  // namespace

bool parse_symmetry_term(std::string_view text, symmetry_term& term, std::string& error) {
    std::string compact;
    for (char c : text)
        if (!is_blank(c)) compact.push_back(c);
    const std::string name = quoted(text);
    if (compact.empty()) {
        error = "empty term: each new coordinate needs one of x, y, z";
        return false;
    }
    const std::string unreadable =
        "term " + name + " cannot be read (write e.g. x, -y, 2*z, -x+1/2, 1/2-x, y+0.25)";

    double factor = 1.0;
    double shift = 0.0;
    int source = -1;
    int coordinates = 0;
    std::size_t at = 0;
    bool first = true;
    while (at < compact.size()) {
        double sign = 1.0;
        if (compact[at] == '+' || compact[at] == '-') {
            sign = compact[at] == '-' ? -1.0 : 1.0;
            ++at;
        } else if (!first) {
            error = unreadable;
            return false;
        }
        first = false;
        if (at >= compact.size()) {
            error = unreadable;
            return false;
        }
        const int axis = coordinate_index(compact[at]);
        if (axis >= 0) {
            ++at;
            ++coordinates;
            source = axis;
            factor = sign;
            continue;
        }
        double value = 0;
        if (!read_decimal(compact, at, value)) {
            error = unreadable;
            return false;
        }
        if (at < compact.size() && compact[at] == '/') {
            ++at;
            double denominator = 0;
            if (!read_decimal(compact, at, denominator)) {
                error = unreadable;
                return false;
            }
            if (denominator == 0.0) {
                error = "term " + name + " divides by zero";
                return false;
            }
            value /= denominator;
        }
        if (at < compact.size() && compact[at] == '*') {
            ++at;
            const int factor_axis = at < compact.size() ? coordinate_index(compact[at]) : -1;
            if (factor_axis < 0) {
                error = unreadable;
                return false;
            }
            ++at;
            ++coordinates;
            source = factor_axis;
            factor = sign * value;
            continue;
        }
        if (at < compact.size() && compact[at] != '+' && compact[at] != '-') {
            error = unreadable;
            return false;
        }
        shift += sign * value;
    }
    if (coordinates > 1) {
        error = "term " + name +
                " combines more than one coordinate; each new coordinate takes one of x, y, z "
                "with an optional factor and shift";
        return false;
    }
    if (coordinates == 0) {
        error = "term " + name + " names no coordinate (x, y or z)";
        return false;
    }
    term.factor = factor;
    term.shift = shift;
    term.source = static_cast<std::uint8_t>(source);
    return true;
}

bool parse_symmetry_operation(std::string_view text, symmetry_operation& operation,
                              std::string& error) {
    symmetry_term terms[3];
    std::size_t start = 0;
    for (int row = 0; row < 3; ++row) {
        const std::size_t comma = text.find(',', start);
        if ((row < 2) != (comma != std::string_view::npos)) {
            error = "operation " + quoted(text) +
                    " needs three terms separated by commas, for the new X, Y and Z (e.g. "
                    "-x,y+1/2,-z+1/2)";
            return false;
        }
        const std::string_view part = text.substr(
            start, comma == std::string_view::npos ? text.size() - start : comma - start);
        if (!parse_symmetry_term(part, terms[row], error)) {
            error = "operation " + quoted(text) + ", new " + "XYZ"[row] + ": " + error;
            return false;
        }
        start = comma + 1;
    }
    for (std::size_t row = 0; row < 3; ++row) {
        operation.factor[row] = terms[row].factor;
        operation.shift[row] = terms[row].shift;
        operation.source[row] = terms[row].source;
    }
    return true;
}

}  // namespace orvix
