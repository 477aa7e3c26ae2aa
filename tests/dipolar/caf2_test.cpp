// A physical check: the 19F second moment of fluorite, CaF2. The fluorine ions form a
// simple cubic lattice of edge d = a/2 = 2.7315 Angstrom (a = 5.463 Angstrom); the 19F
// moment comes from the F-F couplings alone (43Ca, the only magnetic calcium isotope, is
// 0.135 % abundant and left out here, as in Van Vleck's treatment). The program's moments
// are checked against lattice sums computed here straight from the lattice vectors:
//
//   single crystal, field along n:  M2 = 3 S(S+1) pi^2 b^2 sum_k (1 - 3 (n.r_k)^2/r_k^2)^2 / r_k^6
//   powder:                         M2 = 2.4 S(S+1) pi^2 b^2 sum_k 1 / r_k^6
//
// with b = 167.845 gamma^2 (the coupling in Hz at 1 Angstrom) and pi = 3.141592654, the units
// the program's moments are defined in. Beyond the sums themselves, cubic symmetry ties the
// three orientations together, and the orientation average of the single-crystal moment is
// the powder moment (Van Vleck, Phys. Rev. 74, 1168 (1948)).
#include <gtest/gtest.h>

#include <cmath>

#include "dipolar/moment.h"
#include "dipolar_test_support.h"
#include "platform/c_format.h"
#include "support/test_support.h"

namespace orvix {
namespace {

constexpr double d = 2.7315;
// Between the shells at sqrt(36) d and sqrt(37) d, so no neighbour lies near the cut-off.
const double cutoff_in_d2 = 36.5;

struct lattice_point {
    int i, j, k;
};

std::vector<lattice_point> fluorine_neighbours() {
    std::vector<lattice_point> points;
    for (int i = -6; i <= 6; ++i)
        for (int j = -6; j <= 6; ++j)
            for (int k = -6; k <= 6; ++k) {
                const int n = i * i + j * j + k * k;
                if (n > 0 && n < cutoff_in_d2) points.push_back({i, j, k});
            }
    return points;
}

std::string fluorite_text() {
    std::string text = "1 1 1 90 90 90\n/ CaF2: the fluorine simple cubic sublattice\nF0 0 0 0\n";
    for (const auto& p : fluorine_neighbours())
        text += c_format("F %.4f %.4f %.4f\n", p.i * d, p.j * d, p.k * d);
    return test::crlf(text);
}

// sum over the lattice of (1 - 3 cos^2)^2 / r^6 for a field along n (not normalised).
double orientation_sum(double nx, double ny, double nz) {
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    nx /= length, ny /= length, nz /= length;
    double sum = 0;
    for (const auto& p : fluorine_neighbours()) {
        const double x = p.i * d, y = p.j * d, z = p.k * d;
        const double r2 = x * x + y * y + z * z;
        const double c = (x * nx + y * ny + z * nz);
        const double f = 1 - 3 * c * c / r2;
        sum += f * f / (r2 * r2 * r2);
    }
    return sum;
}

double inverse_sixth_sum() {
    double sum = 0;
    for (const auto& p : fluorine_neighbours()) {
        const double r2 = (p.i * p.i + p.j * p.j + p.k * p.k) * d * d;
        sum += 1 / (r2 * r2 * r2);
    }
    return sum;
}

class Fluorite : public testing::Test {
  protected:
    void SetUp() override {
        parameters_ = test::parameters_for("19F", "19F");
        parameters_.cutoff = std::sqrt(cutoff_in_d2) * d;
        test::scratch_dir dir;
        test::write_file(dir.file("caf2.cry"), fluorite_text());
        auto file =
            exclusive_file::open_existing(dir.file("caf2.cry"), exclusive_file::access::read_write);
        ASSERT_TRUE(file.has_value());
        ASSERT_EQ(read_dipolar_input(*file, input_), dipolar_status::ok);
    }

    // pi^2 b^2 S(S+1) for 19F, S = 1/2, abundance 100 %.
    double scale() const {
        const double b = 167.845 * 25.18148 * 25.18148;
        return 3.141592654 * 3.141592654 * b * b * 0.75;
    }

    dipolar_parameters parameters_;
    dipolar_input input_;
};

TEST_F(Fluorite, SingleCrystalMomentsAgainstLatticeSums) {
    const double degree = 0.017453292519943;
    const struct {
        const char* name;
        double alpha, beta, g;
        int sense;
        double nx, ny, nz;
    } cases[] = {
        // Axis along z: clockwise, the field lies along y at 0 degrees and turns towards x.
        {"[100] about [001]", 0, 0, 90, 0, 1, 0, 0},
        {"[010] about [001]", 0, 0, 0, 0, 0, 1, 0},
        {"[110] about [001]", 0, 0, 45, 0, 1, 1, 0},
        {"[110] about [001], anticlockwise", 0, 0, -45, 1, 1, 1, 0},
        // Axis along [1 -1 0]: the field turns from [110] towards [001] and passes [111].
        {"[111] about [1-10]", -45, 90, -std::atan2(1.0, std::sqrt(2.0)) / degree, 0, 1, 1, 1},
        {"[001] about [1-10]", -45, 90, -90, 0, 0, 0, 1},
        {"[112] about [1-10]", -45, 90, -std::atan2(2.0, std::sqrt(2.0)) / degree, 0, 1, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dipolar_parameters p = parameters_;
        p.alpha = c.alpha;
        p.beta = c.beta;
        p.rotation_sense = c.sense;
        const double program = pattern_moment(prepare_rotation_pattern(input_, p), p, c.g);
        const double expected = 3 * scale() * orientation_sum(c.nx, c.ny, c.nz);
        EXPECT_NEAR(program, expected, 1e-6 * expected);
    }
}

TEST_F(Fluorite, PowderMomentAgainstTheLatticeSum) {
    dipolar_parameters p = parameters_;
    p.moment_type = 0;
    const test::moment_run run = test::run_moment(fluorite_text(), p);
    ASSERT_EQ(run.status, dipolar_status::ok);
    const double expected = 2.4 * scale() * inverse_sixth_sum();
    EXPECT_NEAR(run.total, expected, 1e-6 * expected);
    // One report line per neighbour within the cut-off, between the header and the total.
    EXPECT_EQ(test::report_lines(run.report).size(), fluorine_neighbours().size() + 3);
}

// M2(n) = A + B (nx^4 + ny^4 + nz^4) for any cubic arrangement, so
// M2[100] - M2[110] = 3 (M2[110] - M2[111]), and its orientation average A + 3B/5 is the
// powder moment.
TEST_F(Fluorite, CubicSymmetryAndTheOrientationAverage) {
    const double degree = 0.017453292519943;
    dipolar_parameters p = parameters_;
    const double m100 = pattern_moment(prepare_rotation_pattern(input_, p), p, 90);
    const double m110 = pattern_moment(prepare_rotation_pattern(input_, p), p, 45);
    p.alpha = -45;
    p.beta = 90;
    const double m111 = pattern_moment(prepare_rotation_pattern(input_, p), p,
                                       -std::atan2(1.0, std::sqrt(2.0)) / degree);
    EXPECT_NEAR(m100 - m110, 3 * (m111 > 0 ? m110 - m111 : 0), 1e-6 * m100);
    const double b = 2 * (m100 - m110);
    const double a = m100 - b;
    dipolar_parameters q = parameters_;
    q.moment_type = 0;
    const double powder = test::run_moment(fluorite_text(), q).total;
    EXPECT_NEAR(a + 0.6 * b, powder, 1e-6 * powder);
    // Along [100] the moment is largest and along [111] smallest, as measured in CaF2.
    EXPECT_GT(m100, m110);
    EXPECT_GT(m110, m111);
}

}  // namespace
}  // namespace orvix
