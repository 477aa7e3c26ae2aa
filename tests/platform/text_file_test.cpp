// Text held in memory as an open file: readable from its start, writable, and a file of its
// own, whatever bytes it holds and however many.
#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace orvix {
namespace {

std::string rest_of(exclusive_file& file) {
    std::string bytes(300000, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.stream()));
    return bytes;
}

TEST(TextFile, HoldsTheTextReadableFromItsStartAndWritable) {
    std::string large(200000, '\0');  // beyond one stream buffer and one write
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 % 256);
    for (const std::string& text : {std::string(), std::string("a\0\xE9\r\nlast", 8), large}) {
        auto file = exclusive_file_from_text(text), other = exclusive_file_from_text(text);
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
