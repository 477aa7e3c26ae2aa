// The axis inversion dialog (not built yet: answers Cancel).
#include "platform/qt/dialogs.h"

namespace orvix {

dialog_result run_axis_inversion_dialog(QWidget*, services&, int&) {
    return dialog_result::cancel;
}

}  // namespace orvix
