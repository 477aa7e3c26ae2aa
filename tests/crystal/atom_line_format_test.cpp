// The fast atom-line fields against the C library's "%-6s %12.6f %12.6f %12.6f": every
// value must give the same bytes, whatever its sign, size or rounding.
#include "crystal/atom_line_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "crystal/records.h"
#include "platform/c_format.h"
#include "support/test_support.h"

namespace orvix {
namespace {

std::string fast_field(float value) {
    char buffer[coordinate_field_room];
    char* end = put_coordinate_field(buffer, value);
    return std::string(buffer, end);
}

std::string c_field(float value) {
    return c_format("%12.6f", static_cast<double>(value));
}

// Compares every value; stops after a few mismatches so that a fault stays readable.
void expect_fields_match(const std::vector<float>& values) {
    int mismatches = 0;
    for (float v : values) {
        const std::string expected = c_field(v);
        const std::string got = fast_field(v);
        if (got != expected) {
            ADD_FAILURE() << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(v) << std::dec
                          << ": expected [" << expected << "] got [" << got << "]";
            if (++mismatches == 5) return;
        }
    }
}

float from_bits(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

struct field_case {
    const char* name;
    std::vector<float> values;
};

std::vector<float> ties() {
    // Odd multiples of 2^-7 have seven decimals ending in 5: exact ties at the sixth
    // decimal, rounded to even by the C library (0.0078125 -> 0.007812, 0.0234375 ->
    // 0.023438). Also with integer parts and negative signs, and ties from 2^-8 .. 2^-20.
    std::vector<float> values;
    for (int whole : {0, 1, 7, 10, 99, 1000, 65535}) {
        for (int j = 1; j < 128; j += 2) {
            const float v = static_cast<float>(whole) + static_cast<float>(j) / 128.0f;
            values.push_back(v);
            values.push_back(-v);
        }
    }
    for (int shift = 8; shift <= 20; ++shift)
        for (int j = 1; j < 64; j += 2) values.push_back(std::ldexp(static_cast<float>(j), -shift));
    return values;
}

std::vector<float> random_bits(std::size_t count) {
    std::mt19937 random(20240601);
    std::vector<float> values;
    for (std::size_t i = 0; i < count; ++i) values.push_back(from_bits(random()));
    return values;
}

std::vector<float> random_coordinates(std::size_t count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> fractional(-3.0f, 3.0f);
    std::uniform_real_distribution<float> cartesian(-500.0f, 500.0f);
    std::vector<float> values;
    for (std::size_t i = 0; i < count; ++i) {
        values.push_back(fractional(random));
        values.push_back(cartesian(random));
    }
    return values;
}

std::vector<float> every_float_between(float low, float high) {
    std::vector<float> values;
    for (float v = low; v <= high; v = std::nextafter(v, high + 1.0f)) values.push_back(v);
    return values;
}

std::vector<float> powers_of_two() {
    std::vector<float> values;
    for (int e = -149; e <= 127; ++e) {
        const float p = std::ldexp(1.0f, e);
        for (float v : {p, std::nextafter(p, 0.0f), std::nextafter(p, 2.0f * p)}) {
            values.push_back(v);
            values.push_back(-v);
        }
    }
    return values;
}

TEST(AtomLineFormat, coordinate_fields_match_the_c_library) {
    const float max = std::numeric_limits<float>::max();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<field_case> cases = {
        {"zeros and negative zero", {0.0f, -0.0f}},
        {"small negatives that round to zero",
         {-1e-9f, -4.9e-7f, -5e-7f, -5.0000001e-7f, std::numeric_limits<float>::denorm_min() * -1}},
        {"rounding that carries into a new digit",
         {0.9999995f, 9.9999995f, 99.99999f, 999999.94f, -0.9999996f, 0.0000005f, 0.0000015f}},
        {"everyday coordinates", {0.1f, 0.2f, 0.3f, -0.25f, 0.125f, 1.5f, 10.0f, -1.25f, 0.7f}},
        {"ties at the sixth decimal", ties()},
        {"around 2^32, where the exact integer path ends",
         {4294967040.0f, 4294967296.0f, -4294967296.0f, 4294967040.0f - 256.0f, 2147483648.0f,
          16777216.0f, 16777217.0f}},
        {"huge magnitudes", {1e10f, 1e20f, 1e30f, 1e38f, max, -max, 123456789012.0f}},
        {"subnormals",
         {std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::min(),
          -std::numeric_limits<float>::min()}},
        {"not a number and infinities",
         {nan, -nan, inf, -inf, from_bits(0x7f800001u), from_bits(0xffc00001u)}},
        {"powers of two and their neighbours", powers_of_two()},
        {"every float from 0.999 to 1.001", every_float_between(0.999f, 1.001f)},
        {"every float from -0.0001 to -0.00009", every_float_between(-0.0001f, -0.00009f)},
        {"random coordinates", random_coordinates(150000)},
        {"random bit patterns", random_bits(300000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expect_fields_match(c.values);
    }
}

TEST(AtomLineFormat, whole_lines_match_the_c_library) {
    struct line_case {
        const char* name;
        std::string label;
        float x, y, z;
    };
    const std::vector<line_case> cases = {
        {"short label", "C1", 0.5f, -1.25f, 10.0f},
        {"empty label", "", 1.0f, 2.0f, 3.0f},
        {"label of six", "ABCDEF", -0.0f, 0.0f, -0.0f},
        {"label of seven widens the field", "ABCDEFG", 0.1f, 0.2f, 0.3f},
        {"long label", "a_label_much_longer_than_six_chars", 123.456f, -7.5e-7f, 1e12f},
        {"origin", "OR", 0.0f, 0.0f, 0.0f},
        {"wide values push the line out", "Xx", -1e30f, 4294967296.0f, -123456.789f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string expected =
            c_format("%-6s %12.6f %12.6f %12.6f", c.label.c_str(), static_cast<double>(c.x),
                     static_cast<double>(c.y), static_cast<double>(c.z));
        EXPECT_EQ(format_atom_line(c.label, c.x, c.y, c.z), expected);
        std::string appended = "prefix";
        append_atom_line(appended, c.label, c.x, c.y, c.z);
        EXPECT_EQ(appended, "prefix" + expected);
    }
}

TEST(AtomLineFormat, a_label_ends_at_a_nul_as_a_c_string_would) {
    const std::string label("AB\0CD", 5);
    std::string field;
    append_label_field(field, label);
    EXPECT_EQ(field, c_format("%-6.*s", 5, label.data()));
    EXPECT_EQ(field, "AB    ");
}

TEST(AtomLineFormat, write_atom_line_ends_the_line_with_cr_lf) {
    test::scratch_dir dir;
    const std::string path = dir.file("line.cry");
    {
        auto file = exclusive_file::create(path);
        ASSERT_TRUE(file);
        write_atom_line(*file, "OR", 0.0f, 0.0f, 0.0f);
        file->close();
    }
    EXPECT_EQ(test::read_file(path), "OR         0.000000     0.000000     0.000000\r\n");
}

}  // namespace
}  // namespace orvix
