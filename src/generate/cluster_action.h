// Generate > Cluster around an Atom: the atoms within a radius of one labelled atom, over
// every periodic image of the cell, in Cartesian Angstrom with that atom first: the input
// the dipolar second moment wants.
#pragma once

#include "actions/action_protocol.h"

namespace orvix {

action_result generate_cluster(action_context& ctx);

}  // namespace orvix
