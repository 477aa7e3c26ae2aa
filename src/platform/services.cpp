// The file-dialog record shared by every file dialog of the program, and the defaults of the
// result-file calls.
#include "platform/services.h"

namespace orvix {

void reset_file_dialog_record(file_dialog_record& record) {
    // The descriptions keep their runs of three and five blanks: they line up the patterns.
    record.filters = {
        {"Crystal Files (*.CRY)", "*.cry"},
        {"Alchemy Mol   (*.MOL)", "*.mol"},
        {"ASCII Files   (*.DAT)", "*.dat"},
        {"All Files     (*.*)", "*.*"},
    };
    record.filter_index = 0;
    record.initial_dir.clear();
    record.title.clear();
    record.default_extension = "cry";
}

std::optional<exclusive_file> services::open_result_stream(const std::string&, int& error) {
    error = 0;
    return std::nullopt;
}

void services::result_not_created(const std::string&, int) {}

answer services::ask(question, std::string_view text, std::string_view caption, message_icon icon,
                     message_buttons buttons) {
    return message(text, caption, icon, buttons);
}

}  // namespace orvix
