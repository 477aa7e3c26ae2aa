// C-style formatting that never depends on the user's locale: the formats are those of the
// C library, always with the "C" numeric conventions (a decimal point, never a comma).
#pragma once

#include <string>

namespace orvix {

// Formats like snprintf under the "C" locale, whatever locale the process runs in.
std::string c_format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends the formatted text to `out`.
void c_format_append(std::string& out, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

}  // namespace orvix
