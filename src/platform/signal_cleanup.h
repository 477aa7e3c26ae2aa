// Temporary files that an interrupted run must not leave behind: a fixed table of their
// names that a signal handler can read, and the handlers that delete them.
#pragma once

#include <string>

namespace orvix {

// Adds a temporary file to the table, or removes it. Best effort: a name that does not fit
// or a full table goes unrecorded (the table holds more names than the program ever keeps
// at once).
void remember_temporary(const std::string& path) noexcept;
void forget_temporary(const std::string& path) noexcept;

// Deletes every file in the table. Async-signal-safe.
void unlink_remembered_temporaries() noexcept;

// Makes SIGINT, SIGTERM, SIGHUP and SIGPIPE delete the remembered temporaries before they
// end the process as they would have (default action, same signal). A signal that is
// ignored on entry (nohup) stays ignored.
void clean_up_temporaries_on_signals();

}  // namespace orvix
