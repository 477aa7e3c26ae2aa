// The axis checks as the actions run them: each finding is told to the user, and the user
// decides whether to normalise rows or which axis to invert. Each answers whether the
// calling action may go on.
#pragma once

#include "axes/axis_checks.h"
#include "platform/services.h"

namespace orvix {

// normalize_vector, with the NULL-vector message when it fails.
bool normalize_or_tell(services& ui, vec3& v);

// Refuses direction cosines that are not finite numbers ("Wrong data format!"); asks before
// normalising rows whose length differs from 1 by more than 0.001 (Cancel leaves the rows
// unchanged); then normalises all three rows.
bool check_unit_vectors(services& ui, axis_system& axes);

// Names the first pair of axes that is not at a right angle (a question box, but either
// answer ends the action: the data must be fixed).
bool check_orthogonality(services& ui, const axis_system& axes);

// A left-handed system goes through the Axis Inversion dialog, Z proposed every time; the
// axis chosen is negated. False on Cancel.
bool check_handedness(services& ui, axis_system& axes);

// The three checks in the order every caller needs them, stopping at the first failure.
bool check_axis_system(services& ui, axis_system& axes);

}  // namespace orvix
