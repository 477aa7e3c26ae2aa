// Import of a structure from a CIF or .magres file into crystal data text: the cell line, a
// comment line naming the source, its space group and the number of atoms, then one atom
// line per atom (fractional, or Cartesian in the frame of Orthogonalize > Coordinates), or
// one tensor line per atom with --tensors. The desktop program's File > Import Structure...
// and `orvix-cli import` both call import_structure.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "structure/magres_reader.h"

namespace orvix {

enum class structure_format { automatic, cif, magres };

struct import_options {
    structure_format format = structure_format::automatic;
    bool asymmetric_unit = false;  // CIF: the sites as listed
    bool cartesian = false;        // Cartesian cell line and Cartesian Angstrom coordinates
    magres_tensors tensors = magres_tensors::none;  // .magres: tensor lines instead of atom lines
    std::string block;  // CIF: the data block; empty for the first with atoms
};

struct import_result {
    bool ok = false;
    std::string text;     // crystal data, CR LF line ends
    std::string error;    // when not ok: names the file and, where there is one, the line
    std::string warning;  // partial occupancy, or empty
    std::size_t atom_count = 0;
};

// The format the text is in, judged from its content: a .magres first line, or a CIF data
// block; nothing when it is neither.
std::optional<structure_format> detect_format(std::string_view text);

// Turns the bytes of a structure file into crystal data text. `source_name` names the file
// in messages; the comment line names it without its folders. Never throws.
import_result import_structure(std::string_view bytes, const std::string& source_name,
                               const import_options& options);

// The whole file, read through a file held without sharing; nothing when it cannot be read.
std::optional<std::string> read_whole_file(exclusive_file& file);

}  // namespace orvix
