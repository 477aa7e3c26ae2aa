// orvix-cli's answers to the services interface.
#include "cli/cli_services.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/messages.h"

namespace orvix {

namespace {

// Appends the text with each line break (the error report joins two messages with one) as a
// single blank, so that one message stays one line for whoever reads standard error.
void append_on_one_line(std::string& line, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            line.push_back(' ');
        } else {
            line.push_back(text[i]);
        }
    }
}

}  // namespace

void print_cli_message(std::string_view text, std::string_view caption) {
    std::string line = "orvix-cli: ";
    append_on_one_line(line, text);
    if (!caption.empty() && caption != msg::program_name) {
        line.append(" (");
        append_on_one_line(line, caption);
        line.append(")");
    }
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
}

answer cli_services::message(std::string_view text, std::string_view caption, message_icon icon,
                             message_buttons buttons) {
    messages.push_back({std::string(text), std::string(caption), icon, buttons});
    // Every message the desktop program would show goes to standard error, answered
    // questions too, so that a log tells what was decided on the user's behalf.
    print_cli_message(text, caption);
    if (buttons != message_buttons::ok) {
        auto found = answers_by_text.find(text);
        if (found != answers_by_text.end()) return found->second;
        for (const auto& [prefix, given] : answers_by_prefix)
            if (text.substr(0, prefix.size()) == prefix) return given;
        error_shown = true;
        return answer::cancel;
    }
    if (icon == message_icon::error) error_shown = true;
    return answer::ok;
}

std::optional<exclusive_file> cli_services::open_result_stream(const std::string& path,
                                                               int& error) {
    error = 0;
    if (path != standard_output_name) return std::nullopt;
    return exclusive_file::adopt(STDOUT_FILENO, "standard output", &error);
}

void cli_services::result_not_created(const std::string& path, int error) {
    scripted_services::result_not_created(path, error);
    const std::string shown = path == standard_output_name ? "standard output" : path;
    print_cli_message(msg::error_creating_file, shown + ": " + std::strerror(error));
    error_shown = true;
}

void cli_services::set_clipboard_text(std::string_view text) {
    scripted_services::set_clipboard_text(text);
    if (on_clipboard_text) on_clipboard_text(text);
}

}  // namespace orvix
