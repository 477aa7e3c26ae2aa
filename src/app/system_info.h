// What the About box tells of the machine: free memory and free resources, as far as the
// system can tell them. "Resources" here are the file handles the process may still open,
// the limit that an action holding its input, result and temporary copy runs into first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvix {

// MemAvailable of a /proc/meminfo text, in bytes; nothing when the line is missing or bad.
std::optional<std::uint64_t> parse_available_memory(std::string_view meminfo);

// Memory available to new work, in bytes, or nothing where the system does not tell.
std::optional<std::uint64_t> available_memory();

struct handle_count {
    std::uint64_t free = 0;
    std::uint64_t total = 0;
};

// File handles this process may still open, of its limit.
std::optional<handle_count> free_file_handles();

// "12345 MB" (rounded down), or "n/a".
std::string memory_text(std::optional<std::uint64_t> bytes);
// "1019 of 1024 file handles", or "n/a".
std::string handles_text(std::optional<handle_count> handles);

// Everything the About box shows, filled in when it opens.
struct about_record {
    std::string program;      // the program's name
    std::string description;  // what it is for
    std::string version;      // the program's version
    std::string build_date;   // the build date text of the message table
    std::string platform;     // the toolkit and system it runs on
    std::string free_memory;
    std::string free_resources;
};

// The record without the platform line (the desktop program adds its toolkit's version).
about_record make_about_record();

}  // namespace orvix
