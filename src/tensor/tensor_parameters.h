// Tensor parameters in the conventions of the field: the principal frame of a symmetric
// tensor, the Haeberlen, IUPAC (Mehring) and Herzfeld-Berger parameters of a shielding or
// shift tensor, and the quadrupolar coupling and pure NQR lines of an EFG tensor. All of it
// is double precision, independent of the single-precision Diagonalise commands.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvix {

// What the nine numbers of a tensor line are.
enum class tensor_kind { shielding, shift, efg };

// A tensor line: a label and nine elements, row by row (t11 t12 t13 t21 ... t33).
struct labelled_tensor {
    std::string label;
    std::array<double, 9> elements{};
};

// Reads a tensor line: exactly a label and nine numbers, separated by blanks, tabs, commas,
// semicolons or parentheses. The label is the first item and is not itself a number; each
// number is a whole item ("inf" and "nan" count as numbers, to be refused later). Nothing
// for any other line. The line end, if any, is not part of the line.
std::optional<labelled_tensor> read_tensor_line(std::string_view line);

// Eigenvalues and unit eigenvectors of a real symmetric n x n matrix (row-major, only the
// upper triangle read) by the cyclic Jacobi method in double precision. vectors[k] belongs
// to values[k]; the order is the solver's. False when the matrix holds a non-finite number
// or the method does not settle.
struct symmetric_eigen {
    std::vector<double> values;
    std::vector<std::vector<double>> vectors;
};
bool jacobi_eigen(std::vector<double> matrix, int n, symmetric_eigen& result);

// The principal values of a 3 x 3 tensor, each with its unit principal axis in the frame
// the elements are given in.
struct principal_frame {
    std::array<double, 3> values{};
    std::array<std::array<double, 3>, 3> axes{};
};

// The symmetric part (T + T^T)/2 of the elements, diagonalised. Nothing when an element or
// a principal value is not finite.
std::optional<principal_frame> symmetric_principal_frame(const std::array<double, 9>& elements);

// The frame with its values and axes taken in the given order (a permutation of 0, 1, 2),
// the axes given canonical signs: on the first two, the first component above 1e-6 in
// magnitude is positive; the third is the cross product of the first two, so that the set
// is right-handed.
principal_frame reorder_frame(const principal_frame& frame, const std::array<int, 3>& order);

// Shielding (ppm) or chemical shift (ppm) parameters.
struct shift_parameters {
    principal_frame iupac;  // 11, 22, 33: ascending for shielding, descending for shift
    double iso = 0;
    double xx = 0, yy = 0, zz = 0;  // Haeberlen order
    double zeta = 0;                // zz - iso
    double delta_aniso = 0;         // zz - (xx + yy)/2
    double eta = 0;                 // (yy - xx)/zeta, 0 to 1
    bool zeta_sign_chosen = false;  // eta = 1: zz picked as the larger of the two candidates
    double span = 0;                // Omega, >= 0
    double skew = 0;                // kappa, -1 to 1
};

// Computes the parameters from a principal frame. Nothing when a result is not finite.
std::optional<shift_parameters> shift_tensor_parameters(const principal_frame& frame,
                                                        tensor_kind kind);

// A reference shielding (ppm) that the conversion to shifts can use: a finite number below
// 1e6 ppm (the conversion divides by 1 - ref * 1e-6).
bool reference_is_usable(double reference);

// The chemical shift of a shielding against a reference shielding, both in ppm:
// delta = (ref - sigma)/(1 - ref * 1e-6).
double shift_from_shielding(double sigma, double reference);

// MHz per barn and atomic unit of EFG in C_Q = e Q Vzz / h. CODATA 2018: e and h exact,
// 1 a.u. of EFG = E_h/(e a0^2) = 9.7173624292e21 V m^-2; this is 234.964778152...
inline constexpr double cq_mhz_per_barn_au =
    1.602176634e-19 * 1e-28 * 9.7173624292e21 / 6.62607015e-34 / 1e6;

// EFG (atomic units) and quadrupolar coupling parameters (MHz) of a nucleus.
struct efg_parameters {
    principal_frame frame;  // Vxx, Vyy, Vzz with |Vxx| <= |Vyy| <= |Vzz|
    double trace = 0;
    double eta = 0;                // (Vxx - Vyy)/Vzz, 0 to 1
    bool vzz_sign_chosen = false;  // eta = 1: Vzz picked as the positive candidate
    double cq = 0;                 // e Q Vzz / h, sign kept
    double pq = 0;                 // C_Q sqrt(1 + eta^2/3)
    double nu_q = 0;               // 3 C_Q / (2I(2I - 1))
    std::vector<double> nqr;       // pure NQR lines, ascending
};

// Computes the parameters for a nucleus of spin I (>= 1) and quadrupole moment Q (barn).
// Nothing when a result is not finite.
std::optional<efg_parameters> efg_tensor_parameters(const principal_frame& frame, double spin,
                                                    double q_barn);

// The pure NQR transition frequencies: the distinct positive differences of the eigenvalues
// of H_Q = C_Q/(4I(2I - 1)) [3 Iz^2 - I(I + 1) + eta (Ix^2 - Iy^2)] on the 2I + 1 states,
// ascending, in the unit of C_Q. Differences equal to within 1e-9 of the larger count once.
// Empty for C_Q = 0 or a spin below 1.
std::vector<double> nqr_frequencies(double cq, double eta, double spin);

// What the user chose: the kind, a reference shielding (shielding only) and, for an EFG,
// the nucleus with its spin and quadrupole moment.
struct tensor_parameters_options {
    tensor_kind kind = tensor_kind::shielding;
    std::optional<double> reference;  // ppm
    std::string nucleus;              // label, e.g. "27Al"
    double spin = 0;
    double q_fm2 = 0;  // quadrupole moment in fm^2 (1 fm^2 = 0.01 barn)
};

// The parameters of one tensor line; `shift` or `efg` is filled, as the kind says.
struct tensor_result {
    std::string label;
    shift_parameters shift;
    std::array<double, 4> referenced{};  // with a reference: delta_iso, delta_11, _22, _33
    efg_parameters efg;
};

// Nothing when the tensor is refused: an element, a principal value or a parameter that is
// not a finite number.
std::optional<tensor_result> compute_tensor_parameters(const labelled_tensor& tensor,
                                                       const tensor_parameters_options& options);

}  // namespace orvix
