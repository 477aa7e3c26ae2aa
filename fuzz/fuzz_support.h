// What the libFuzzer targets share: the input as text, files in memory (nothing on disk),
// reading a file back, and the line ends the line reader gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_file.h"

namespace orvix::fuzz {

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A broken property is a crash, so that libFuzzer keeps the input that shows it.
inline void require(bool property, const char* what) {
    if (property) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

inline exclusive_file memory_file(std::string_view text) {
    auto file = exclusive_file_from_text(text);
    require(file.has_value(), "a file in memory can be made");
    return std::move(*file);
}

// The whole file, from its start.
inline std::string contents(exclusive_file& file) {
    require(file.rewind(), "rewind");
    std::string bytes;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.stream())) > 0) bytes.append(buffer, n);
    return bytes;
}

// The lines of a text as the line reader returns them: each ending in CR LF, whether it
// ended in CR LF, a bare LF or nothing.
inline std::vector<std::string> crlf_lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string line(text.substr(0, end == std::string_view::npos ? text.size() : end));
        if (end == std::string_view::npos || line.empty() || line.back() != '\r') line += '\r';
        line += '\n';
        lines.push_back(std::move(line));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

}  // namespace orvix::fuzz
