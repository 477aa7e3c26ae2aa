// Generate > Cluster around an Atom: the atoms within a radius of one labelled atom, over
// every periodic image of the cell, in Cartesian Angstrom with that atom first: the input
// the dipolar second moment wants.
#pragma once

#include "app/action_protocol.h"

namespace orvix {

inline constexpr int generate_cluster_command = 129;

action_result generate_cluster(action_context& ctx);

}  // namespace orvix
