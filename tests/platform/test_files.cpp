// Files without sharing, the whole-line reader and temporary files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include "platform/files.h"
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

TEST(LineReader, ReadsWholeLinesAndGivesThemCrLf) {
    scratch_dir dir;
    const std::string path = dir.file("lines.txt");
    const std::string long_line(5000, 'x');
    write_file(path, "first\r\nsecond\n" + long_line + "\r\n\r\nlast");
    auto file = exclusive_file::open_existing(path, exclusive_file::access::read);
    ASSERT_TRUE(file);
    const std::vector<std::string> expected = {"first\r\n", "second\r\n", long_line + "\r\n",
                                               "\r\n", "last\r\n"};
    std::string line;
    for (const auto& want : expected) {
        ASSERT_TRUE(CVlgets(line, *file));
        EXPECT_EQ(line, want);
    }
    EXPECT_FALSE(CVlgets(line, *file));
    EXPECT_TRUE(line.empty());
}

TEST(LineReader, PassesEightBitTextThrough) {
    scratch_dir dir;
    const std::string path = dir.file("latin1.txt");
    const std::string text = "/* \xC5ngstr\xF6m \xB5 \xFF */\r\n";
    write_file(path, text);
    auto file = exclusive_file::open_existing(path, exclusive_file::access::read);
    std::string line;
    ASSERT_TRUE(CVlgets(line, *file));
    EXPECT_EQ(line, text);
}

TEST(LineReader, PositionCanBeRestored) {
    scratch_dir dir;
    const std::string path = dir.file("seek.txt");
    write_file(path, "a\r\nb\r\nc\r\n");
    auto file = exclusive_file::open_existing(path, exclusive_file::access::read);
    std::string line;
    CVlgets(line, *file);
    const auto position = file->tell();
    CVlgets(line, *file);
    EXPECT_EQ(line, "b\r\n");
    ASSERT_TRUE(file->seek(position));
    CVlgets(line, *file);
    EXPECT_EQ(line, "b\r\n");
    ASSERT_TRUE(file->rewind());
    CVlgets(line, *file);
    EXPECT_EQ(line, "a\r\n");
    EXPECT_EQ(CVFileLength(*file), 9);
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

TEST(Signum, SignOfAValue) {
    EXPECT_EQ(CVsignum(1.0000001), 1);
    EXPECT_EQ(CVsignum(-1.5), -1);
    EXPECT_EQ(CVsignum(0.0), 0);
}

}  // namespace
}  // namespace orvix
