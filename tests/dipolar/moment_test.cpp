// The powder sum and the single-crystal rotation pattern against Van Vleck's formulas
// evaluated here term by term, the refusals of the input, and cancelling.
//
// A neighbour at r contributes b^2 / r^6 pi^2 S(S+1) times 12/5 (like spins) or 16/15 (unlike)
// to the powder moment, and times 3 (1 - 3 cos^2 theta)^2 or 4/3 (1 - 3 cos^2 theta)^2 to the
// moment of a single crystal with the field at theta to the internuclear vector; b = 167.845
// gamma_I gamma_S is the coupling in Hz at 1 Angstrom, pi is taken as 3.141592654 and every
// term is weighted with the coupled nucleus's abundance (Van Vleck, Phys. Rev. 74, 1168 (1948)).
// And a physical check on fluorite.
#include "dipolar/moment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "dipolar/nuclei.h"
#include "dipolar/parameters.h"
#include "platform/c_format.h"
#include "support/case_file.h"

namespace orvix {
namespace {

using test::crlf;

// The record's initial values with the two nuclei selected as the dialog would leave them
// (the coupled nucleus brings its natural abundance) and the closing step taken.
dipolar_parameters parameters_for(const std::string& observed, const std::string& coupled) {
    dipolar_parameters p;
    select_observed_nucleus(p, find_nucleus_position(observed).value());
    select_coupled_nucleus(p, find_nucleus_position(coupled).value());
    finish_dipolar_dialog(p);
    return p;
}

struct moment_run {
    dipolar_status status = dipolar_status::ok;
    std::string report;  // the result file's bytes
    double total = -1;   // powder total, when the sum ran to its end
};

// Runs the powder sum or the rotation pattern (by `parameters.moment_type`) on `text` as
// the input; `cancel_after` stops at that progress report.
moment_run run_moment(const std::string& text, const dipolar_parameters& parameters,
                      int cancel_after = -1) {
    test::scratch_dir dir;
    test::write_file(dir.file("input.cry"), text);
    moment_run run;
    {
        auto input = exclusive_file::open_existing(dir.file("input.cry"),
                                                   exclusive_file::access::read_write);
        auto result = exclusive_file::create(dir.file("result.txt"));
        EXPECT_TRUE(input && result);
        int reports = 0;
        const progress_step step = [&](std::uint64_t) { return ++reports != cancel_after; };
        dipolar_input entries;
        run.status = read_dipolar_input(*input, entries);
        if (run.status == dipolar_status::ok && parameters.moment_type == 0)
            run.status = write_powder_sum(entries, parameters, *result, step, &run.total);
        else if (run.status == dipolar_status::ok)
            run.status = write_rotation_pattern(entries, parameters, *result, step);
        result->close();
    }
    run.report = test::read_file(dir.file("result.txt"));
    return run;
}

// Lines of a report, each without its CR LF.
std::vector<std::string> report_lines(const std::string& report) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < report.size();) {
        std::size_t end = report.find("\r\n", start);
        if (end == std::string::npos) end = report.size();
        lines.push_back(report.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

const std::string cartesian = "1 1 1 90 90 90\n";

// pi^2 b^2 S(S+1) times the abundance fraction, and whether the spins are like.
double scale(const dipolar_parameters& p) {
    const double b = 167.845 * p.gamma_observed * p.gamma_coupled, s = p.spin_coupled;
    return 3.141592654 * 3.141592654 * b * b * s * (s + 1) * p.abundance / 100;
}
bool like(const dipolar_parameters& p) {
    return p.gamma_observed == p.gamma_coupled;
}

std::string lines_of(std::string field) {
    std::replace(field.begin(), field.end(), ';', '\n');
    return crlf(field + "\n");
}

TEST(PowderSum, against_the_formula_term_by_term) {
    for (const auto& row : test::read_cases("dipolar/powder_sums.tsv")) {
        SCOPED_TRACE(row[0]);
        dipolar_parameters p = parameters_for(row[1], row[2]);
        p.moment_type = 0;
        p.cutoff = test::number(row[3]);
        const moment_run run = run_moment(lines_of(cartesian + row[4]), p);
        ASSERT_EQ(run.status, dipolar_status::ok);
        std::string expected_lines, got_lines;
        double expected = 0;
        std::istringstream listed(row.size() > 5 ? row[5] : "");
        for (std::string line; std::getline(listed, line, ';');) {
            if (line[0] != '/') {
                const double r = test::number(line.substr(line.find(' ') + 1));
                expected += scale(p) * (like(p) ? 2.4 : 16.0 / 15) / std::pow(r, 6);
                line.resize(line.find(' '));
            }
            expected_lines += line + "|";
        }
        EXPECT_NEAR(run.total, expected, 1e-14 * expected);
        const auto lines = report_lines(run.report);
        for (std::size_t i = 1; i + 1 < lines.size(); ++i)
            got_lines += lines[i].substr(0, lines[i].find('\t')) + "|";
        EXPECT_EQ(got_lines, expected_lines);
        EXPECT_EQ(lines.back(), c_format("Second moment:  %g", run.total));
    }
}

// Refused for either report; nothing but the comments (and the powder header) is written
// when no atom came.
TEST(InputChecks, status_of_each_refusal) {
    for (const auto& row : test::read_cases("dipolar/refusals.tsv")) {
        for (int type : {0, 1}) {
            SCOPED_TRACE(row[0] + (type == 0 ? " / powder" : " / pattern"));
            dipolar_parameters p = parameters_for("1H", "1H");
            p.moment_type = type;
            const moment_run run = run_moment(row[1].empty() ? "" : lines_of(row[1]), p);
            EXPECT_EQ(static_cast<int>(run.status), std::stoi(row[2]));
            const std::string header =
                type == 0 ? "nucleus\tx\ty\tz\tdist.\tR\tM2 contribution\n" : "";
            EXPECT_EQ(run.report,
                      run.status == dipolar_status::unexpected_end ? crlf(header + "/ c\n") : "");
        }
    }
}

// Angles start + n * increment up to the end, each after the input's comments; increments
// that never reach the end and infinite angles are refused before the first line.
TEST(RotationPattern, angles_and_refusals) {
    for (const auto& row : test::read_cases("dipolar/pattern_angles.tsv")) {
        SCOPED_TRACE(row[0] + " " + row[1] + " " + row[2]);
        dipolar_parameters p = parameters_for("1H", "1H");
        p.gamma_start = test::number(row[0]);
        p.gamma_increment = test::number(row[1]);
        p.gamma_end = test::number(row[2]);
        EXPECT_EQ(rotation_line_count(p), std::stoull(row[5]));
        const moment_run run = run_moment(crlf(cartesian + "/ c\nH 0 0 0\nH 1 1 0\n"), p);
        EXPECT_EQ(static_cast<int>(run.status), std::stoi(row[3]));
        std::string angles;
        const auto lines = report_lines(run.report);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i % 2 == 0) {
                EXPECT_EQ(lines[i], "/ c");
            } else {
                angles.append(angles.empty() ? "" : " ").append(lines[i], 0, lines[i].find("    "));
            }
        }
        EXPECT_EQ(angles, row[4]);
    }
}

// Random neighbours (origin lines, the observed nucleus twice, some beyond the cut-off)
// under random axes, phases and senses, like and unlike spins. The field turns about the
// axis u = (sin b cos a, sin b sin a, cos b) from e = (-sin a, cos a, 0) towards u x e,
// clockwise (sense 0) for growing angles. The program takes the direction of a neighbour
// from arc cosines, good to sqrt(2 eps) next to +-1: a few parts in 1e8 of the moment.
TEST(RotationPattern, against_the_formula_term_by_term) {
    std::mt19937 random(20240519);
    std::uniform_real_distribution<double> coordinate(-6.0, 6.0), angle(-400.0, 400.0);
    const char* pairs[][2] = {{"1H", "1H"}, {"19F", "19F"}, {"1H", "13C"}, {"27Al", "29Si"}};
    constexpr double degree = std::numbers::pi / 180;
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE(trial);
        dipolar_parameters p = parameters_for(pairs[trial % 4][0], pairs[trial % 4][1]);
        p.alpha = angle(random);
        p.beta = trial % 5 == 0 ? 0.0 : angle(random);
        p.phase = angle(random);
        p.rotation_sense = trial % 2;
        p.cutoff = trial % 3 == 0 ? -4.0 : 1000.0;
        dipolar_input input;
        std::vector<std::array<double, 4>> counted;  // direction and distance
        const auto add = [&](const std::string& label, float x, float y, float z) {
            input.entries.push_back({false, "", {label, x, y, z}});
            const double r = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
            if (input.entries.size() > 1 && label != "OR" && r > 0 && r <= std::fabs(p.cutoff))
                counted.push_back({x / r, y / r, z / r, r});
        };
        add("H0", 0, 0, 0);
        for (int i = 0; i < 1 + trial % 13; ++i) {
            const float x = float(coordinate(random)), y = float(coordinate(random));
            add(i % 7 == 3 ? "OR" : "H", x, i % 5 == 2 ? 0.0f : y, float(coordinate(random)));
            if (i % 6 == 1) add("H", 0, 0, 0);
        }
        const rotation_pattern pattern = prepare_rotation_pattern(input, p);
        const double sa = std::sin(p.alpha * degree), ca = std::cos(p.alpha * degree);
        const double sb = std::sin(p.beta * degree), cb = std::cos(p.beta * degree);
        for (double g = -90; g <= 270; g += 37.5) {
            const double psi = (p.rotation_sense == 0 ? -1 : 1) * (g + p.phase) * degree;
            const double n[3] = {-sa * std::cos(psi) - cb * ca * std::sin(psi),
                                 ca * std::cos(psi) - cb * sa * std::sin(psi), sb * std::sin(psi)};
            double expected = 0;
            for (const auto& v : counted) {
                const double cosine = v[0] * n[0] + v[1] * n[1] + v[2] * n[2],
                             f = 1 - 3 * cosine * cosine;
                expected += scale(p) * (like(p) ? 3.0 : 4.0 / 3) * f * f / std::pow(v[3], 6);
            }
            EXPECT_NEAR(pattern_moment(pattern, p, g), expected, 2e-7 * expected) << g;
        }
    }
}

// A physical check: the 19F second moment of fluorite, CaF2, whose fluorine ions form a
// simple cubic lattice of edge d = a/2 = 2.7315 Angstrom (a = 5.463 Angstrom); 43Ca, 0.135 %
// abundant, is left out as in Van Vleck's treatment. Lattice sums over the lattice vectors
// r_k within sqrt(36.5) d, between two shells: 3 (powder: 2.4) S(S+1) pi^2 b^2 times the sum
// of (1 - 3 (n.r_k)^2 / r_k^2)^2 / r_k^6 for a field along n (powder: of 1 / r_k^6).
TEST(Fluorite, moments_against_lattice_sums) {
    constexpr double d = 2.7315;
    dipolar_parameters p = parameters_for("19F", "19F");
    std::string text = cartesian + "F0 0 0 0\n";
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
                    if (r2 > 0 && r2 < 36.5) sum += scale(p) * f * f / std::pow(r2 * d * d, 3);
                    if (r2 > 0 && r2 < 36.5 &&
                        powder) {  // the powder sum, first, lists the lattice
                        text += c_format("F %.4f %.4f %.4f\n", i * d, j * d, k * d);
                        input.entries.push_back(
                            {false, "", {"F", float(i * d), float(j * d), float(k * d)}});
                    }
                }
        return sum;
    };
    p.moment_type = 0;
    const double powder = 2.4 * lattice_sum(1, 0, 0, true);
    EXPECT_NEAR(run_moment(crlf(text), p).total, powder, 1e-6 * powder);
    // Axis along z, clockwise: the field lies along y at 0 degrees and turns towards x. Axis
    // along [1 -1 0]: the field turns from [110] towards [001] and passes [111].
    const double to_111 = std::atan2(1.0, std::sqrt(2.0)) / 0.017453292519943;
    const std::array<double, 7> cases[] = {
        {0, 0, 90, 0, 1, 0, 0}, {0, 0, -45, 1, 1, 1, 0}, {-45, 90, -to_111, 0, 1, 1, 1}};
    for (const auto& [alpha, beta, g, sense, nx, ny, nz] : cases) {
        p.alpha = alpha;
        p.beta = beta;
        p.rotation_sense = int(sense);
        const double m2 = pattern_moment(prepare_rotation_pattern(input, p), p, g);
        EXPECT_NEAR(m2, 3 * lattice_sum(nx, ny, nz, false), 1e-6 * m2) << nx << ny << nz;
    }
}

// A cancel keeps whole lines, those written before it, and no total.
TEST(Moment, cancel_keeps_what_was_written) {
    std::string text = cartesian + "H 0 0 0\n";
    for (int i = 1; i <= 1000; ++i) text += c_format("H%d %d 0 0\n", i, i);
    for (int type : {0, 1}) {
        SCOPED_TRACE(type);
        dipolar_parameters p = parameters_for("1H", "1H");
        p.moment_type = type;
        const moment_run whole = run_moment(crlf(text), p);
        const moment_run cancelled = run_moment(crlf(text), p, 2);
        EXPECT_EQ(cancelled.status, dipolar_status::cancelled);
        EXPECT_EQ(report_lines(cancelled.report).size(), type == 0 ? 512u : 2u);
        EXPECT_TRUE(whole.report.starts_with(cancelled.report));
        EXPECT_TRUE(cancelled.report.ends_with("\r\n"));
    }
}

}  // namespace
}  // namespace orvix
