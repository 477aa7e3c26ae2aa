// Files without sharing, the whole-line reader and temporary files. (Writing to an adopted
// standard output and a full disk are the action protocol's and the transcripts' cases.)
#include "platform/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/signal_cleanup.h"
#include "support/case_file.h"

namespace orvix {
namespace {

using namespace test;
constexpr auto for_reading = exclusive_file::access::read;

// flock locks belong to an open file description, so another open of the file stands for
// another process.
bool locked_elsewhere(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return locked;
}

TEST(ExclusiveFile, HeldFilesAreLockedRefusedWithTheirReasonAndNeverTruncated) {
    scratch_dir dir;
    const std::string held = dir.file("held.cry"), locked = dir.file("locked.cry");
    write_file(held, "precious\r\n");
    write_file(locked, "x\r\n");
    std::filesystem::create_hard_link(held, dir.file("alias.cry"));
    auto holder = exclusive_file::open_existing(held, exclusive_file::access::read_write);
    ASSERT_TRUE(holder);
    EXPECT_TRUE(locked_elsewhere(held));
    const int locker = ::open(locked.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(locker, LOCK_EX | LOCK_NB), 0);
    // clang-format off
    const std::pair<std::string, int> cases[] = {{held, EBUSY}, {dir.file("alias.cry"), EBUSY}, {locked, EBUSY},
                                                 {dir.file(""), EISDIR}, {dir.file("no/such/file"), ENOENT}};
    // clang-format on
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        int created = 0, opened = 0;
        EXPECT_FALSE(exclusive_file::create(path, &created));
        EXPECT_FALSE(exclusive_file::open_existing(path, for_reading, &opened));
        EXPECT_EQ(created, reason);
        EXPECT_EQ(opened, reason);
    }
    ::close(locker);
    EXPECT_EQ(read_file(held), "precious\r\n");
    EXPECT_EQ(read_file(locked), "x\r\n");
    holder.reset();
    // An unheld file: create locks it and empties it.
    auto created = exclusive_file::create(held);
    ASSERT_TRUE(created);
    EXPECT_TRUE(locked_elsewhere(held));
    created->write("new\r\n");
    created->close();
    EXPECT_EQ(read_file(held), "new\r\n");
    EXPECT_TRUE(exclusive_file::open_existing(held, for_reading));
}

// Cases in tests/data/platform/lines.tsv, an empty file, and files whose first line end is
// split between two of the blocks the reader takes the file in.
TEST(LineReader, EndsLinesAtCrLfLfOrCrAndGivesThemCrLf) {
    std::vector<std::vector<std::string>> cases = read_cases("platform/lines.tsv");
    cases.push_back({""});
    for (std::size_t block : {4096u, 65536u, 131072u})
        for (std::size_t shift : {0u, 1u, 2u})
            for (const std::string end : {"\r\n", "\r", "\n"}) {
                const std::string first(block - shift, 'a');
                cases.push_back(
                    {first + end + "A 1 2 3" + end + "B", first + "\r\n", "A 1 2 3\r\n", "B\r\n"});
            }
    scratch_dir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0].substr(0, 40) + " of " + std::to_string(c[0].size()) + " bytes");
        write_file(dir.file("lines.txt"), c[0]);
        auto file = exclusive_file::open_existing(dir.file("lines.txt"), for_reading);
        std::vector<std::string> lines;
        std::string line;
        while (read_text_line(line, *file)) lines.push_back(line);
        EXPECT_EQ(lines, std::vector<std::string>(c.begin() + 1, c.end()));
    }
}

// A file whose reading fails part-way (its descriptor is swapped for a directory's) ends
// with read_failure, not with a short list of lines that looks complete.
TEST(LineReader, AReadErrorIsNotTheEndOfTheFile) {
    scratch_dir dir;
    const std::string path = dir.file("failing.cry");
    std::string text;
    for (int i = 0; i < 20000; ++i) text.append("C").append(std::to_string(i)).append(" 0 0 0\r\n");
    write_file(path, text);
    auto file = exclusive_file::open_existing(path, for_reading);
    std::string line;
    ASSERT_TRUE(read_text_line(line, *file));
    const int directory = ::open(dir.file("").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(::dup2(directory, ::fileno(file->stream())), 0);
    ::close(directory);
    EXPECT_THROW(while (read_text_line(line, *file)){}, read_failure);
}

// Bytes read ahead do not count as read: positions, seeks and writes see the line reader's.
TEST(LineReader, PositionIsTheReadersOwn) {
    scratch_dir dir;
    const std::string path = dir.file("seek.txt");
    write_file(path, "a\r\nb\r\nc\r\n");
    auto file = exclusive_file::open_existing(path, exclusive_file::access::read_write);
    std::string line;
    read_text_line(line, *file);
    EXPECT_EQ(file->tell(), 3);
    EXPECT_EQ(std::ftell(file->stream()), 3);
    read_text_line(line, *file);
    ASSERT_TRUE(file->seek(3));
    ASSERT_TRUE(read_text_line(line, *file));
    EXPECT_EQ(line, "b\r\n");
    ASSERT_TRUE(file->seek_end());
    EXPECT_EQ(file->tell(), 9);
    EXPECT_EQ(file_length_in_bytes(*file), 9);
    ASSERT_TRUE(file->rewind());
    read_text_line(line, *file);
    file->write("B");
    file->close();
    EXPECT_EQ(read_file(path), "a\r\nB\r\nc\r\n");
}

// A fatal signal deletes the temporary files and still ends the process with that signal.
TEST(TemporaryFiles, AFatalSignalDeletesThem) {
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        SCOPED_TRACE(signal_number);
        const std::string path = make_temporary_file().value_or("");
        ASSERT_TRUE(std::filesystem::exists(path));
        const pid_t child = ::fork();
        if (child == 0) {
            clean_up_temporaries_on_signals();
            ::raise(signal_number);
            std::_Exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number);
        EXPECT_FALSE(std::filesystem::exists(path));
        delete_file(path);
    }
}

}  // namespace
}  // namespace orvix
