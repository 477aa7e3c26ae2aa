// The numbered message table.
#include "actions/messages.h"

#include <gtest/gtest.h>

namespace orvix {
namespace {

TEST(Messages, NumberedTexts) {
    struct {
        int number;
        const char* text;
    } cases[] = {
        {1, "(untitled)"},
        {3, "Could not read file!"},
        {6, "Unexpected end of data encountered!"},
        {163, "Error creating file!"},
        {164, "Error writing file! Disk full?"},
        {167, "The unit vectors %s are not orthogonal!  Check Data!"},
        {169, "%.10f  %.10f  %.10f"},
        {170, "One axis is a NULL vector!!  Normalization failed!"},
        {257, "May 19 2021"},
    };
    for (const auto& c : cases) EXPECT_EQ(msg::message_text(c.number), c.text) << c.number;
    EXPECT_TRUE(msg::message_text(8).empty());
    EXPECT_TRUE(msg::message_text(0).empty());
}

}  // namespace
}  // namespace orvix
