// Crystal data line records: recognising cell, atom, origin and comment lines, reading them
// from an open file and writing them into a result file.
//
// A crystal data text is made of lines ending in CR LF: an optional first line of six
// positive cell constants (a, b, c, alpha, beta, gamma), atom lines "label x y z", and
// comment lines (first character '/' or second character '*'). Numbers are read as the C
// "%f" conversion reads them and held in single precision.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"

namespace orvix {

// One atom line as read: its label (a run of non-blank characters, kept whole whatever its
// length) and its coordinates in single precision.
struct atom_record {
    std::string label;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

bool is_comment_line(std::string_view line);

// True when the text begins with six numbers, all greater than zero.
bool is_cell_line(std::string_view text);

// True when the text begins with six numbers whose first equals 1 and fourth equals 90
// (exactly, in single precision); the others may be anything.
bool is_cartesian_cell(std::string_view text);

// True when the label, turned to upper case, reads "OR": an origin line.
bool is_origin_label(std::string_view label);

// Reads "%s %f %f %f" from the line: a label, then three numbers. False when the line does
// not start that way.
bool parse_atom_line(std::string_view line, atom_record& atom);

// True when all three coordinates are finite numbers. "nan", "inf" and numbers beyond
// single precision read as atom coordinates, but make no position to compute with.
bool is_finite_position(float x, float y, float z);

// The file's first line, line end included, when it is a cell line. The read position is
// the same afterwards as before.
bool read_cell_line(exclusive_file& file, std::string& out);

// The next atom line from the file's position. Comment lines met on the way are written
// unchanged to `result` when `copy` is set and a result file is given; cell lines and lines
// that are neither are skipped. False at the end of the file.
bool read_atom_line(exclusive_file& file, atom_record& atom, bool copy, exclusive_file* result);

// Writes the text followed by CR LF. A failed write throws write_failure.
void write_line(exclusive_file& file, std::string_view text);

// Writes "%-6s %12.6f %12.6f %12.6f" and CR LF; the coordinates are widened to double.
void write_atom_line(exclusive_file& file, std::string_view label, float x, float y, float z);

// Formats an atom line without its line end (the text write_atom_line writes).
std::string format_atom_line(std::string_view label, float x, float y, float z);

// Writes the Cartesian cell line " 1.000  1.000  1.000 90.000 90.000 90.000".
void write_cartesian_cell(exclusive_file& file);

// Writes a line returned by read_cell_line again, with a fresh CR LF.
void copy_cell_line(exclusive_file& file, std::string_view line);

// The line without its line end (CR LF, or a lone LF).
std::string_view strip_line_end(std::string_view line);

}  // namespace orvix
