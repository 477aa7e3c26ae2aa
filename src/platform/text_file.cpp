// Text held in memory as an open file.
#include "platform/text_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace orvix {

std::optional<exclusive_file> exclusive_file_from_text(std::string_view text, int* error) {
    const int fd = ::memfd_create("orvix-text", MFD_CLOEXEC);
    if (fd < 0) {
        if (error != nullptr) *error = errno;
        return std::nullopt;
    }
    int reason = 0;
    for (std::size_t done = 0; done < text.size() && reason == 0;) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n == 0)
            reason = EIO;  // never for memory, but a loop that cannot end would be worse
        else if (errno != EINTR)
            reason = errno;
    }
    std::optional<exclusive_file> file;
    // Reopened through its /proc name rather than adopted: exclusive_file::adopt makes a
    // stream for writing only, and the readers need to read. The new descriptor has its own
    // position, at the start, and keeps the memory alive once `fd` is closed.
    if (reason == 0)
        file = exclusive_file::open_existing("/proc/self/fd/" + std::to_string(fd),
                                             exclusive_file::access::read_write, &reason);
    ::close(fd);
    if (!file && error != nullptr) *error = reason;
    return file;
}

}  // namespace orvix
