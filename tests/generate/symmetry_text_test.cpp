// Reading symmetry operations as crystallographers write them.
#include "generate/symmetry_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvix {
namespace {

TEST(SymmetryText, terms_in_the_usual_forms) {
    struct term_case {
        const char* text;
        double factor;
        double shift;
        int source;
    };
    const std::vector<term_case> cases = {
        {"x", 1, 0, 0},
        {"-y", -1, 0, 1},
        {"2*z", 2, 0, 2},
        {"-x+1/2", -1, 0.5, 0},
        {"1/2-x", -1, 0.5, 0},
        {"y+0.25", 1, 0.25, 1},
        {"-0.5*z-1/4", -0.5, -0.25, 2},
        {"+x", 1, 0, 0},
        {" - x + 1 / 2 ", -1, 0.5, 0},
        {"\tZ\t", 1, 0, 2},
        {"3/4+Y", 1, 0.75, 1},
        {"x-0.5", 1, -0.5, 0},
        {".5+x", 1, 0.5, 0},
        {"x+1.", 1, 1, 0},
        {"1/3*y", 1.0 / 3.0, 0, 1},
        {"-2/3*z+5/6", -2.0 / 3.0, 5.0 / 6.0, 2},
        {"0*x+0.1", 0, 0.1, 0},
        {"x+1/2+1/4", 1, 0.75, 0},
        {"1/2+x-1", 1, -0.5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        symmetry_term term;
        std::string error;
        ASSERT_TRUE(parse_symmetry_term(c.text, term, error)) << error;
        EXPECT_EQ(term.factor, c.factor);
        EXPECT_EQ(term.shift, c.shift);
        EXPECT_EQ(term.source, c.source);
        EXPECT_TRUE(error.empty());
    }
}

TEST(SymmetryText, refused_terms_are_named_in_the_error) {
    struct refusal {
        const char* text;
        const char* reason;  // part of the error text
    };
    const std::vector<refusal> cases = {
        {"x-y", "combines more than one coordinate"},
        {"x+y+z", "combines more than one coordinate"},
        {"2*x+x", "combines more than one coordinate"},
        {"1/2", "names no coordinate"},
        {"-0.25", "names no coordinate"},
        {"x+", "cannot be read"},
        {"2x", "cannot be read"},
        {"x2", "cannot be read"},
        {"x*2", "cannot be read"},
        {"2*", "cannot be read"},
        {"x++1", "cannot be read"},
        {"--x", "cannot be read"},
        {"1e5+x", "cannot be read"},
        {"inf+x", "cannot be read"},
        {"nan*x", "cannot be read"},
        {"w", "cannot be read"},
        {"x+1/", "cannot be read"},
        {"x+/2", "cannot be read"},
        {"x+0,5", "cannot be read"},
        {"x+1/0", "divides by zero"},
        {"1/0.0*y", "divides by zero"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        symmetry_term term;
        term.factor = 7;
        std::string error;
        EXPECT_FALSE(parse_symmetry_term(c.text, term, error));
        EXPECT_NE(error.find(std::string("\"") + c.text + "\""), std::string::npos) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(term.factor, 7) << "a refused term leaves the record alone";
    }
}

TEST(SymmetryText, operations_fill_the_three_rows) {
    struct operation_case {
        const char* name;
        const char* text;
        std::array<double, 3> factor;
        std::array<double, 3> shift;
        std::array<std::uint8_t, 3> source;
    };
    const std::vector<operation_case> cases = {
        {"identity", "x,y,z", {1, 1, 1}, {0, 0, 0}, {0, 1, 2}},
        {"2_1 screw with glide of P2_1/c",
         "-x,y+1/2,-z+1/2",
         {-1, 1, -1},
         {0, 0.5, 0.5},
         {0, 1, 2}},
        {"inversion", "-x,-y,-z", {-1, -1, -1}, {0, 0, 0}, {0, 1, 2}},
        {"swap x and y", "y, x, z", {1, 1, 1}, {0, 0, 0}, {1, 0, 2}},
        {"cyclic permutation", "z,x,y", {1, 1, 1}, {0, 0, 0}, {2, 0, 1}},
        {"one coordinate used twice", "x,x,-x", {1, 1, -1}, {0, 0, 0}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        symmetry_operation operation;
        operation.position_count = 4;
        operation.current_position = 3;
        std::string error;
        ASSERT_TRUE(parse_symmetry_operation(c.text, operation, error)) << error;
        EXPECT_EQ(operation.factor, c.factor);
        EXPECT_EQ(operation.shift, c.shift);
        EXPECT_EQ(operation.source, c.source);
        EXPECT_EQ(operation.position_count, 4) << "the counts are not the parser's";
        EXPECT_EQ(operation.current_position, 3);
    }
}

TEST(SymmetryText, refused_operations_say_what_and_where) {
    struct refusal {
        const char* text;
        std::vector<std::string> parts;  // each must appear in the error
    };
    const std::vector<refusal> cases = {
        {"x,y", {"\"x,y\"", "three terms"}},
        {"x,y,z,x", {"three terms"}},
        {"x y z", {"three terms"}},
        {"", {"three terms"}},
        {"x,,z", {"new Y", "empty term"}},
        {"x-y,y,z", {"new X", "\"x-y\"", "more than one coordinate"}},
        {"x,y,1/2", {"new Z", "\"1/2\"", "names no coordinate"}},
        {"x,y+1/0,z", {"new Y", "divides by zero"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        symmetry_operation operation;
        std::string error;
        EXPECT_FALSE(parse_symmetry_operation(c.text, operation, error));
        for (const auto& part : c.parts) EXPECT_NE(error.find(part), std::string::npos) << error;
        const symmetry_operation untouched;
        EXPECT_EQ(operation.factor, untouched.factor);
        EXPECT_EQ(operation.shift, untouched.shift);
        EXPECT_EQ(operation.source, untouched.source);
    }
}

}  // namespace
}  // namespace orvix
