// Files opened without sharing, the line reader and temporary copies.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

#include "platform/signal_cleanup.h"

namespace orvix {

namespace {

// Files this process holds open, by device and inode: a second open of one is refused.
struct open_file_registry {
    std::mutex lock;
    std::set<std::pair<std::uint64_t, std::uint64_t>> held;
};

open_file_registry& registry() {
    static open_file_registry instance;
    return instance;
}

bool claim(std::uint64_t device, std::uint64_t inode) {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    return r.held.insert({device, inode}).second;
}

void unclaim(std::uint64_t device, std::uint64_t inode) {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    r.held.erase({device, inode});
}

constexpr std::size_t stream_buffer_size = 1 << 16;
// No smaller than the stream's buffer, so that the C library reads into it directly.
constexpr std::size_t read_ahead_size = stream_buffer_size;

// Ends a failed open: closes the descriptor, keeps `reason` for the caller, no result.
std::nullopt_t refuse(int fd, int reason, int* error) {
    if (fd >= 0) ::close(fd);
    if (error != nullptr) *error = reason;
    return std::nullopt;
}

}  // namespace

exclusive_file::exclusive_file(std::FILE* stream, std::string path, std::uint64_t device,
                               std::uint64_t inode, bool claimed)
    : stream_(stream), path_(std::move(path)), device_(device), inode_(inode), claimed_(claimed) {
    std::setvbuf(stream_, nullptr, _IOFBF, stream_buffer_size);
}

std::optional<exclusive_file> exclusive_file::open_existing(const std::string& path, access mode,
                                                            int* error) {
    const int flags = (mode == access::read ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) return refuse(-1, errno, error);
    struct stat st {};
    if (::fstat(fd, &st) != 0) return refuse(fd, errno, error);
    if (S_ISDIR(st.st_mode)) return refuse(fd, EISDIR, error);
    // A file this process holds already: no system call fails, the refusal is our own.
    if (!claim(st.st_dev, st.st_ino)) return refuse(fd, EBUSY, error);
    // Regular files get the advisory lock; devices such as /dev/full need none. A lock held
    // by another process is reported as the same "busy" as a file held here.
    if (S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno == EWOULDBLOCK ? EBUSY : errno;
        unclaim(st.st_dev, st.st_ino);
        return refuse(fd, reason, error);
    }
    std::FILE* stream = ::fdopen(fd, mode == access::read ? "rb" : "r+b");
    if (stream == nullptr) {
        const int reason = errno;
        unclaim(st.st_dev, st.st_ino);
        return refuse(fd, reason, error);
    }
    return exclusive_file(stream, path, st.st_dev, st.st_ino);
}

std::optional<exclusive_file> exclusive_file::create(const std::string& path, int* error) {
    // No O_TRUNC here: the file is emptied only after the claim and the lock succeeded.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return refuse(-1, errno, error);
    struct stat st {};
    if (::fstat(fd, &st) != 0) return refuse(fd, errno, error);
    if (S_ISDIR(st.st_mode)) return refuse(fd, EISDIR, error);
    if (!claim(st.st_dev, st.st_ino)) return refuse(fd, EBUSY, error);
    if (S_ISREG(st.st_mode)) {
        int reason = 0;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
            reason = errno == EWOULDBLOCK ? EBUSY : errno;
        else if (::ftruncate(fd, 0) != 0)
            reason = errno;
        if (reason != 0) {
            unclaim(st.st_dev, st.st_ino);
            return refuse(fd, reason, error);
        }
    }
    std::FILE* stream = ::fdopen(fd, "r+b");
    if (stream == nullptr) {
        const int reason = errno;
        unclaim(st.st_dev, st.st_ino);
        return refuse(fd, reason, error);
    }
    return exclusive_file(stream, path, st.st_dev, st.st_ino);
}

std::optional<exclusive_file> exclusive_file::adopt(int fd, std::string name, int* error) {
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return refuse(-1, errno, error);
    struct stat st {};
    if (::fstat(copy, &st) != 0) return refuse(copy, errno, error);
    // Only a regular file could be read as the input while it is written; a terminal or a
    // pipe may well be both standard input and standard output.
    const bool regular = S_ISREG(st.st_mode);
    if (regular && !claim(st.st_dev, st.st_ino)) return refuse(copy, EBUSY, error);
    // No lock: it would belong to the descriptor the caller shares with others (a shell's
    // "exec >log"), and outlive this process there.
    std::FILE* stream = ::fdopen(copy, "wb");
    if (stream == nullptr) {
        const int reason = errno;
        if (regular) unclaim(st.st_dev, st.st_ino);
        return refuse(copy, reason, error);
    }
    return exclusive_file(stream, std::move(name), st.st_dev, st.st_ino, regular);
}

exclusive_file::exclusive_file(exclusive_file&& other) noexcept
    : stream_(std::exchange(other.stream_, nullptr)),
      path_(std::move(other.path_)),
      device_(other.device_),
      inode_(other.inode_),
      claimed_(other.claimed_),
      writing_(other.writing_),
      read_ahead_(std::move(other.read_ahead_)),
      read_begin_(std::exchange(other.read_begin_, 0)),
      read_end_(std::exchange(other.read_end_, 0)),
      lf_end_(std::exchange(other.lf_end_, 0)) {}

exclusive_file& exclusive_file::operator=(exclusive_file&& other) noexcept {
    if (this != &other) {
        release();
        stream_ = std::exchange(other.stream_, nullptr);
        path_ = std::move(other.path_);
        device_ = other.device_;
        inode_ = other.inode_;
        claimed_ = other.claimed_;
        writing_ = other.writing_;
        read_ahead_ = std::move(other.read_ahead_);
        read_begin_ = std::exchange(other.read_begin_, 0);
        read_end_ = std::exchange(other.read_end_, 0);
        lf_end_ = std::exchange(other.lf_end_, 0);
    }
    return *this;
}

exclusive_file::~exclusive_file() {
    release();
}

void exclusive_file::release() noexcept {
    if (stream_ == nullptr) return;
    std::fclose(stream_);  // closing also drops the advisory lock
    stream_ = nullptr;
    if (claimed_) unclaim(device_, inode_);
}

bool exclusive_file::rewind() {
    return seek(0);
}

bool exclusive_file::seek_end() {
    writing_ = false;
    read_begin_ = read_end_ = 0;
    return stream_ != nullptr && std::fseek(stream_, 0, SEEK_END) == 0;
}

std::int64_t exclusive_file::tell() {
    if (stream_ == nullptr) return -1;
    const std::int64_t position = ::ftello(stream_);
    if (position < 0) return -1;
    return position - static_cast<std::int64_t>(read_end_ - read_begin_);
}

bool exclusive_file::seek(std::int64_t position) {
    writing_ = false;
    read_begin_ = read_end_ = 0;
    return stream_ != nullptr && ::fseeko(stream_, static_cast<off_t>(position), SEEK_SET) == 0;
}

void exclusive_file::write(std::string_view bytes) {
    if (stream_ == nullptr) throw write_failure(path_);
    if (bytes.empty()) return;
    give_back_read_ahead();
    writing_ = true;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size())
        throw write_failure(path_);
}

void exclusive_file::close() {
    if (stream_ == nullptr) return;
    const bool flushed = std::fflush(stream_) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (claimed_) unclaim(device_, inode_);
    if (!flushed || !closed) throw write_failure(path_);
}

std::FILE* exclusive_file::stream() {
    give_back_read_ahead();
    return stream_;
}

void exclusive_file::give_back_read_ahead() {
    const std::size_t unread = read_end_ - read_begin_;
    read_begin_ = read_end_ = 0;
    if (unread > 0) ::fseeko(stream_, -static_cast<off_t>(unread), SEEK_CUR);
}

bool exclusive_file::fill_read_ahead() {
    if (!read_ahead_) read_ahead_ = std::make_unique_for_overwrite<char[]>(read_ahead_size);
    read_begin_ = read_end_ = lf_end_ = 0;
    const std::size_t got = std::fread(read_ahead_.get(), 1, read_ahead_size, stream_);
    if (std::ferror(stream_) != 0) throw read_failure(path_);
    read_end_ = got;
    return got > 0;
}

bool exclusive_file::read_line(std::string& line) {
    line.clear();
    if (stream_ == nullptr) return false;
    for (;;) {
        if (read_begin_ == read_end_ && !fill_read_ahead()) {
            if (line.empty()) return false;
            line.append("\r\n", 2);  // a last line without a line end
            return true;
        }
        const char* const block = read_ahead_.get();
        // The next LF is searched once per block and remembered, so that a file of CR line
        // ends alone is not searched to the end of the block for every line.
        if (read_begin_ >= lf_end_) {
            const void* lf = std::memchr(block + read_begin_, '\n', read_end_ - read_begin_);
            lf_end_ = (lf != nullptr ? static_cast<const char*>(lf) - block : read_end_) + 1;
        }
        const std::size_t lf = lf_end_ - 1;  // read_end_ when the block holds no LF
        const void* found = std::memchr(block + read_begin_, '\r', lf - read_begin_);
        const std::size_t stop =
            found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - block)
                             : lf;
        const std::size_t length = stop - read_begin_;
        if (stop == read_end_) {  // the line goes on in the next block
            line.append(block + read_begin_, length);
            read_begin_ = stop;
            continue;
        }
        // One allocation for a line read into an empty string, line end included.
        line.reserve(line.size() + length + 2);
        line.append(block + read_begin_, length);
        line.push_back('\r');
        line.push_back('\n');
        read_begin_ = stop + 1;
        if (found != nullptr) {
            // A CR LF pair is one line end, also when the LF opens the next block.
            if (read_begin_ == read_end_ && !fill_read_ahead()) return true;
            if (read_ahead_[read_begin_] == '\n') ++read_begin_;
        }
        return true;
    }
}

bool read_text_line(std::string& line, exclusive_file& file) {
    return file.read_line(line);
}

std::int64_t file_length_in_bytes(exclusive_file& file) {
    std::FILE* stream = file.stream();
    if (stream == nullptr) return -1;
    std::fflush(stream);
    struct stat st {};
    if (::fstat(::fileno(stream), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

std::optional<std::string> temporary_directory() {
    std::error_code error;
    auto dir = std::filesystem::temp_directory_path(error);
    if (error) return std::nullopt;
    return dir.string();
}

std::optional<std::string> make_temporary_file() {
    auto dir = temporary_directory();
    if (!dir) return std::nullopt;
    std::string pattern = (std::filesystem::path(*dir) / "orvXXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return std::nullopt;
    remember_temporary(pattern);
    ::close(fd);
    return pattern;
}

bool delete_file(const std::string& path) {
    const bool gone = ::unlink(path.c_str()) == 0 || errno == ENOENT;
    forget_temporary(path);
    return gone;
}

}  // namespace orvix
