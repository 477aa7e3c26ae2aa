// What the libFuzzer targets share: the input as text, files in memory (nothing on disk),
// reading a file back, and the line ends the line reader gives.
#pragma once

#include <algorithm>
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

// The lines of a text as the line reader returns them: a line ends at CR LF, at a lone CR
// or at a lone LF, and comes back ending in CR LF; so does a last line without a line end.
inline std::vector<std::string> crlf_lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        lines.push_back(std::string(text.substr(0, end)) + "\r\n");
        std::size_t next = end + 1;
        if (end < text.size() && text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        text.remove_prefix(std::min(next, text.size()));
    }
    return lines;
}

}  // namespace orvix::fuzz
