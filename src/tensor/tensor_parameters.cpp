// Tensor parameters: the tensor line reader, a double-precision Jacobi eigen-solver, and the
// shielding, shift and quadrupolar conventions.
//
// Conventions (Harris et al., IUPAC Recommendations 2008, Pure Appl. Chem. 80, 59,
// doi:10.1351/pac200880010059; Mason, Solid State NMR 2, 285 (1993),
// doi:10.1016/0926-2040(93)90010-K):
// - Haeberlen (U. Haeberlen, High Resolution NMR in Solids, 1976): |zz - iso| >= |xx - iso|
//   >= |yy - iso|, zeta = zz - iso, Delta = zz - (xx + yy)/2, eta = (yy - xx)/zeta.
// - IUPAC/Mehring (M. Mehring, Principles of High Resolution NMR in Solids, 1983): shielding
//   11 <= 22 <= 33, shift 11 >= 22 >= 33.
// - Herzfeld and Berger, J. Chem. Phys. 73, 6021 (1980), doi:10.1063/1.440136: span
//   Omega = 33 - 11 (shielding) or 11 - 33 (shift), skew kappa = 3(iso - 22)/Omega for
//   shielding and 3(22 - iso)/Omega for shift, so that a tensor and its shifts share kappa.
// - EFG: |Vzz| >= |Vyy| >= |Vxx|, eta_Q = (Vxx - Vyy)/Vzz, C_Q = e Q Vzz / h.
#include "tensor/tensor_parameters.h"

#include <algorithm>
#include <cmath>

#include "platform/scan.h"

namespace orvix {

namespace {

constexpr std::string_view separators = " \t,;()";

// Two principal values whose distances from the centre differ by no more than this much of
// the largest magnitude count as equally far: eta = 1, or a tensor without anisotropy.
constexpr double tie_tolerance = 1e-12;

// NQR: eigenvalue differences below this part of the spread are zero, and two differences
// within this part of the larger are one line.
constexpr double line_tolerance = 1e-9;

// A whole item read as one number.
bool whole_number(std::string_view item, double& value) {
    std::string_view rest = item;
    return scan_double(rest, value) && rest.empty();
}

std::array<double, 3> cross(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// Gives an axis its canonical sign: the first component above 1e-6 in magnitude positive.
// (The largest component would do as well, but symmetric axes such as (1, 1, 0)/sqrt(2)
// tie there and rounding would pick either.)
std::array<double, 3> canonical_sign(std::array<double, 3> axis) {
    for (double c : axis) {
        if (std::fabs(c) <= 1e-6) continue;
        if (c < 0)
            for (double& x : axis) x = -x;
        break;
    }
    return axis;
}

double largest_magnitude(const std::array<double, 3>& values) {
    return std::max({std::fabs(values[0]), std::fabs(values[1]), std::fabs(values[2])});
}

bool all_finite(std::initializer_list<double> numbers) {
    return std::all_of(numbers.begin(), numbers.end(), [](double x) { return std::isfinite(x); });
}

bool frame_is_finite(const principal_frame& frame) {
    for (int k = 0; k < 3; ++k) {
        if (!std::isfinite(frame.values[k])) return false;
        for (double c : frame.axes[k])
            if (!std::isfinite(c)) return false;
    }
    return true;
}

}  // namespace

std::optional<labelled_tensor> read_tensor_line(std::string_view line) {
    std::vector<std::string_view> items;
    std::size_t start = line.find_first_not_of(separators);
    while (start != std::string_view::npos) {
        const std::size_t end = line.find_first_of(separators, start);
        items.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        if (items.size() > 10 || end == std::string_view::npos) break;
        start = line.find_first_not_of(separators, end);
    }
    if (items.size() != 10) return std::nullopt;
    labelled_tensor tensor;
    double ignored = 0;
    if (whole_number(items[0], ignored)) return std::nullopt;
    tensor.label = std::string(items[0]);
    for (std::size_t k = 0; k < 9; ++k)
        if (!whole_number(items[k + 1], tensor.elements[k])) return std::nullopt;
    return tensor;
}

bool jacobi_eigen(std::vector<double> a, int n, symmetric_eigen& result) {
    // The cyclic Jacobi method with Rutishauser's rotation formulas and his rule for
    // off-diagonal elements negligible against both diagonal ones (Wilkinson and Reinsch,
    // Handbook for Automatic Computation II, contribution II/1, 1971).
    const auto at = [n](int row, int column) { return static_cast<std::size_t>(row * n + column); };
    for (int i = 0; i < n; ++i)
        for (int j = i; j < n; ++j) {
            if (!std::isfinite(a[at(i, j)])) return false;
            a[at(j, i)] = a[at(i, j)];
        }
    std::vector<double> v(static_cast<std::size_t>(n * n), 0.0);
    for (int i = 0; i < n; ++i) v[at(i, i)] = 1.0;

    bool settled = false;
    for (int sweep = 0; sweep < 100 && !settled; ++sweep) {
        settled = true;
        for (int p = 0; p < n; ++p) {
            for (int q = p + 1; q < n; ++q) {
                const double apq = a[at(p, q)];
                if (apq == 0.0) continue;
                const double app = a[at(p, p)];
                const double aqq = a[at(q, q)];
                const double g = 100.0 * std::fabs(apq);
                if (sweep > 3 && std::fabs(app) + g == std::fabs(app) &&
                    std::fabs(aqq) + g == std::fabs(aqq)) {
                    a[at(p, q)] = a[at(q, p)] = 0.0;
                    continue;
                }
                settled = false;
                const double theta = (aqq - app) / (2.0 * apq);
                double t = 1.0 / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                if (!std::isfinite(theta * theta)) t = 0.5 / std::fabs(theta);
                if (theta < 0) t = -t;
                const double c = 1.0 / std::sqrt(t * t + 1.0);
                const double s = t * c;
                for (int k = 0; k < n; ++k) {
                    const double akp = a[at(k, p)];
                    const double akq = a[at(k, q)];
                    a[at(k, p)] = c * akp - s * akq;
                    a[at(k, q)] = s * akp + c * akq;
                }
                for (int k = 0; k < n; ++k) {
                    const double apk = a[at(p, k)];
                    const double aqk = a[at(q, k)];
                    a[at(p, k)] = c * apk - s * aqk;
                    a[at(q, k)] = s * apk + c * aqk;
                }
                a[at(p, q)] = a[at(q, p)] = 0.0;
                for (int k = 0; k < n; ++k) {
                    const double vkp = v[at(k, p)];
                    const double vkq = v[at(k, q)];
                    v[at(k, p)] = c * vkp - s * vkq;
                    v[at(k, q)] = s * vkp + c * vkq;
                }
            }
        }
    }
    if (!settled) return false;
    result.values.assign(static_cast<std::size_t>(n), 0.0);
    result.vectors.assign(static_cast<std::size_t>(n), std::vector<double>(n, 0.0));
    for (int k = 0; k < n; ++k) {
        result.values[k] = a[at(k, k)];
        if (!std::isfinite(result.values[k])) return false;
        for (int row = 0; row < n; ++row) result.vectors[k][row] = v[at(row, k)];
    }
    return true;
}

std::optional<principal_frame> symmetric_principal_frame(const std::array<double, 9>& t) {
    std::vector<double> symmetric(9);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            // Halved before the sum: two large elements of equal sign cannot overflow.
            symmetric[i * 3 + j] = 0.5 * t[i * 3 + j] + 0.5 * t[j * 3 + i];
    symmetric_eigen eigen;
    if (!jacobi_eigen(symmetric, 3, eigen)) return std::nullopt;
    principal_frame frame;
    for (int k = 0; k < 3; ++k) {
        frame.values[k] = eigen.values[k];
        for (int row = 0; row < 3; ++row) frame.axes[k][row] = eigen.vectors[k][row];
    }
    if (!frame_is_finite(frame)) return std::nullopt;
    return frame;
}

principal_frame reorder_frame(const principal_frame& frame, const std::array<int, 3>& order) {
    principal_frame out;
    for (int k = 0; k < 3; ++k) out.values[k] = frame.values[order[k]];
    out.axes[0] = canonical_sign(frame.axes[order[0]]);
    out.axes[1] = canonical_sign(frame.axes[order[1]]);
    out.axes[2] = cross(out.axes[0], out.axes[1]);
    return out;
}

std::optional<shift_parameters> shift_tensor_parameters(const principal_frame& frame,
                                                        tensor_kind kind) {
    const auto& v = frame.values;
    const double tolerance = tie_tolerance * largest_magnitude(v);
    shift_parameters p;
    p.iso = (v[0] + v[1] + v[2]) / 3.0;

    std::array<int, 3> order{0, 1, 2};
    if (kind == tensor_kind::shift)
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return v[a] > v[b]; });
    else
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return v[a] < v[b]; });
    p.iupac = reorder_frame(frame, order);
    const double v11 = p.iupac.values[0];
    const double v22 = p.iupac.values[1];
    const double v33 = p.iupac.values[2];
    p.span = std::fabs(v33 - v11);
    if (p.span > tolerance) {
        const double skew = kind == tensor_kind::shift ? 3.0 * (v22 - p.iso) / p.span
                                                       : 3.0 * (p.iso - v22) / p.span;
        p.skew = std::clamp(skew, -1.0, 1.0);
    }

    // Haeberlen: farthest from the isotropic value first.
    std::array<int, 3> h{0, 1, 2};
    std::stable_sort(h.begin(), h.end(), [&](int a, int b) {
        return std::fabs(v[a] - p.iso) > std::fabs(v[b] - p.iso);
    });
    const double d0 = v[h[0]] - p.iso;
    const double d1 = v[h[1]] - p.iso;
    // At eta = 1 two values lie equally far on either side; the convention leaves the sign
    // of zeta open, and zz is taken as the larger of them.
    if (std::fabs(d0) > tolerance && std::fabs(std::fabs(d0) - std::fabs(d1)) <= tolerance) {
        p.zeta_sign_chosen = true;
        if (v[h[1]] > v[h[0]]) std::swap(h[0], h[1]);
    }
    p.zz = v[h[0]];
    p.xx = v[h[1]];
    p.yy = v[h[2]];
    p.zeta = p.zz - p.iso;
    p.delta_aniso = p.zz - (p.xx + p.yy) / 2.0;
    if (std::fabs(p.zeta) > tolerance) p.eta = std::clamp((p.yy - p.xx) / p.zeta, 0.0, 1.0);

    if (!frame_is_finite(p.iupac) ||
        !all_finite({p.iso, p.zeta, p.delta_aniso, p.eta, p.span, p.skew}))
        return std::nullopt;
    return p;
}

bool reference_is_usable(double reference) {
    return std::isfinite(reference) && reference < 1e6;
}

double shift_from_shielding(double sigma, double reference) {
    return (reference - sigma) / (1.0 - reference * 1e-6);
}

std::optional<efg_parameters> efg_tensor_parameters(const principal_frame& frame, double spin,
                                                    double q_barn) {
    const auto& v = frame.values;
    const double tolerance = tie_tolerance * largest_magnitude(v);
    std::array<int, 3> order{0, 1, 2};
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return std::fabs(v[a]) < std::fabs(v[b]); });
    efg_parameters p;
    // At eta = 1 Vyy = -Vzz; the convention leaves the sign of Vzz open, and Vzz is taken
    // positive. (Equal values of one sign are no such case: a tensor with a trace can have
    // them.)
    const double vzz = v[order[2]];
    const double vyy = v[order[1]];
    if (std::fabs(vzz) > tolerance && std::fabs(std::fabs(vzz) - std::fabs(vyy)) <= tolerance &&
        (vzz > 0) != (vyy > 0)) {
        p.vzz_sign_chosen = true;
        if (vyy > vzz) std::swap(order[1], order[2]);
    }
    p.frame = reorder_frame(frame, order);
    const double xx = p.frame.values[0];
    const double yy = p.frame.values[1];
    const double zz = p.frame.values[2];
    p.trace = xx + yy + zz;
    if (std::fabs(zz) > tolerance) p.eta = std::clamp((xx - yy) / zz, 0.0, 1.0);
    p.cq = cq_mhz_per_barn_au * q_barn * zz;
    p.pq = p.cq * std::sqrt(1.0 + p.eta * p.eta / 3.0);
    p.nu_q = 3.0 * p.cq / (2.0 * spin * (2.0 * spin - 1.0));
    if (!frame_is_finite(p.frame) || !all_finite({p.trace, p.eta, p.cq, p.pq, p.nu_q}))
        return std::nullopt;
    p.nqr = nqr_frequencies(p.cq, p.eta, spin);
    return p;
}

std::vector<double> nqr_frequencies(double cq, double eta, double spin) {
    const int states = static_cast<int>(std::lround(2.0 * spin)) + 1;
    if (spin < 1.0 || cq == 0.0) return {};
    // Basis |m>, m = I, I - 1, ..., -I. Ix^2 - Iy^2 = (I+^2 + I-^2)/2 couples m and m + 2
    // through <m + 2|I+^2|m> = sqrt((I - m)(I + m + 1)(I - m - 1)(I + m + 2)); the matrix is
    // real and symmetric.
    const double a = cq / (4.0 * spin * (2.0 * spin - 1.0));
    const double ii = spin * (spin + 1.0);
    std::vector<double> h(static_cast<std::size_t>(states * states), 0.0);
    for (int k = 0; k < states; ++k) {
        const double m = spin - k;
        h[k * states + k] = a * (3.0 * m * m - ii);
        if (k + 2 < states) {
            const double lower = m - 2.0;  // the state k + 2; I+^2 raises it to m
            const double element = std::sqrt((spin - lower) * (spin + lower + 1.0) *
                                             (spin - lower - 1.0) * (spin + lower + 2.0));
            h[k * states + k + 2] = 0.5 * eta * a * element;
        }
    }
    symmetric_eigen eigen;
    if (!jacobi_eigen(h, states, eigen)) return {};
    std::vector<double> levels = eigen.values;
    std::sort(levels.begin(), levels.end());
    const double zero = line_tolerance * (levels.back() - levels.front());
    std::vector<double> differences;
    for (std::size_t i = 0; i < levels.size(); ++i)
        for (std::size_t j = i + 1; j < levels.size(); ++j)
            if (levels[j] - levels[i] > zero) differences.push_back(levels[j] - levels[i]);
    std::sort(differences.begin(), differences.end());
    std::vector<double> lines;
    for (double d : differences)
        if (lines.empty() || d - lines.back() > line_tolerance * d) lines.push_back(d);
    return lines;
}

std::optional<tensor_result> compute_tensor_parameters(const labelled_tensor& tensor,
                                                       const tensor_parameters_options& options) {
    const std::optional<principal_frame> frame = symmetric_principal_frame(tensor.elements);
    if (!frame) return std::nullopt;
    tensor_result result;
    result.label = tensor.label;
    if (options.kind == tensor_kind::efg) {
        auto efg = efg_tensor_parameters(*frame, options.spin, options.q_fm2 / 100.0);
        if (!efg) return std::nullopt;
        result.efg = std::move(*efg);
        return result;
    }
    auto shift = shift_tensor_parameters(*frame, options.kind);
    if (!shift) return std::nullopt;
    result.shift = *shift;
    if (options.reference) {
        const double ref = *options.reference;
        result.referenced[0] = shift_from_shielding(result.shift.iso, ref);
        for (int k = 0; k < 3; ++k)
            result.referenced[k + 1] = shift_from_shielding(result.shift.iupac.values[k], ref);
        for (double delta : result.referenced)
            if (!std::isfinite(delta)) return std::nullopt;
    }
    return result;
}

}  // namespace orvix
