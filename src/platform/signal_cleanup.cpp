// The table of temporary files and the signal handlers that delete them.
#include "platform/signal_cleanup.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace orvix {

namespace {

// A slot is free, being filled, or holds a name. The handler reads only slots that hold a
// name, through a lock-free atomic, so it never sees half a name.
enum slot_state : int { free_slot, filling, holding };

struct slot {
    std::atomic<int> state{free_slot};
    char path[4096] = {};
};

static_assert(std::atomic<int>::is_always_lock_free);

std::array<slot, 8> table;

void on_fatal_signal(int signal_number) {
    const int saved = errno;
    unlink_remembered_temporaries();
    errno = saved;
    // Blocked while this handler runs, the signal arrives again once it returns and now
    // takes its default action: the exit status tells the caller which signal it was.
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

}  // namespace

void remember_temporary(const std::string& path) noexcept {
    for (slot& s : table) {
        if (path.size() >= sizeof s.path) return;
        int expected = free_slot;
        if (!s.state.compare_exchange_strong(expected, filling)) continue;
        std::memcpy(s.path, path.c_str(), path.size() + 1);
        s.state.store(holding, std::memory_order_release);
        return;
    }
}

void forget_temporary(const std::string& path) noexcept {
    for (slot& s : table)
        if (s.state.load(std::memory_order_acquire) == holding && path == s.path)
            s.state.store(free_slot, std::memory_order_release);
}

void unlink_remembered_temporaries() noexcept {
    for (slot& s : table)
        if (s.state.load(std::memory_order_acquire) == holding) ::unlink(s.path);
}

void clean_up_temporaries_on_signals() {
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction current {};
        if (::sigaction(signal_number, nullptr, &current) != 0) continue;
        if (current.sa_handler == SIG_IGN) continue;
        struct sigaction cleanup {};
        cleanup.sa_handler = on_fatal_signal;
        sigemptyset(&cleanup.sa_mask);
        ::sigaction(signal_number, &cleanup, nullptr);
    }
}

}  // namespace orvix
