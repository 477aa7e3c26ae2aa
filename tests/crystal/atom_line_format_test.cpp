// The fast atom-line fields against the C library's "%-6s %12.6f %12.6f %12.6f": every value
// must give the same bytes, whatever its sign, size or rounding.
#include "crystal/atom_line_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/c_format.h"
#include "support/case_file.h"

namespace orvix {
namespace {

TEST(AtomLineFormat, CoordinateFieldsMatchTheCLibrary) {
    std::vector<float> values;
    for (const auto& c : test::read_cases("crystal/coordinates.tsv"))
        values.push_back(
            std::bit_cast<float>(static_cast<std::uint32_t>(std::stoul(c.at(0), nullptr, 16))));
    // Odd multiples of 2^-7 .. 2^-20 end in 5 one place past the sixth decimal: exact ties,
    // which the C library rounds to even.
    for (int whole : {0, 1, 99, 65535})
        for (int shift = 7; shift <= 20; ++shift)
            for (int j = 1; j < 64; j += 2)
                for (float sign : {1.0f, -1.0f})
                    values.push_back(sign * (static_cast<float>(whole) +
                                             std::ldexp(static_cast<float>(j), -shift)));
    // Powers of two with their neighbours, random coordinates and random bit patterns.
    for (int e = -149; e <= 127; ++e) {
        const float p = std::ldexp(1.0f, e);
        values.insert(values.end(), {p, std::nextafter(p, 0.0f), std::nextafter(p, 2 * p), -p});
    }
    std::mt19937 random(20240601);
    for (int i = 0; i < 300000; ++i) {
        values.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
        values.push_back(static_cast<float>(static_cast<int>(random() % 1000000001u) - 500000000) /
                         1e6f);
    }
    int mismatches = 0;
    for (float v : values) {
        char buffer[coordinate_field_room];
        const std::string got(buffer, put_coordinate_field(buffer, v));
        const std::string expected = c_format("%12.6f", static_cast<double>(v));
        if (got != expected && ++mismatches <= 5)
            ADD_FAILURE() << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(v)
                          << ": expected [" << expected << "] got [" << got << "]";
    }
}

// Short, six-character, longer and empty labels; fields wider than twelve columns.
TEST(AtomLineFormat, WholeLinesMatchTheCLibrary) {
    const std::tuple<std::string, float, float, float> cases[] = {{"C1", 0.5f, -1.25f, 10.0f},
                                                                  {"ABCDEF", -0.0f, 0, 1e12f},
                                                                  {"ABCDEFG", -1e30f, 0.2f, 0.3f},
                                                                  {"", 1, 2, 3}};
    for (const auto& [label, x, y, z] : cases) {
        std::string line = "prefix";
        append_atom_line(line, label, x, y, z);
        // clang-format off
        EXPECT_EQ(line, "prefix" + c_format("%-6s %12.6f %12.6f %12.6f", label.c_str(), double{x}, double{y}, double{z}));
        // clang-format on
    }
    // A label ends at a NUL, as a C string would.
    std::string field;
    append_label_field(field, std::string("AB\0CD", 5));
    EXPECT_EQ(field, "AB    ");
}

}  // namespace
}  // namespace orvix
