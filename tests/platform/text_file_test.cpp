// Text held in memory as an open file.
#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace orvix {
namespace {

// Every byte from the stream's position to its end.
std::string rest_of(exclusive_file& file) {
    std::string bytes;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.stream())) > 0) bytes.append(buffer, n);
    return bytes;
}

TEST(TextFile, HoldsTheTextReadableFromItsStartAndWritable) {
    std::string large(200000, '\0');  // beyond one stream buffer and one write
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 % 256);
    static constexpr char binary[] = "nul \0 and \xE9\xFF bytes\n";
    const std::string texts[] = {"", "C1 0 0 0\r\nlast line without end",
                                 std::string(binary, sizeof binary - 1), large};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.size());
        int error = -1;
        auto file = exclusive_file_from_text(text, &error);
        ASSERT_TRUE(file) << error;
        EXPECT_EQ(rest_of(*file), text);
        // A second file of the same text is another file, not one held already.
        auto other = exclusive_file_from_text(text);
        ASSERT_TRUE(other);
        file->write("+");
        ASSERT_TRUE(file->rewind());
        EXPECT_EQ(rest_of(*file), text + "+");
        EXPECT_EQ(rest_of(*other), text);
    }
}

}  // namespace
}  // namespace orvix
