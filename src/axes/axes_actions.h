// The actions of the axis-system menus: Calculate Euler angles, the Euler rotations
// forwards and backwards, Orthogonalize axes and coordinates, Calculate normal and Polar
// angles. Each runs the action protocol and talks to the user through the services.
#pragma once

#include <string>

#include "actions/action_protocol.h"
#include "platform/dialog_records.h"

namespace orvix {

// The clipboard text of Calculate Euler angles: "%.10f  %.10f  %.10f".
std::string euler_clipboard_text(const euler_angles& angles);

// Modes of the Euler rotations.
inline constexpr int euler_mode_backwards = 0;
inline constexpr int euler_mode_forwards = 1;

// Mode of Calculate normal and Polar angles under orvix-cli: their silent end on a missing
// or non-Cartesian cell line is reported as an error message, because on the command line
// an empty result with no word of explanation would pass for a success. The desktop
// program runs them with mode 0, silently.
inline constexpr int explain_silent_end = 1;

// Reads three axis lines (direction cosines of the new x, y, z), checks them, and shows the
// Euler angles that carry the reference frame into them; the angles also go on the
// clipboard as "%.10f  %.10f  %.10f". No result file.
action_result calculate_euler_angles(action_context& ctx);

// Turns every atom position through the Euler angles of the Euler Rotations dialog: mode 1
// forwards (reference frame into the new frame), mode 0 backwards.
action_result euler_rotations(action_context& ctx);

// Replaces three measured axis directions by an orthonormal right-handed set.
action_result orthogonalize_axes_action(action_context& ctx);

// Turns fractional coordinates and their unit cell into Cartesian coordinates.
action_result orthogonalize_coordinates_action(action_context& ctx);

// The normal of the plane through the first three atoms of Cartesian data.
action_result calculate_normal(action_context& ctx);

// Every atom of Cartesian data in spherical polar coordinates (phi, theta, r).
action_result polar_angles(action_context& ctx);

}  // namespace orvix
