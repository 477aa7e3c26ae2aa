// C-style formatting under a fixed "C" locale, switched per thread only for the call.
#include "platform/c_format.h"

#include <locale.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>

namespace orvix {

namespace {

locale_t c_locale() {
    static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

void append_formatted(std::string& out, const char* format, va_list args) {
    const locale_t previous = ::uselocale(c_locale());
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof small) {
        out.append(small, static_cast<std::size_t>(length));
    } else if (length >= 0) {
        const std::size_t start = out.size();
        out.resize(start + static_cast<std::size_t>(length) + 1);
        std::vsnprintf(out.data() + start, static_cast<std::size_t>(length) + 1, format, args);
        out.resize(start + static_cast<std::size_t>(length));
    }
    ::uselocale(previous);
}

}  // namespace

std::string c_format(const char* format, ...) {
    std::string out;
    va_list args;
    va_start(args, format);
    append_formatted(out, format, args);
    va_end(args);
    return out;
}

void c_format_append(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    append_formatted(out, format, args);
    va_end(args);
}

}  // namespace orvix
