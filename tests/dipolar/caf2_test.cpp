// A physical check: the 19F second moment of fluorite, CaF2. The fluorine ions form a
// simple cubic lattice of edge d = a/2 = 2.7315 Angstrom (a = 5.463 Angstrom); the 19F
// moment comes from the F-F couplings alone (43Ca, 0.135 % abundant, is left out, as in Van
// Vleck's treatment, Phys. Rev. 74, 1168 (1948)). Lattice sums straight from the lattice
// vectors, within sqrt(36.5) d (between two shells):
//
//   single crystal, field along n:  M2 = 3 S(S+1) pi^2 b^2 sum_k (1 - 3 (n.r_k)^2/r_k^2)^2 / r_k^6
//   powder:                         M2 = 2.4 S(S+1) pi^2 b^2 sum_k 1 / r_k^6
//
// with b = 167.845 gamma^2 (the coupling in Hz at 1 Angstrom) and pi = 3.141592654.
#include <gtest/gtest.h>

#include <cmath>

#include "dipolar/moment.h"
#include "dipolar_test_support.h"
#include "platform/c_format.h"
#include "support/test_support.h"

namespace orvix {
namespace {

TEST(Fluorite, moments_against_lattice_sums) {
    constexpr double d = 2.7315;
    const double b = 167.845 * 25.18148 * 25.18148;
    const double scale = 3.141592654 * 3.141592654 * b * b * 0.75;
    std::string text = "1 1 1 90 90 90\nF0 0 0 0\n";
    dipolar_input input;
    input.entries.push_back({false, "", {"F0", 0, 0, 0}});
    const auto lattice_sum = [&](double nx, double ny, double nz, bool powder) {
        double sum = 0;
        for (int i = -6; i <= 6; ++i)
            for (int j = -6; j <= 6; ++j)
                for (int k = -6; k <= 6; ++k) {
                    const int r2 = i * i + j * j + k * k;
                    const double c =
                        (i * nx + j * ny + k * nz) / std::sqrt(nx * nx + ny * ny + nz * nz);
                    const double f = powder ? 1 : 1 - 3 * c * c / r2;
                    if (r2 > 0 && r2 < 36.5) sum += f * f / std::pow(r2 * d * d, 3);
                }
        return sum;
    };
    for (int i = -6; i <= 6; ++i)
        for (int j = -6; j <= 6; ++j)
            for (int k = -6; k <= 6; ++k)
                if (const int r2 = i * i + j * j + k * k; r2 > 0 && r2 < 36.5) {
                    text += c_format("F %.4f %.4f %.4f\n", i * d, j * d, k * d);
                    input.entries.push_back(
                        {false, "", {"F", float(i * d), float(j * d), float(k * d)}});
                }
    dipolar_parameters p = test::parameters_for("19F", "19F");
    p.moment_type = 0;
    const double powder = test::run_moment(test::crlf(text), p).total;
    EXPECT_NEAR(powder, 2.4 * scale * lattice_sum(1, 0, 0, true), 1e-6 * powder);

    const double degree = 0.017453292519943, to_111 = std::atan2(1.0, std::sqrt(2.0)) / degree;
    const struct {
        const char* name;
        double alpha, beta, g;
        int sense;
        double nx, ny, nz;
    } cases[] = {
        // Axis along z: clockwise, the field lies along y at 0 degrees and turns towards x.
        {"[100] about [001]", 0, 0, 90, 0, 1, 0, 0},
        {"[110] about [001], anticlockwise", 0, 0, -45, 1, 1, 1, 0},
        // Axis along [1 -1 0]: the field turns from [110] towards [001] and passes [111].
        {"[111] about [1-10]", -45, 90, -to_111, 0, 1, 1, 1},
        {"[001] about [1-10]", -45, 90, -90, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        p.alpha = c.alpha;
        p.beta = c.beta;
        p.rotation_sense = c.sense;
        const double m2 = pattern_moment(prepare_rotation_pattern(input, p), p, c.g);
        EXPECT_NEAR(m2, 3 * scale * lattice_sum(c.nx, c.ny, c.nz, false), 1e-6 * m2) << c.name;
    }
}

}  // namespace
}  // namespace orvix
