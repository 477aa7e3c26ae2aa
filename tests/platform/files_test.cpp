// Files without sharing, the whole-line reader and temporary files.
#include "platform/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "platform/signal_cleanup.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::read_file;
using test::scratch_dir;
using test::write_file;

TEST(ExclusiveFile, ASecondOpenOfTheSameFileIsRefused) {
    scratch_dir dir;
    const std::string path = dir.file("held.cry");
    write_file(path, "C1 0 0 0\r\n");
    auto first = exclusive_file::open_existing(path, exclusive_file::access::read_write);
    ASSERT_TRUE(first);
    EXPECT_FALSE(exclusive_file::open_existing(path, exclusive_file::access::read));
    EXPECT_FALSE(exclusive_file::create(path));
    // Another name for the same file is the same file.
    std::filesystem::create_hard_link(path, dir.file("alias.cry"));
    EXPECT_FALSE(
        exclusive_file::open_existing(dir.file("alias.cry"), exclusive_file::access::read));
    first.reset();
    EXPECT_TRUE(exclusive_file::open_existing(path, exclusive_file::access::read));
}

TEST(ExclusiveFile, CreatingAHeldFileNeverTruncatesIt) {
    scratch_dir dir;
    const std::string path = dir.file("input.cry");
    write_file(path, "precious\r\n");
    auto held = exclusive_file::open_existing(path, exclusive_file::access::read_write);
    ASSERT_TRUE(held);
    EXPECT_FALSE(exclusive_file::create(path));
    EXPECT_EQ(read_file(path), "precious\r\n");
}

TEST(ExclusiveFile, AnotherProcessIsKeptOutByTheLock) {
    scratch_dir dir;
    const std::string path = dir.file("locked.cry");
    write_file(path, "x\r\n");
    auto held = exclusive_file::open_existing(path, exclusive_file::access::read);
    ASSERT_TRUE(held);
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        const bool locked_out = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        std::_Exit(locked_out ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(ExclusiveFile, CreateEmptiesAnUnheldFile) {
    scratch_dir dir;
    const std::string path = dir.file("result.cry");
    write_file(path, "old contents\r\n");
    auto file = exclusive_file::create(path);
    ASSERT_TRUE(file);
    file->write("new\r\n");
    file->close();
    EXPECT_EQ(read_file(path), "new\r\n");
}

TEST(ExclusiveFile, RefusalsTellTheirReason) {
    scratch_dir dir;
    const std::string held_path = dir.file("held.cry");
    const std::string locked_path = dir.file("locked.cry");
    write_file(held_path, "x\r\n");
    write_file(locked_path, "x\r\n");
    auto held = exclusive_file::open_existing(held_path, exclusive_file::access::read);
    ASSERT_TRUE(held);
    // Another descriptor's lock stands for another process's.
    const int locker = ::open(locked_path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(locker, LOCK_EX | LOCK_NB), 0);
    const struct {
        const char* name;
        std::string path;
        int error;
    } cases[] = {
        {"held by this process", held_path, EBUSY},
        {"locked by another", locked_path, EBUSY},
        {"a folder", dir.path().string(), EISDIR},
        {"in a missing folder", dir.file("no/such/folder/file"), ENOENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int created = 0;
        int opened = 0;
        EXPECT_FALSE(exclusive_file::create(c.path, &created));
        EXPECT_FALSE(exclusive_file::open_existing(c.path, exclusive_file::access::read, &opened));
        EXPECT_EQ(created, c.error);
        EXPECT_EQ(opened, c.error);
    }
    ::close(locker);
    EXPECT_EQ(read_file(locked_path), "x\r\n");
}

TEST(ExclusiveFile, AnAdoptedDescriptorIsWrittenWhereItStands) {
    scratch_dir dir;
    const std::string path = dir.file("log.txt");
    write_file(path, "earlier\r\n");
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    auto adopted = exclusive_file::adopt(fd, "standard output");
    ASSERT_TRUE(adopted);
    // While it receives a result, the file cannot be opened as an input.
    int error = 0;
    EXPECT_FALSE(exclusive_file::open_existing(path, exclusive_file::access::read, &error));
    EXPECT_EQ(error, EBUSY);
    EXPECT_FALSE(exclusive_file::adopt(fd, "again", &error));
    adopted->write("result\r\n");
    adopted->close();
    EXPECT_EQ(read_file(path), "earlier\r\nresult\r\n");
    EXPECT_TRUE(exclusive_file::open_existing(path, exclusive_file::access::read));
    // The caller's descriptor stays open.
    EXPECT_EQ(::write(fd, "more", 4), 4);
    ::close(fd);
    // A pipe is no file an action could read back: never claimed.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    auto first = exclusive_file::adopt(ends[1], "pipe");
    EXPECT_TRUE(first);
    EXPECT_TRUE(exclusive_file::adopt(ends[1], "pipe"));
    first.reset();
    ::close(ends[0]);
    ::close(ends[1]);
}

TEST(ExclusiveFile, AFullDiskIsReported) {
    auto full = exclusive_file::create("/dev/full");
    ASSERT_TRUE(full);
    // Small writes are buffered; the failure shows at the latest when the file is closed.
    bool reported = false;
    try {
        for (int i = 0; i < 10000; ++i)
            full->write("C1      0.000000     0.000000     0.000000\r\n");
        full->close();
    } catch (const write_failure& failure) {
        reported = true;
        EXPECT_EQ(failure.path(), "/dev/full");
    }
    EXPECT_TRUE(reported);
}

std::vector<std::string> all_lines(exclusive_file& file) {
    std::vector<std::string> lines;
    std::string line;
    while (read_text_line(line, file)) lines.push_back(line);
    EXPECT_TRUE(line.empty());
    return lines;
}

TEST(LineReader, EndsLinesAtCrLfLfOrCrAndGivesThemCrLf) {
    struct test_case {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    };
    const std::string long_line(5000, 'x');
    // clang-format off
    const std::vector<test_case> cases = {
        {"CR LF, LF, a long line, an empty line, no end on the last",
         "first\r\nsecond\n" + long_line + "\r\n\r\nlast",
         {"first\r\n", "second\r\n", long_line + "\r\n", "\r\n", "last\r\n"}},
        {"CR alone", "1 1 1 90 90 90\r/ c\rA 1 2 3\r",
         {"1 1 1 90 90 90\r\n", "/ c\r\n", "A 1 2 3\r\n"}},
        {"CR before CR LF is a line end of its own", "a\r\r\nb\r\n", {"a\r\n", "\r\n", "b\r\n"}},
        {"LF then CR are two line ends", "a\n\rb", {"a\r\n", "\r\n", "b\r\n"}},
        {"all three mixed", "a\rb\nc\r\nd\r", {"a\r\n", "b\r\n", "c\r\n", "d\r\n"}},
        {"empty file", "", {}},
    };
    // clang-format on
    scratch_dir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("lines.txt");
        write_file(path, c.text);
        auto file = exclusive_file::open_existing(path, exclusive_file::access::read);
        ASSERT_TRUE(file);
        EXPECT_EQ(all_lines(*file), c.lines);
    }
}

// The reader takes the file in blocks: a line end split between two of them is still one.
TEST(LineReader, ALineEndSplitBetweenBlocksStaysOne) {
    scratch_dir dir;
    const std::string path = dir.file("blocks.txt");
    for (std::size_t block : {4096u, 8192u, 65536u, 131072u}) {
        for (std::size_t shift : {0u, 1u, 2u}) {
            // The first line end begins at byte block - shift.
            const std::string first(block - shift, 'a');
            for (const std::string end : {"\r\n", "\r", "\n"}) {
                SCOPED_TRACE(std::to_string(block) + " - " + std::to_string(shift) + " " +
                             (end == "\r\n" ? "CR LF"
                              : end == "\r" ? "CR"
                                            : "LF"));
                write_file(path, first + end + "A 1 2 3" + end + "B 4 5 6");
                auto file = exclusive_file::open_existing(path, exclusive_file::access::read);
                ASSERT_TRUE(file);
                const std::vector<std::string> expected = {first + "\r\n", "A 1 2 3\r\n",
                                                           "B 4 5 6\r\n"};
                EXPECT_EQ(all_lines(*file), expected);
            }
        }
    }
}

// A file whose reading fails part-way (its descriptor is swapped for a directory's) ends
// with read_failure, not with a short list of lines that looks complete.
TEST(LineReader, AReadErrorIsNotTheEndOfTheFile) {
    scratch_dir dir;
    const std::string path = dir.file("failing.cry");
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        text += 'C';
        text += std::to_string(i);
        text += " 0.1 0.2 0.3\r\n";
    }
    write_file(path, text);
    auto file = exclusive_file::open_existing(path, exclusive_file::access::read);
    ASSERT_TRUE(file);
    std::string line;
    ASSERT_TRUE(read_text_line(line, *file));
    const int directory = ::open(dir.file("").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(directory, 0);
    ASSERT_GE(::dup2(directory, ::fileno(file->stream())), 0);
    ::close(directory);
    int lines = 1;
    try {
        while (read_text_line(line, *file)) ++lines;
        ADD_FAILURE() << "the read error was taken for the end of the file after " << lines
                      << " lines";
    } catch (const read_failure& failure) {
        EXPECT_EQ(failure.path(), path);
    }
    EXPECT_LT(lines, 20000);
}

// A line longer than the memory left: the reader must not report the end of the file. Run
// in a child whose address space is capped a little above what it uses, over a sparse file
// of zero bytes without a line end.
TEST(LineReader, RunningOutOfMemoryIsNotTheEndOfTheFile) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator does not survive a capped address space";
#else
    constexpr long long headroom = 64ll << 20;
    scratch_dir dir;
    const std::string path = dir.file("huge-line.cry");
    write_file(path, "");
    ASSERT_EQ(::truncate(path.c_str(), 4 * headroom), 0);
    auto file = exclusive_file::open_existing(path, exclusive_file::access::read);
    ASSERT_TRUE(file);
    const pid_t child = ::fork();
    if (child == 0) {
        long long pages = 0;
        if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%lld", &pages) != 1) pages = 0;
            std::fclose(statm);
        }
        const rlim_t cap = static_cast<rlim_t>(pages * ::sysconf(_SC_PAGESIZE) + headroom);
        const rlimit limit{cap, cap};
        if (pages == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(5);
        try {
            std::string line;
            std::_Exit(read_text_line(line, *file) ? 2 : 3);
        } catch (const std::bad_alloc&) {
            std::_Exit(0);
        } catch (...) {
            std::_Exit(4);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: a line came back, 3: taken for the end of the file";
#endif
}

TEST(LineReader, PassesEightBitTextThrough) {
    scratch_dir dir;
    const std::string path = dir.file("latin1.txt");
    const std::string text = "/* \xC5ngstr\xF6m \xB5 \xFF */\r\n";
    write_file(path, text);
    auto file = exclusive_file::open_existing(path, exclusive_file::access::read);
    std::string line;
    ASSERT_TRUE(read_text_line(line, *file));
    EXPECT_EQ(line, text);
}

TEST(LineReader, PositionCanBeRestored) {
    scratch_dir dir;
    const std::string path = dir.file("seek.txt");
    write_file(path, "a\r\nb\r\nc\r\n");
    auto file = exclusive_file::open_existing(path, exclusive_file::access::read_write);
    std::string line;
    read_text_line(line, *file);
    const auto position = file->tell();
    EXPECT_EQ(position, 3);
    // The stream itself stands there too, for whoever reads it directly.
    EXPECT_EQ(std::ftell(file->stream()), 3);
    read_text_line(line, *file);
    EXPECT_EQ(line, "b\r\n");
    ASSERT_TRUE(file->seek(position));
    read_text_line(line, *file);
    EXPECT_EQ(line, "b\r\n");
    ASSERT_TRUE(file->rewind());
    read_text_line(line, *file);
    EXPECT_EQ(line, "a\r\n");
    ASSERT_TRUE(file->seek_end());
    EXPECT_EQ(file->tell(), 9);
    EXPECT_EQ(file_length_in_bytes(*file), 9);
    // Reads and writes share the position: a write after a line lands right behind it.
    ASSERT_TRUE(file->rewind());
    read_text_line(line, *file);
    file->write("B");
    file->close();
    EXPECT_EQ(read_file(path), "a\r\nB\r\nc\r\n");
}

TEST(TemporaryFiles, AreNewEmptyAndNamedWithThePrefix) {
    auto first = make_temporary_file();
    auto second = make_temporary_file();
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    for (const auto& path : {*first, *second}) {
        EXPECT_EQ(std::filesystem::path(path).filename().string().rfind("orv", 0), 0u);
        EXPECT_EQ(std::filesystem::file_size(path), 0u);
        EXPECT_TRUE(delete_file(path));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST(TemporaryFiles, AFatalSignalDeletesThemAndStillEndsTheProcess) {
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        SCOPED_TRACE(signal_number);
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            clean_up_temporaries_on_signals();
            const auto path = make_temporary_file();
            if (!path) std::_Exit(1);
            const std::string line = *path + "\n";
            if (::write(ends[1], line.data(), line.size()) < 0) std::_Exit(1);
            for (;;) ::pause();
        }
        ::close(ends[1]);
        std::string path;
        char c;
        while (::read(ends[0], &c, 1) == 1 && c != '\n') path += c;
        ::close(ends[0]);
        ASSERT_FALSE(path.empty());
        EXPECT_TRUE(std::filesystem::exists(path));
        ::kill(child, signal_number);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number);
        EXPECT_FALSE(std::filesystem::exists(path));
        std::filesystem::remove(path);
    }
}

}  // namespace
}  // namespace orvix
