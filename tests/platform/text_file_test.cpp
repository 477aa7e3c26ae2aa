// Text held in memory as an open file.
#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace orvix {
namespace {

std::string rest_of(exclusive_file& file) {
    std::string bytes;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, file.stream()))
        bytes.append(buffer, n);
    return bytes;
}

TEST(TextFile, HoldsTheTextReadableFromItsStartAndWritable) {
    std::string large(200000, '\0');  // beyond one stream buffer and one write
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 % 256);
    for (const std::string& text : {std::string(), std::string("a\0\xE9\r\nlast", 8), large}) {
        SCOPED_TRACE(text.size());
        auto file = exclusive_file_from_text(text);
        auto other = exclusive_file_from_text(text);  // another file, not one held already
        ASSERT_TRUE(file && other);
        EXPECT_EQ(rest_of(*file), text);
        file->write("+");
        ASSERT_TRUE(file->rewind());
        EXPECT_EQ(rest_of(*file), text + "+");
        EXPECT_EQ(rest_of(*other), text);
    }
}

}  // namespace
}  // namespace orvix
