// Text held in memory as an open file, for readers that take an exclusive_file: the fuzz
// targets feed them bytes this way without a file on disk.
#pragma once

#include <optional>
#include <string_view>

#include "platform/files.h"

namespace orvix {

// A file in memory (no name in any directory, gone once closed) holding a copy of `text`,
// open for reading and writing at its start. Nothing when the system cannot make one;
// `error` then receives the errno value.
std::optional<exclusive_file> exclusive_file_from_text(std::string_view text, int* error = nullptr);

}  // namespace orvix
