// The symmetry operations dialog (not built yet: answers Cancel).
#include "platform/qt/dialogs.h"

namespace orvix {

dialog_result run_symmetry_operations_dialog(QWidget*, services&, symmetry_operation&) {
    return dialog_result::cancel;
}

}  // namespace orvix
