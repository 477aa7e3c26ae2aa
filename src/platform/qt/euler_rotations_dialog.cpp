// The euler rotations dialog (not built yet: answers Cancel).
#include "platform/qt/dialogs.h"

namespace orvix {

dialog_result run_euler_rotations_dialog(QWidget*, services&, euler_angles&) {
    return dialog_result::cancel;
}

}  // namespace orvix
