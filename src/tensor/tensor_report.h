// The tensor report: the result file of the two Diagonalise commands. It is itself crystal
// data, a Cartesian cell of edge 1, an origin and the three principal axes as atom lines
// T11, T22, T33, with everything else (the tensor as read, the symmetrised tensor, the
// principal components beside their axes) carried in comment lines.
#pragma once

#include "numeric/onebased.h"
#include "platform/files.h"
#include "tensor/tensor.h"

namespace orvix {

// The crystal data block: the cell line "1.0 1.0 1.0 90.0 90.0 90.0", the origin line and
// one atom line per principal axis k, labelled Tkk, from column k of the axis matrix.
void write_tensor_frame(exclusive_file& out, const matrix& axes);

// The tensor as read, under an empty line, its header and a column header.
void write_starting_matrix(exclusive_file& out, const tensor9& tensor);

// The symmetrised tensor under its header.
void write_symmetrized_tensor(exclusive_file& out, const tensor9& tensor);

// Each principal component d[k] beside the direction cosines of its axis (column k).
void write_principal_components(exclusive_file& out, const matrix& axes, const vector& d);

}  // namespace orvix
