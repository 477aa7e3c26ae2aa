// The file-dialog record shared by every file dialog of the program.
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

}  // namespace orvix
