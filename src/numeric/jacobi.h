// Eigenvalues and eigenvectors of a real symmetric 3 x 3 matrix by the cyclic Jacobi method
// with a threshold, in single precision.
#pragma once

#include "numeric/onebased.h"

namespace orvix {

// Diagonalises the symmetric matrix whose diagonal and upper triangle are in `a`.
// Only a[1][2], a[1][3], a[2][3] and the diagonal are read; the upper off-diagonal elements
// are zero on return, the diagonal and the lower triangle are left as they were.
// On return d[k] is an eigenvalue (unsorted) and column k of v its unit eigenvector; v is a
// product of rotations. `rotations` receives the number of rotations applied.
// Storage failure, or no convergence within 50 sweeps, goes to numeric_error.
void jacobi(matrix& a, vector& d, matrix& v, int& rotations);
void jacobi(matrix_view& a, vector& d, matrix& v, int& rotations);

}  // namespace orvix
