// The dipolar dialog (not built yet: answers Cancel).
#include "platform/qt/dialogs.h"

namespace orvix {

dialog_result run_dipolar_dialog(QWidget*, services&, dipolar_parameters&) {
    return dialog_result::cancel;
}

}  // namespace orvix
