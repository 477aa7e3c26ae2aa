// The euler angles dialog (not built yet: answers Cancel).
#include "platform/qt/dialogs.h"

namespace orvix {

dialog_result run_euler_angles_dialog(QWidget*, services&, const euler_angles&) {
    return dialog_result::cancel;
}

}  // namespace orvix
