// Files opened without sharing, the line reader and temporary copies.
// A file is "not shared" in two ways: this process refuses a second open of the same file
// (same device and inode), and an advisory lock keeps other processes that honour it out.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/errors.h"

namespace orvix {

// An open file held without sharing. Move-only; closes (and releases its claim) when
// destroyed.
class exclusive_file {
  public:
    enum class access { read, read_write };

    // Opens an existing file. Nothing when it does not exist, cannot be opened with that
    // access, or is already held by this process or locked by another. `error`, when given,
    // receives the reason as an errno value (EBUSY for a file held or locked).
    static std::optional<exclusive_file> open_existing(const std::string& path, access mode,
                                                       int* error = nullptr);

    // Creates the file for writing, or truncates an existing one; the claim is taken before
    // the truncation, so a file that is held open elsewhere is never emptied. `error` as for
    // open_existing.
    static std::optional<exclusive_file> create(const std::string& path, int* error = nullptr);

    // Writes to an open descriptor (standard output) through a copy of it, named `name` in
    // messages: nothing is truncated and writing goes on at the descriptor's position. A
    // regular file is claimed like any other, so that it can never be read as an action's
    // input while it receives the result; other kinds (pipes, terminals) are not claimed.
    static std::optional<exclusive_file> adopt(int fd, std::string name, int* error = nullptr);

    exclusive_file(exclusive_file&& other) noexcept;
    exclusive_file& operator=(exclusive_file&& other) noexcept;
    exclusive_file(const exclusive_file&) = delete;
    exclusive_file& operator=(const exclusive_file&) = delete;
    ~exclusive_file();

    const std::string& path() const { return path_; }

    // Reading. The position is shared by reads and writes, as for a C stream; bytes the
    // line reader has read ahead do not count as read.
    bool rewind();
    bool seek_end();
    std::int64_t tell();
    bool seek(std::int64_t position);

    // Appends bytes; throws write_failure when not every byte could be written.
    void write(std::string_view bytes);

    // Flushes and closes. Throws write_failure when buffered bytes could not be written.
    void close();

    // The next line, see read_text_line. Throws read_failure when the file cannot be read.
    bool read_line(std::string& line);

    // The underlying stream, positioned where the line reader stands.
    std::FILE* stream();

  private:
    exclusive_file(std::FILE* stream, std::string path, std::uint64_t device, std::uint64_t inode,
                   bool claimed = true);
    void release() noexcept;
    bool fill_read_ahead();
    void give_back_read_ahead();

    std::FILE* stream_ = nullptr;
    std::string path_;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    bool claimed_ = true;  // the device and inode are in this process's registry
    bool writing_ = false;
    // The line reader's own buffer: it looks for either line end itself, which a read up to
    // one delimiter cannot do. The stream stands at read_end_, the reader at read_begin_;
    // lf_end_ is one past the block's next LF (read_end_ + 1 without one), 0 when unknown.
    std::unique_ptr<char[]> read_ahead_;
    std::size_t read_begin_ = 0;
    std::size_t read_end_ = 0;
    std::size_t lf_end_ = 0;
};

// Reads the next line from the file's position into `line`, whole whatever its length.
// A line ends at CR LF, at LF alone or at CR alone (old Macintosh files). Its line end is
// kept and always given as CR LF, as is a last line without any line end, so that copied
// lines never run into each other. False at the end of the file. A file that cannot be
// read throws read_failure, and a line too long for memory std::bad_alloc: neither is
// taken for the end of the file.
bool read_text_line(std::string& line, exclusive_file& file);

// The file's length in bytes, or -1 when it cannot be told.
std::int64_t file_length_in_bytes(exclusive_file& file);

// A new empty file with a unique name beginning with "orv" in the temporary directory.
// Nothing when no such file could be made. Until delete_file removes it, the file is among
// those a fatal signal deletes (platform/signal_cleanup.h).
std::optional<std::string> make_temporary_file();

// The system's temporary directory, or nothing when it cannot be told.
std::optional<std::string> temporary_directory();

// Deletes a file; true when it is gone.
bool delete_file(const std::string& path);

}  // namespace orvix
