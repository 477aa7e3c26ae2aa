// The writers of the tensor report. Every line ends in CR LF through write_line; numbers are
// single-precision values widened to double for formatting, and a number too wide for its
// field widens the line rather than being cut.
#include "tensor/tensor_report.h"

#include "crystal/records.h"
#include "platform/c_format.h"

namespace orvix {

namespace {

double element(const tensor9& tensor, int row, int column) {
    return static_cast<double>(tensor[static_cast<std::size_t>(3 * row + column)]);
}

}  // namespace

void write_tensor_frame(exclusive_file& out, const matrix& axes) {
    // A Cartesian cell of edge 1, so that the axes below read as Cartesian unit vectors in
    // every action that takes crystal data.
    write_line(out, "1.0 1.0 1.0 90.0 90.0 90.0");
    write_line(out, "OR 0.0  0.0  0.0");
    for (int k = 1; k <= 3; ++k)
        write_line(
            out, c_format("T%1d%1d  %14.6f  %14.6f  %14.6f", k, k, static_cast<double>(axes[1][k]),
                          static_cast<double>(axes[2][k]), static_cast<double>(axes[3][k])));
}

void write_starting_matrix(exclusive_file& out, const tensor9& tensor) {
    // The header carries its own leading line end: the empty line that opens this block is
    // the only one in the report.
    write_line(out, "\r\n/* --- Starting Matrix ---  */");
    write_line(out, "/*          X              Y              Z        */");
    static constexpr char row_names[] = {'X', 'Y', 'Z'};
    for (int row = 0; row < 3; ++row)
        write_line(out, c_format("/* %c: %12.4f   %12.4f   %12.4f   */", row_names[row],
                                 element(tensor, row, 0), element(tensor, row, 1),
                                 element(tensor, row, 2)));
}

void write_symmetrized_tensor(exclusive_file& out, const tensor9& tensor) {
    write_line(out, "/* --- Symmetrized tensor in reference frame ---  */");
    for (int row = 0; row < 3; ++row)
        write_line(out, c_format("/* %12.4f   %12.4f   %12.4f   */", element(tensor, row, 0),
                                 element(tensor, row, 1), element(tensor, row, 2)));
}

void write_principal_components(exclusive_file& out, const matrix& axes, const vector& d) {
    write_line(out, "/* --- Tensor principal components and direction cosines ---  */");
    write_line(out, "/*     (in reference frame:)                                  */");
    write_line(out, "/*       T(ii)           x               y               z    */");
    for (int k = 1; k <= 3; ++k)
        write_line(out, c_format("/*  %14.6f  %14.6f  %14.6f  %14.6f  */",
                                 static_cast<double>(d[k]), static_cast<double>(axes[1][k]),
                                 static_cast<double>(axes[2][k]), static_cast<double>(axes[3][k])));
}

}  // namespace orvix
