// Reads a crystal structure from a .magres file (the plain-text output of GIPAW codes:
// CASTEP, Quantum ESPRESSO, VASP's NMRCAR.magres): the lattice, every atom, and on request
// the magnetic shielding (ms) or electric field gradient (efg) tensors.
//
// The format: a first line "#$magres-abinitio-v1.0", then blocks "[name]" ... "[/name]" of
// records, one per line, split at blanks or tabs, '#' starting a comment. [atoms] holds
// "units", "lattice" (three vectors in Angstrom as rows), "symmetry" and
// "atom SPECIES LABEL INDEX x y z" (Cartesian Angstrom); [magres] holds "ms LABEL INDEX" and
// "efg LABEL INDEX" each with nine numbers row by row. Other records and blocks are passed
// over. (Described by ASE's ase/io/magres.py and the magres-format project.)
#pragma once

#include <string>
#include <string_view>

#include "structure/structure.h"

namespace orvix {

enum class magres_tensors { none, ms, efg };

// True when the text's first line marks a .magres file.
bool is_magres_text(std::string_view text);

// Reads the structure and, unless `tensors` is none, the tensors of that kind; false with
// `error` naming `source_name` and, where there is one, the line ("x.magres:12: ...").
bool read_magres(std::string_view text, const std::string& source_name, magres_tensors tensors,
                 crystal_structure& out, std::string& error);

// The atom's label in crystal data: LABEL then INDEX, with '_' between when LABEL ends in a
// digit ("H" and 2 give "H2", "H1" and 2 give "H1_2").
std::string magres_label(std::string_view label, long index);

}  // namespace orvix
