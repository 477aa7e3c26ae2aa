// Locale-free "%f" number reading built on std::from_chars.
#include "platform/scan.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace orvix {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool starts_with_nocase(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return true;
}

// The length of the number at the start of `text` (no white space), 0 when there is none.
// Sets `special` for inf and nan, whose value the caller forms itself.
std::size_t number_length(std::string_view text, bool& special) {
    special = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::string_view rest = text.substr(i);
    if (starts_with_nocase(rest, "infinity")) return special = true, i + 8;
    if (starts_with_nocase(rest, "inf")) return special = true, i + 3;
    if (starts_with_nocase(rest, "nan")) return special = true, i + 3;
    std::size_t digits = 0;
    while (i < text.size() && is_digit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && is_digit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && is_digit(text[j])) {
            while (j < text.size() && is_digit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

// A decimal whose magnitude the target type cannot hold: try the wider double first; past
// that too, the exponent's sign tells overflow (infinity) from underflow (zero).
template <typename T>
T out_of_range_value(std::string_view digits) {
    if constexpr (sizeof(T) < sizeof(double)) {
        double wide = 0;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), wide);
        if (error == std::errc()) return static_cast<T>(wide);
    }
    const auto e = digits.find_first_of("eE");
    const bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
    return tiny ? T(0) : std::numeric_limits<T>::infinity();
}

template <typename T>
bool scan_number(std::string_view& text, T& value) {
    std::size_t start = 0;
    while (start < text.size() && is_c_space(text[start])) ++start;
    const std::string_view body = text.substr(start);
    bool special = false;
    const std::size_t length = number_length(body, special);
    if (length == 0) return false;
    const bool negative = body[0] == '-';
    const std::size_t sign = (body[0] == '-' || body[0] == '+') ? 1 : 0;
    const std::string_view digits = body.substr(sign, length - sign);
    T result{};
    if (special) {
        result = starts_with_nocase(digits, "nan") ? std::numeric_limits<T>::quiet_NaN()
                                                   : std::numeric_limits<T>::infinity();
    } else {
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
        if (error == std::errc::result_out_of_range) {
            // Beyond the range, as strtof gives it: infinity for large magnitudes, zero or a
            // subnormal for tiny ones.
            result = out_of_range_value<T>(digits);
        } else if (error != std::errc() || end != digits.data() + digits.size()) {
            return false;
        }
    }
    value = negative ? -result : result;
    text.remove_prefix(start + length);
    return true;
}

}  // namespace

bool scan_float(std::string_view& text, float& value) {
    return scan_number(text, value);
}

bool scan_double(std::string_view& text, double& value) {
    return scan_number(text, value);
}

int scan_floats(std::string_view text, float* values, int count) {
    int converted = 0;
    while (converted < count && scan_float(text, values[converted])) ++converted;
    return converted;
}

}  // namespace orvix
