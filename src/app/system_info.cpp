// Free memory and file handles from the Linux /proc files and the resource limits.
#include "app/system_info.h"

#include <sys/resource.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "actions/messages.h"
#include "platform/c_format.h"

namespace orvix {

std::optional<std::uint64_t> parse_available_memory(std::string_view meminfo) {
    constexpr std::string_view key = "MemAvailable:";
    std::size_t at = 0;
    while (at < meminfo.size()) {
        std::size_t end = meminfo.find('\n', at);
        if (end == std::string_view::npos) end = meminfo.size();
        std::string_view line = meminfo.substr(at, end - at);
        at = end + 1;
        if (line.substr(0, key.size()) != key) continue;
        line.remove_prefix(key.size());
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        std::uint64_t kilobytes = 0;
        auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), kilobytes);
        if (error != std::errc() || rest == line.data()) return std::nullopt;
        std::string_view unit(rest, static_cast<std::size_t>(line.data() + line.size() - rest));
        while (!unit.empty() && unit.front() == ' ') unit.remove_prefix(1);
        while (!unit.empty() && (unit.back() == ' ' || unit.back() == '\r')) unit.remove_suffix(1);
        if (unit != "kB") return std::nullopt;
        if (kilobytes > UINT64_MAX / 1024) return std::nullopt;
        return kilobytes * 1024;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> available_memory() {
    std::ifstream in("/proc/meminfo", std::ios::binary);
    if (!in) return std::nullopt;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parse_available_memory(text);
}

std::optional<handle_count> free_file_handles() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::nullopt;
    std::error_code error;
    std::uint64_t open = 0;
    for (std::filesystem::directory_iterator entry("/proc/self/fd", error), end;
         !error && entry != end; entry.increment(error))
        ++open;
    if (error) return std::nullopt;
    // The listing itself held one handle open while it counted.
    if (open > 0) --open;
    const std::uint64_t total = limit.rlim_cur;
    return handle_count{open < total ? total - open : 0, total};
}

std::string memory_text(std::optional<std::uint64_t> bytes) {
    if (!bytes) return "n/a";
    return c_format("%llu MB", static_cast<unsigned long long>(*bytes / (1024 * 1024)));
}

std::string handles_text(std::optional<handle_count> handles) {
    if (!handles) return "n/a";
    return c_format("%llu of %llu file handles", static_cast<unsigned long long>(handles->free),
                    static_cast<unsigned long long>(handles->total));
}

about_record make_about_record() {
    about_record record;
    record.program = std::string(msg::program_name);
    record.description = "Solid-state NMR and crystallography";
    record.version = ORVIX_VERSION;
    record.build_date = std::string(msg::build_date);
    record.free_memory = memory_text(available_memory());
    record.free_resources = handles_text(free_file_handles());
    return record;
}

}  // namespace orvix
