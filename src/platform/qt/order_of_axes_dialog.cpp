// The order of axes dialog (not built yet: answers Cancel).
#include "platform/qt/dialogs.h"

namespace orvix {

dialog_result run_order_of_axes_dialog(QWidget*, services&, axis_order&) {
    return dialog_result::cancel;
}

}  // namespace orvix
