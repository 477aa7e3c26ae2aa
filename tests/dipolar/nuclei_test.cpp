// The nuclear data table's look-ups: numbering from 1, published values, labels and numbers.
#include "dipolar/nuclei.h"

#include <gtest/gtest.h>

namespace orvix {
namespace {

TEST(NucleiTable, look_ups_are_numbered_from_one) {
    const auto table = nuclei_table();
    const std::vector<std::string> labels = nucleus_list_labels();
    ASSERT_EQ(labels.size(), table.size());
    const int count = static_cast<int>(table.size());
    for (int number = -1; number <= count + 1; ++number) {
        SCOPED_TRACE(number);
        const bool listed = number >= 1 && number <= count;
        const nucleus none{};
        const nucleus& n = listed ? table[std::size_t(number - 1)] : none;
        if (listed) {
            EXPECT_EQ(labels[std::size_t(number - 1)], n.label);
        }
        EXPECT_EQ(nucleus_gamma(number), n.gamma);
        EXPECT_EQ(nucleus_spin(number), n.spin);
        EXPECT_EQ(nucleus_abundance(number), n.abundance);
    }
}

// Published values (IUPAC 2001), found by label in any case or by list number.
TEST(NucleiTable, finds_nuclei_by_label_or_number) {
    struct lookup {
        const char* text;
        int number;  // -1: not checked
        double spin, gamma, abundance;
    };
    const lookup cases[] = {
        {"1H", 1, 0.5, 26.7522128, 99.9885},  {"1h", 1, 0.5, 26.7522128, 99.9885},
        {"2H", 2, 1.0, 4.10662791, 0.0115},   {"2", 2, 1.0, 4.10662791, 0.0115},
        {"15N", -1, 0.5, -2.71261804, 0.368}, {"27AL", -1, 2.5, 6.9762715, 100},
        {"29si", -1, 0.5, -5.319, 4.6832},    {"207Pb", -1, 0.5, 5.67603, 22.1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto position = find_nucleus_position(c.text);
        ASSERT_TRUE(position.has_value());
        if (c.number > 0) {
            EXPECT_EQ(*position + 1, c.number);
        }
        EXPECT_EQ(nucleus_spin(*position + 1), c.spin);
        EXPECT_EQ(nucleus_gamma(*position + 1), c.gamma);
        EXPECT_EQ(nucleus_abundance(*position + 1), c.abundance);
    }
    EXPECT_EQ(find_nucleus_position("120"), 119);
    for (const char* text : {"0", "121", "", "27 Al", "Al27", "H", "+1", "1.0", "99X"})
        EXPECT_FALSE(find_nucleus_position(text).has_value()) << text;
}

}  // namespace
}  // namespace orvix
