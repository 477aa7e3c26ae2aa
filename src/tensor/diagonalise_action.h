// The two Diagonalise commands of the NMR menu: read a tensor, symmetrise it, find its
// principal components and axes, order them and write the tensor report.
#pragma once

#include "actions/action_protocol.h"

namespace orvix {

// "Diagonalise (d11 > d22 > d33)" and "Diagonalise (s11 < s22 < s33)", and the modes the
// dispatcher hands the action for them.
inline constexpr int diagonalise_descending_mode = 4;
inline constexpr int diagonalise_ascending_mode = 5;

// Reads nine numbers from the action input (copying its comment lines), and writes the
// tensor report into a result file chosen in the save dialog. Fewer than nine numbers leave
// the result with the copied comment lines alone and still complete; an element that is not
// a finite number shows "Wrong data format!" before anything is computed.
action_result diagonalise_tensor(action_context& ctx);

}  // namespace orvix
