// The actions of the axis-system menus: Calculate Euler angles, the Euler rotations
// forwards and backwards. Each runs the action protocol and talks to the user through the services.
#pragma once

#include "app/action_protocol.h"

namespace orvix {

inline constexpr int calculate_euler_command = 121;
inline constexpr int euler_backwards_command = 122;
inline constexpr int euler_forwards_command = 123;

// Modes of the Euler rotations.
inline constexpr int euler_mode_backwards = 0;
inline constexpr int euler_mode_forwards = 1;

// Reads three axis lines (direction cosines of the new x, y, z), checks them, and shows the
// Euler angles that carry the reference frame into them; the angles also go on the
// clipboard as "%.10f  %.10f  %.10f". No result file.
action_result calculate_euler_angles(action_context& ctx);

// Turns every atom position through the Euler angles of the Euler Rotations dialog: mode 1
// forwards (reference frame into the new frame), mode 0 backwards.
action_result euler_rotations(action_context& ctx);

}  // namespace orvix
