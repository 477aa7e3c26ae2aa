// The generate block dialog (not built yet: answers Cancel).
#include "platform/qt/dialogs.h"

namespace orvix {

dialog_result run_generate_block_dialog(QWidget*, services&, block_record&) {
    return dialog_result::cancel;
}

}  // namespace orvix
