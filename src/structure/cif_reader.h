// Reads a crystal structure from CIF text (through gemmi's CIF parser): the cell, the
// symmetry operations (their loop, else the Hall symbol, else the Hermann-Mauguin name, else
// the space-group number) and the atom sites, each expanded into the whole cell.
#pragma once

#include <string>
#include <string_view>

#include "structure/structure.h"

namespace orvix {

struct cif_request {
    std::string block;             // the data block to read; empty: the first with atoms
    bool asymmetric_unit = false;  // the sites as listed, neither expanded nor wrapped
};

// Copies of one site closer than this (Angstrom) are one atom: far below any bond, even
// one to hydrogen, and far above the rounding of coordinates given to 4 or 5 decimals.
inline constexpr double coincidence_distance = 0.01;

// Reads the structure; false with `error` naming `source_name` and, where there is one, the
// line ("x.cif:12: ...").
bool read_cif(std::string_view text, const std::string& source_name, const cif_request& request,
              crystal_structure& out, std::string& error);

}  // namespace orvix
