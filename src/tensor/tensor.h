// Second-rank tensors: reading nine elements from crystal data text, symmetrising them,
// ordering the principal components with their axes and making the axes a right-handed set.
// All tensor work is single precision.
#pragma once

#include <array>
#include <string_view>

#include "numeric/onebased.h"
#include "platform/files.h"

namespace orvix {

// A 3 x 3 tensor as a flat row-major array: element (i, j), counted from 1, is at position
// 3(i - 1) + (j - 1). The first three numbers read are the X row.
using tensor9 = std::array<float, 9>;

// The order of the principal components: d11 >= d22 >= d33, or s11 <= s22 <= s33.
enum class sort_order { descending, ascending };

// The numbers gathered so far while reading a tensor.
struct tensor_numbers {
    tensor9 values{};
    int count = 0;
};

// Takes the numbers of one line that is neither a comment line nor a cell line: the line is
// split into tokens at " ,;()" (a tab does not separate), a token that begins with a number
// gives that number ("%f" rules: leading white space skipped, the rest of the token
// ignored), any other token gives nothing. Stops at the ninth number and ignores the rest of
// the line. True once nine numbers are held.
bool take_tensor_numbers(std::string_view line, tensor_numbers& numbers);

// Reads the first nine numbers of the input that stand outside comment lines and cell
// lines, row by row, however they are spread over lines. Comment lines met on the way are
// written to `out` as read. On true the input stands just after the line that held the
// ninth number; false at the end of the input (the values are then of no use).
bool read_tensor(exclusive_file& input, exclusive_file& out, tensor9& values);

// True when all nine elements are finite numbers; infinities and NaNs (from "inf", "nan" or
// a number beyond single precision such as 1e39) would keep the eigen-solver from ever
// converging.
bool tensor_is_finite(const tensor9& values);

// Replaces each off-diagonal pair (i, j), (j, i) by its mean, for the pairs (1, 2), (1, 3),
// (2, 3); the antisymmetric part is dropped. The diagonal is left as it is.
void symmetrize_tensor(tensor9& m);

// Orders d and the columns of v together by a selection of pairwise exchanges. Equal
// values are never exchanged, so equal components keep the order the eigen-solver gave.
void sort_principal_axes(vector& d, matrix& v, sort_order order);

// Normalises the three columns of v and, when they are orthogonal to within 2 degrees,
// negates the third where needed so that axis1 x axis2 points along axis3. Columns that fail
// the orthogonality check (a zero column among them) leave v exactly as it was.
void make_right_handed(matrix& v);

// The principal components d and axes v (column k belongs to d[k]) of a symmetrised
// tensor: the eigen-solver on a scratch copy, then the sort and the right-handed step.
// A solver that does not converge ends the action through numeric_error.
void principal_axes(const tensor9& symmetrized, sort_order order, vector& d, matrix& v);

// The angle between a and b in degrees, 0 to 180, worked in double precision; a cosine
// pushed past +-1 by rounding counts as +-1. NaN when either vector has zero length.
double vector_angle(const vector& a, const vector& b);

}  // namespace orvix
