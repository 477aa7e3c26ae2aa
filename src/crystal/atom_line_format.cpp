// The atom-line fields without printf. Coordinates are floats, so a value is m * 2^e with a
// 24-bit m; below 2^32 the six-decimal result round(m * 10^6 * 2^e) fits in 64 bits and can
// be computed exactly with integers, rounding ties to even as glibc does in the default
// rounding mode. Everything else (magnitudes of 2^32 and more) is rare and goes to the C
// library itself, so both paths give the C library's bytes.
#include "crystal/atom_line_format.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/c_format.h"

namespace orvix {

namespace {

constexpr int field_width = 12;

constexpr char digit_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Right-aligns `length` bytes already at `text` in the 12-column field starting at `out`.
char* right_align(char* out, const char* text, std::size_t length) {
    if (length < field_width) {
        const std::size_t pad = field_width - length;
        std::memmove(out + pad, text, length);
        std::memset(out, ' ', pad);
        return out + field_width;
    }
    std::memmove(out, text, length);
    return out + length;
}

// Writes the decimal digits of `value` ending just before `end`; returns where they start.
char* put_digits_backwards(char* end, std::uint64_t value) {
    do {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return end;
}

char* put_special(char* out, bool negative, bool is_nan) {
    char text[4];
    std::size_t length = 0;
    if (negative) text[length++] = '-';
    std::memcpy(text + length, is_nan ? "nan" : "inf", 3);
    length += 3;
    return right_align(out, text, length);
}

char* put_by_c_library(char* out, float value) {
    const std::string text = c_format("%12.6f", static_cast<double>(value));
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

}  // namespace

char* put_coordinate_field(char* out, float value) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const bool negative = (bits >> 31) != 0;
    const std::uint32_t exponent_bits = (bits >> 23) & 0xffu;
    const std::uint32_t fraction_bits = bits & 0x7fffffu;
    if (exponent_bits == 0xffu) return put_special(out, negative, fraction_bits != 0);

    // value = mantissa * 2^exponent exactly.
    std::uint64_t mantissa = fraction_bits;
    int exponent = -149;
    if (exponent_bits != 0) {
        mantissa |= 0x800000u;
        exponent = static_cast<int>(exponent_bits) - 150;
    }
    if (exponent > 8) return put_by_c_library(out, value);  // 2^32 and beyond

    // Millionths, rounded to nearest with ties to even: mantissa * 10^6 < 2^44.
    const std::uint64_t scaled = mantissa * 1000000u;
    std::uint64_t millionths;
    if (exponent >= 0) {
        millionths = scaled << exponent;
    } else if (exponent <= -64) {
        millionths = 0;  // below half a millionth
    } else {
        const int shift = -exponent;
        const std::uint64_t quotient = scaled >> shift;
        const std::uint64_t remainder = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        millionths =
            quotient + ((remainder > half || (remainder == half && (quotient & 1u))) ? 1u : 0u);
    }

    const bool fits = millionths < (negative ? 10000000000u : 100000000000u);
    std::uint64_t whole = millionths / 1000000u;
    std::uint32_t decimals = static_cast<std::uint32_t>(millionths % 1000000u);
    if (fits) {
        // The usual case: at most 12 columns, written from the right straight into the field.
        std::memset(out, ' ', field_width);
        char* p = out + field_width;
        for (int i = 0; i < 3; ++i) {
            const char* pair = digit_pairs + 2 * (decimals % 100);
            *--p = pair[1];
            *--p = pair[0];
            decimals /= 100;
        }
        *--p = '.';
        p = put_digits_backwards(p, whole);
        if (negative) *--p = '-';
        return out + field_width;
    }

    // Wider than the field: build the text in a scratch area, then copy it.
    char scratch[32];
    char* end = scratch + sizeof scratch;
    for (int i = 1; i <= 6; ++i) {
        end[-i] = static_cast<char>('0' + decimals % 10);
        decimals /= 10;
    }
    end[-7] = '.';
    char* start = put_digits_backwards(end - 7, whole);
    if (negative) *--start = '-';
    return right_align(out, start, static_cast<std::size_t>(end - start));
}

void append_label_field(std::string& out, std::string_view label) {
    const void* nul = std::memchr(label.data(), '\0', label.size());
    if (nul != nullptr)
        label =
            label.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - label.data()));
    out.append(label);
    if (label.size() < 6) out.append(6 - label.size(), ' ');
}

void append_atom_line(std::string& out, std::string_view label, float x, float y, float z) {
    append_label_field(out, label);
    const std::size_t start = out.size();
    out.resize(start + 3 * (1 + coordinate_field_room));
    char* p = out.data() + start;
    for (float v : {x, y, z}) {
        *p++ = ' ';
        p = put_coordinate_field(p, v);
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

}  // namespace orvix
