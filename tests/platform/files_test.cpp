// Files without sharing, the whole-line reader and temporary files.
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
#include "support/test_support.h"

namespace orvix {
namespace {

using test::read_file;
using test::scratch_dir;
using test::write_file;
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
    const std::pair<std::string, int> cases[] = {{held, EBUSY},
                                                 {dir.file("alias.cry"), EBUSY},
                                                 {locked, EBUSY},
                                                 {dir.file(""), EISDIR},
                                                 {dir.file("no/such/file"), ENOENT}};
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
    EXPECT_FALSE(locked_elsewhere(held));
    // An unheld file: create locks it and empties it.
    auto created = exclusive_file::create(held);
    ASSERT_TRUE(created);
    EXPECT_TRUE(locked_elsewhere(held));
    created->write("new\r\n");
    created->close();
    EXPECT_EQ(read_file(held), "new\r\n");
    EXPECT_TRUE(exclusive_file::open_existing(held, for_reading));
}

TEST(ExclusiveFile, AnAdoptedDescriptorIsWrittenWhereItStands) {
    scratch_dir dir;
    const std::string path = dir.file("log.txt");
    write_file(path, "earlier\r\n");
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    auto adopted = exclusive_file::adopt(fd, "standard output");
    ASSERT_TRUE(adopted);
    // While it receives a result, the file cannot be opened as an input.
    int error = 0;
    EXPECT_FALSE(exclusive_file::open_existing(path, for_reading, &error));
    EXPECT_EQ(error, EBUSY);
    adopted->write("result\r\n");
    adopted->close();
    EXPECT_EQ(::write(fd, "more", 4), 4);  // the caller's descriptor stays open
    ::close(fd);
    EXPECT_EQ(read_file(path), "earlier\r\nresult\r\nmore");
    // A pipe is no file an action could read back: never claimed.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    auto first = exclusive_file::adopt(ends[1], "pipe");
    EXPECT_TRUE(first && exclusive_file::adopt(ends[1], "pipe"));
    first.reset();
    ::close(ends[0]);
    ::close(ends[1]);
}

TEST(ExclusiveFile, AFullDiskIsReported) {
    auto full = exclusive_file::create("/dev/full");
    ASSERT_TRUE(full);
    // Small writes are buffered; the failure shows at the latest when the file is closed.
    EXPECT_THROW(
        {
            for (int i = 0; i < 10000; ++i) full->write("C1  0.000000  0.000000  0.000000\r\n");
            full->close();
        },
        write_failure);
}

std::vector<std::string> all_lines(const std::string& path) {
    auto file = exclusive_file::open_existing(path, for_reading);
    std::vector<std::string> lines;
    std::string line;
    while (file && read_text_line(line, *file)) lines.push_back(line);
    return lines;
}

TEST(LineReader, EndsLinesAtCrLfLfOrCrAndGivesThemCrLf) {
    struct line_case {
        std::string name, text;
        std::vector<std::string> lines;
    };
    const std::string long_line(5000, 'x');
    // clang-format off
    std::vector<line_case> cases = {
        {"CR LF, LF, a long line, an empty line, no end on the last",
         "first\r\nsecond\n" + long_line + "\r\n\r\nlast",
         {"first\r\n", "second\r\n", long_line + "\r\n", "\r\n", "last\r\n"}},
        {"CR alone", "1 1 1 90 90 90\r/ c\rA 1 2 3\r", {"1 1 1 90 90 90\r\n", "/ c\r\n", "A 1 2 3\r\n"}},
        {"CR before CR LF is a line end of its own", "a\r\r\nb\r\n", {"a\r\n", "\r\n", "b\r\n"}},
        {"LF then CR are two line ends", "a\n\rb", {"a\r\n", "\r\n", "b\r\n"}},
        {"eight-bit text", "/* \xC5ngstr\xF6m \xB5 \xFF */\r\n", {"/* \xC5ngstr\xF6m \xB5 \xFF */\r\n"}},
        {"empty file", "", {}},
    };
    // clang-format on
    // The reader takes the file in blocks: a line end split between two is still one.
    for (std::size_t block : {4096u, 65536u, 131072u}) {
        for (std::size_t shift : {0u, 1u, 2u}) {
            const std::string first(block - shift, 'a');
            for (const std::string end : {"\r\n", "\r", "\n"})
                cases.push_back({std::to_string(block - shift) + " bytes, then " +
                                     (end == "\r\n" ? "CR LF"
                                      : end == "\r" ? "CR"
                                                    : "LF"),
                                 first + end + "A 1 2 3" + end + "B",
                                 {first + "\r\n", "A 1 2 3\r\n", "B\r\n"}});
        }
    }
    scratch_dir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write_file(dir.file("lines.txt"), c.text);
        EXPECT_EQ(all_lines(dir.file("lines.txt")), c.lines);
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

// Temporary files are new, empty and distinct; a fatal signal deletes them and still ends the
// process with that signal.
TEST(TemporaryFiles, AreNewAndAFatalSignalDeletesThem) {
    auto first = make_temporary_file(), second = make_temporary_file();
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    for (const auto& path : {*first, *second}) {
        EXPECT_EQ(std::filesystem::path(path).filename().string().substr(0, 3), "orv");
        EXPECT_EQ(std::filesystem::file_size(path), 0u);
        EXPECT_TRUE(delete_file(path));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        SCOPED_TRACE(signal_number);
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            clean_up_temporaries_on_signals();
            const std::string line = make_temporary_file().value_or("") + "\n";
            if (::write(ends[1], line.data(), line.size()) < 0) std::_Exit(1);
            for (;;) ::pause();
        }
        ::close(ends[1]);
        std::string path;
        char c;
        while (::read(ends[0], &c, 1) == 1 && c != '\n') path += c;
        ::close(ends[0]);
        EXPECT_TRUE(std::filesystem::exists(path));
        ::kill(child, signal_number);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number);
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

}  // namespace
}  // namespace orvix
