// A crystal structure brought in from another program's file (a CIF or a .magres file), as
// the importer hands it to the writer of crystal data text.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "structure/cell.h"

namespace orvix {

struct structure_atom {
    std::string label;
    vec3d fractional{};
};

// A second-rank tensor of one atom, nine numbers row by row.
struct structure_tensor {
    std::string label;
    std::array<double, 9> value{};
};

struct crystal_structure {
    cell_parameters cell;
    std::string block;        // the CIF data block read; empty for .magres
    std::string space_group;  // as the comment line names it
    std::vector<structure_atom> atoms;
    bool asymmetric_unit = false;   // the atoms are the sites as listed, not expanded
    std::size_t site_count = 0;     // sites listed in the file
    std::size_t partial_sites = 0;  // of them, sites with an occupancy below 1
    // The tensors asked for (.magres only), in the Cartesian frame of Orthogonalize >
    // Coordinates, in the file's units (ppm for ms, atomic units for efg).
    std::vector<structure_tensor> tensors;
};

// Wraps a fractional coordinate into [0, 1). A value that would be written as 1.000000 (a
// rounding step below 1) becomes 0, so that no atom is written at the far face of the cell.
double wrap_fractional(double value);

}  // namespace orvix
