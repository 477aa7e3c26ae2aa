// The powder sum and the single-crystal rotation pattern on crystal data texts.
#include "dipolar/moment.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "dipolar_test_support.h"
#include "platform/c_format.h"
#include "platform/scan.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;
using test::parameters_for;
using test::report_lines;
using test::run_moment;

const double pi10 = 3.141592654;
const std::string cartesian = "1 1 1 90 90 90\n";
const std::string powder_header = "nucleus\tx\ty\tz\tdist.\tR\tM2 contribution";

// The number after the last blank of a pattern line.
double moment_of(const std::string& line) {
    std::string_view rest(line);
    rest.remove_prefix(line.rfind(' ') + 1);
    double value = std::nan("");
    EXPECT_TRUE(scan_double(rest, value)) << line;
    return value;
}

dipolar_parameters powder(dipolar_parameters p) {
    p.moment_type = 0;
    return p;
}

// Like spins, spin 1/2, abundance 100: one neighbour at r contributes
// 2.4000000000000004 * 0.75 * R^2 * pi^2 with R = 167.845 * gamma^2 / r^3.
TEST(PowderSum, OneNeighbourOfLikeSpinOneHalf) {
    const struct {
        const char* name;
        const char* nucleus;
        double r;
    } cases[] = {{"19F at 2.5", "19F", 2.5},
                 {"31P at 1.75", "31P", 1.75},
                 {"1H at 1.0", "1H", 1.0},
                 {"13C at 4.25", "13C", 4.25}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dipolar_parameters p = powder(parameters_for(c.nucleus, c.nucleus));
        p.abundance = 100;
        const test::moment_run run =
            run_moment(crlf(cartesian + "A 0 0 0\nB 0 " + c_format("%.4f", c.r) + " 0\n"), p);
        ASSERT_EQ(run.status, dipolar_status::ok);
        const double gamma = p.gamma_observed;
        const double coupling = gamma * 167.845 * gamma / (c.r * c.r * c.r);
        const double expected = 2.4000000000000004 * 0.75 * coupling * coupling * pi10 * pi10;
        EXPECT_NEAR(run.total, expected, 1e-15 * expected);
        EXPECT_EQ(run.report,
                  crlf(powder_header + "\n" +
                       c_format("B\t0\t%g\t0\t%g\t%g\t%g\n", c.r, c.r, coupling, expected) +
                       c_format("Second moment:  %g\n", expected)));
    }
}

// The like-spins powder factor is the double with bits 4003333333333334, one above the
// double nearest to 2.4 (what (0.2 * 3) * 4 gives in doubles).
TEST(PowderSum, LikeSpinsFactorIsTheDoubleAboveTwoPointFour) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(dipolar_constants::powder_like), 0x4003333333333334u);
    EXPECT_EQ(dipolar_constants::powder_like, std::nextafter(2.4, 3.0));
    dipolar_parameters p = powder(parameters_for("1H", "1H"));
    p.abundance = 100;
    p.spin_coupled = 1.0;  // (S + 1) * (S * k) = 2k exactly
    const test::moment_run run = run_moment(crlf(cartesian + "A 0 0 0\nB 1 0 0\n"), p);
    const double coupling = p.gamma_observed * 167.845 * p.gamma_coupled;
    EXPECT_EQ(run.total, 2 * 2.4000000000000004 * coupling * coupling * pi10 * pi10);
    EXPECT_NE(run.total, 2 * 2.4 * coupling * coupling * pi10 * pi10);
}

TEST(PowderSum, UnlikeSpinsUseFourFifteenths) {
    dipolar_parameters p = powder(parameters_for("1H", "27Al"));
    ASSERT_EQ(p.abundance, 100.0);
    const test::moment_run run = run_moment(crlf(cartesian + "H 0 0 0\nAl 0 0 2\n"), p);
    const double coupling = 26.7522128 * 167.845 * 6.9762715 / 8.0;
    const double s = 2.5;
    const double expected =
        (s + 1) * (s * 1.0666666666666667) * coupling * coupling * pi10 * pi10 * 1.0;
    EXPECT_NEAR(run.total, expected, 1e-15 * expected);
}

// Two different nuclei with the same gyromagnetic ratio count as like spins.
TEST(PowderSum, EqualGammasAreLikeSpinsWhateverTheNuclei) {
    dipolar_parameters like = powder(parameters_for("1H", "13C"));
    like.gamma_coupled = like.gamma_observed;
    like.abundance = 100;
    dipolar_parameters same = like;
    same.coupled_nucleus = same.observed_nucleus;
    const std::string text = crlf(cartesian + "A 0 0 0\nB 1.5 0 0\n");
    EXPECT_EQ(run_moment(text, like).total, run_moment(text, same).total);
    dipolar_parameters unlike = like;
    unlike.gamma_coupled = std::nextafter(like.gamma_observed, 100.0);
    EXPECT_LT(run_moment(text, unlike).total, 0.5 * run_moment(text, like).total);
}

TEST(PowderSum, CutOffCountsANeighbourExactlyAtIt) {
    // Neighbours at 1, 2.5 and 2.5000002 (the next single-precision value above 2.5).
    const std::string text = crlf(cartesian + "O 0 0 0\nN1 1 0 0\nN2 0 2.5 0\nN3 0 0 2.5000002\n");
    const struct {
        const char* name;
        double cutoff;
        std::vector<std::string> labels;
    } cases[] = {{"cut-off at the second neighbour", 2.5, {"N1", "N2"}},
                 {"negative cut-off acts as its size", -2.5, {"N1", "N2"}},
                 {"just beyond the third", 2.5000003, {"N1", "N2", "N3"}},
                 {"below the first", 0.999, {}},
                 {"zero cut-off", 0.0, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dipolar_parameters p = powder(parameters_for("1H", "1H"));
        p.cutoff = c.cutoff;
        const auto lines = report_lines(run_moment(text, p).report);
        ASSERT_EQ(lines.size(), c.labels.size() + 2);
        for (std::size_t i = 0; i < c.labels.size(); ++i)
            EXPECT_EQ(lines[i + 1].substr(0, lines[i + 1].find('\t')), c.labels[i]);
    }
}

// Skipped whatever their coordinates: a later origin line takes no part at all.
TEST(PowderSum, OriginLinesAreSkippedButCanBeTheObservedNucleus) {
    const dipolar_parameters p = powder(parameters_for("1H", "1H"));
    const auto lines = report_lines(
        run_moment(crlf(cartesian + "oR 0 0 0\nor 1 0 0\nH1 2 0 0\nOR nan inf 0\nOr 4 0 0\n"
                                    "H2 0 5 0\nORx 6 0 0\n"),
                   p)
            .report);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1].substr(0, 10), "H1\t2\t0\t0\t2");
    EXPECT_EQ(lines[2].substr(0, 10), "H2\t0\t5\t0\t5");
    EXPECT_EQ(lines[3].substr(0, 11), "ORx\t6\t0\t0\t6");
}

// The observed nucleus listed twice (a symmetry image on a special position) has no place
// in the sum: its term would be infinite.
TEST(PowderSum, NeighbourOnTheObservedNucleusIsSkipped) {
    const dipolar_parameters p = powder(parameters_for("1H", "1H"));
    const test::moment_run with_duplicate =
        run_moment(crlf(cartesian + "H0 0.5 0.5 0.5\nH0b 0.5 0.5 0.5\nH1 0.5 0.5 2\n"), p);
    const test::moment_run without =
        run_moment(crlf(cartesian + "H0 0.5 0.5 0.5\nH1 0.5 0.5 2\n"), p);
    EXPECT_EQ(with_duplicate.report, without.report);
    EXPECT_TRUE(std::isfinite(with_duplicate.total));
}

TEST(PowderSum, OnlyTheObservedAtomGivesZero) {
    const test::moment_run run =
        run_moment(crlf(cartesian + "H 1 2 3\n"), powder(parameters_for("1H", "1H")));
    EXPECT_EQ(run.status, dipolar_status::ok);
    EXPECT_EQ(run.report, crlf(powder_header + "\nSecond moment:  0\n"));
}

TEST(PowderSum, CommentsStayWhereTheyStand) {
    const std::string text = crlf(cartesian +
                                  "/ before the observed atom\n"
                                  "H0 0 0 0\n"
                                  " * between\n"
                                  "5 5 5 90 90 90\n"
                                  "H1 0 0 1\n"
                                  "not an atom line\n"
                                  "/ after the last\n");
    const auto lines = report_lines(run_moment(text, powder(parameters_for("1H", "1H"))).report);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], powder_header);
    EXPECT_EQ(lines[1], "/ before the observed atom");
    EXPECT_EQ(lines[2], " * between");
    EXPECT_EQ(lines[3].substr(0, 3), "H1\t");
    EXPECT_EQ(lines[4], "/ after the last");
    EXPECT_EQ(lines[5].substr(0, 16), "Second moment:  ");
}

TEST(PowderSum, ReportsTheNeighboursOwnCoordinatesAndLabel) {
    dipolar_parameters p = powder(parameters_for("1H", "1H"));
    const auto lines =
        report_lines(run_moment(crlf(cartesian + "c 1 1 1\nSi_long_label 1 4 5\n"), p).report);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].substr(0, 22), "Si_long_label\t1\t4\t5\t5\t");
}

TEST(PowderSum, CancelKeepsWhatWasWritten) {
    std::string text = cartesian + "H 0 0 0\n";
    for (int i = 1; i <= 1000; ++i) text += c_format("H%d %d 0 0\n", i, i);
    const dipolar_parameters p = powder(parameters_for("1H", "1H"));
    const test::moment_run whole = run_moment(crlf(text), p);
    const test::moment_run cancelled = run_moment(crlf(text), p, 2);
    EXPECT_EQ(cancelled.status, dipolar_status::cancelled);
    EXPECT_LT(cancelled.report.size(), whole.report.size());
    EXPECT_GT(report_lines(cancelled.report).size(), 1u);
    EXPECT_EQ(whole.report.compare(0, cancelled.report.size(), cancelled.report), 0);
    EXPECT_EQ(cancelled.report.find("Second moment"), std::string::npos);
}

TEST(InputChecks, StatusCodesOfTheInput) {
    const struct {
        const char* name;
        std::string text;
        dipolar_status status;
        std::string powder_report;  // what the powder sum leaves in the file
    } cases[] = {
        {"first line a comment", "/ comment\n1 1 1 90 90 90\nH 0 0 0\n",
         dipolar_status::no_unit_cell, ""},
        {"no cell line", "H 0 0 0\nH 1 0 0\n", dipolar_status::no_unit_cell, ""},
        {"empty input", "", dipolar_status::no_unit_cell, ""},
        {"cell not Cartesian", "5.43 5.43 5.43 90 90 90\nH 0 0 0\n", dipolar_status::not_cartesian,
         ""},
        {"alpha not 90", "1 1 1 60 90 90\nH 0 0 0\n", dipolar_status::not_cartesian, ""},
        {"no atom line", "1 7.5 3.2 90 120 60\n/ only a comment\n", dipolar_status::unexpected_end,
         powder_header + "\n/ only a comment\n"},
        // A neighbour that is no number would drop out of the sum unseen; refused before the
        // first line of either report.
        {"neighbour not a number", cartesian + "H0 0 0 0\nH1 1 0 0\nH2 nan 0 0\n",
         dipolar_status::wrong_data_format, ""},
        {"neighbour beyond single precision", cartesian + "H0 0 0 0\nH1 0 0 1e39\n/ c\nH2 1 0 0\n",
         dipolar_status::wrong_data_format, ""},
        {"observed nucleus not a number", cartesian + "H0 0 -nan 0\nH1 1 0 0\n",
         dipolar_status::wrong_data_format, ""},
        {"origin line as the observed nucleus", cartesian + "OR inf 0 0\nH1 1 0 0\n",
         dipolar_status::wrong_data_format, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int type : {0, 1}) {
            dipolar_parameters p = parameters_for("1H", "1H");
            p.moment_type = type;
            const test::moment_run run = run_moment(crlf(c.text), p);
            EXPECT_EQ(run.status, c.status);
            EXPECT_EQ(run.report, type == 0 ? crlf(c.powder_report)
                                  : c.status == dipolar_status::unexpected_end
                                      ? crlf("/ only a comment\n")
                                      : "");
        }
    }
}

TEST(RotationPattern, ZeroToOneEightyByOneGives181Lines) {
    const dipolar_parameters p = parameters_for("1H", "1H");
    const auto lines = report_lines(run_moment(crlf(cartesian + "H 0 0 0\nH 1 1 0\n"), p).report);
    ASSERT_EQ(lines.size(), 181u);
    for (int g = 0; g <= 180; ++g) {
        SCOPED_TRACE(g);
        EXPECT_EQ(lines[g].substr(0, lines[g].find(' ')), c_format("%d", g));
        EXPECT_EQ(lines[g].substr(lines[g].find(' '), 4), "    ");
    }
}

TEST(RotationPattern, AnglesAreStartPlusAWholeNumberOfIncrements) {
    const struct {
        const char* name;
        double start, increment, end;
        std::vector<std::string> angles;
    } cases[] = {
        // A running sum of 0.1 reaches 0.9999999999999999 after ten steps; the product is 1.
        {"end met exactly",
         0,
         0.1,
         1,
         {"0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1"}},
        {"end between angles", -10, 7, 10, {"-10", "-3", "4"}},
        {"single angle", 42, 5, 42, {"42"}},
        {"start beyond the end", 10, 1, 9, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dipolar_parameters p = parameters_for("1H", "1H");
        p.gamma_start = c.start;
        p.gamma_increment = c.increment;
        p.gamma_end = c.end;
        const test::moment_run run = run_moment(crlf(cartesian + "H 0 0 0\nH 1 1 0\n"), p);
        EXPECT_EQ(run.status, dipolar_status::ok);
        std::vector<std::string> angles;
        for (const auto& line : report_lines(run.report))
            angles.push_back(line.substr(0, line.find(' ')));
        EXPECT_EQ(angles, c.angles);
    }
}

TEST(RotationPattern, IncrementOfZeroOrLessIsRefusedBeforeTheFirstLine) {
    for (double increment : {0.0, -0.0, -1.0, std::nan("")}) {
        SCOPED_TRACE(increment);
        dipolar_parameters p = parameters_for("1H", "1H");
        p.gamma_increment = increment;
        const test::moment_run run = run_moment(crlf(cartesian + "/ c\nH 0 0 0\nH 1 1 0\n"), p);
        EXPECT_EQ(run.status, dipolar_status::increment_not_positive);
        EXPECT_EQ(run.report, "");
        // With the start beyond the end there is nothing to refuse.
        p.gamma_start = 200;
        EXPECT_EQ(run_moment(crlf(cartesian + "H 0 0 0\n"), p).status, dipolar_status::ok);
    }
}

// A regression test: an infinite end (or start) angle kept the pattern writing lines for
// ever, as an increment of zero would.
TEST(RotationPattern, InfiniteStartOrEndIsRefusedBeforeTheFirstLine) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        double start, end;
    } cases[] = {{"infinite end", 0, inf}, {"start at minus infinity", -inf, 180}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dipolar_parameters p = parameters_for("1H", "1H");
        p.gamma_start = c.start;
        p.gamma_end = c.end;
        const test::moment_run run = run_moment(crlf(cartesian + "H 0 0 0\nH 1 1 0\n"), p);
        EXPECT_EQ(run.status, dipolar_status::angles_not_finite);
        EXPECT_EQ(run.report, "");
    }
}

// With beta 0 the axis is z and the field turns in the x-y plane: a neighbour straight
// above is always perpendicular to it, so its term is the same at every angle.
TEST(RotationPattern, NeighbourOnTheRotationAxisGivesAConstantMoment) {
    dipolar_parameters p = parameters_for("19F", "19F");
    p.beta = 0;
    p.alpha = 33;
    p.gamma_end = 360;
    p.gamma_increment = 15;
    const auto lines = report_lines(run_moment(crlf(cartesian + "F 1 2 3\nF 1 2 5\n"), p).report);
    ASSERT_EQ(lines.size(), 25u);
    const double d = 167.845 * 25.18148 * 25.18148 / 8.0;
    const double expected = 1.5 * 1.5 * d * d * pi10 * pi10;
    EXPECT_NEAR(moment_of(lines[0]), expected, 5e-6 * expected);
    const std::string value = lines[0].substr(lines[0].rfind(' '));
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], c_format("%g   ", 15.0 * static_cast<double>(i)) + value);
}

TEST(RotationPattern, NeighbourOnTheObservedNucleusIsSkipped) {
    const dipolar_parameters p = parameters_for("1H", "1H");
    EXPECT_EQ(run_moment(crlf(cartesian + "H 1 1 1\nH 1 1 1\nH 2 1 1\n"), p).report,
              run_moment(crlf(cartesian + "H 1 1 1\nH 2 1 1\n"), p).report);
}

// The field direction turns about the axis: with the axis along z (beta 0, alpha 0) and
// clockwise sense, the field lies along y at 0 degrees and along x at 90 degrees; the
// anticlockwise sense mirrors the pattern, and the phase shifts it.
TEST(RotationPattern, SenseAndPhaseOfTheRotation) {
    dipolar_parameters p = parameters_for("1H", "1H");
    p.abundance = 100;
    p.beta = 0;
    p.gamma_increment = 90;
    p.gamma_start = -90;
    p.gamma_end = 90;
    const std::string text = crlf(cartesian + "H 0 0 0\nH 1 0 0\n");
    const auto pattern = [&](const std::string& text, const dipolar_parameters& q) {
        std::vector<double> values;
        for (const auto& line : report_lines(run_moment(text, q).report))
            values.push_back(moment_of(line));
        return values;
    };
    const auto expect_moments = [](const std::vector<double>& got,
                                   const std::vector<double>& expected) {
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], expected[i], 5e-6 * expected[i]) << i;
    };
    // (S + 1) * 3S * D^2 * pi^2 with D = (1 - 3 u^2) * 167.845 * gamma^2 / r^3.
    const double d = 167.845 * 26.7522128 * 26.7522128;
    const double along = 2.25 * 4 * d * d * pi10 * pi10;
    const double across = 2.25 * d * d * pi10 * pi10;
    const std::string on_x = crlf(cartesian + "H 0 0 0\nH 1 0 0\n");
    expect_moments(pattern(on_x, p), {along, across, along});
    dipolar_parameters shifted = p;
    shifted.phase = 90;
    expect_moments(pattern(on_x, shifted), {across, along, across});

    // A neighbour along (1, 1, 0) lies along the field at 45 degrees clockwise, at -45
    // anticlockwise.
    const std::string diagonal = crlf(cartesian + "H 0 0 0\nH 1 1 0\n");
    const double r6 = 8.0;
    dipolar_parameters q = p;
    q.gamma_start = -45;
    q.gamma_end = 45;
    q.rotation_sense = 0;
    expect_moments(pattern(diagonal, q), {across / r6, along / r6});
    q.rotation_sense = 1;
    expect_moments(pattern(diagonal, q), {along / r6, across / r6});
}

TEST(RotationPattern, CancelKeepsTheLinesWritten) {
    dipolar_parameters p = parameters_for("1H", "1H");
    const std::string text = crlf(cartesian + "/ c\nH 0 0 0\nH 1 1 0\n");
    const test::moment_run whole = run_moment(text, p);
    const test::moment_run cancelled = run_moment(text, p, 3);
    EXPECT_EQ(cancelled.status, dipolar_status::cancelled);
    EXPECT_EQ(report_lines(cancelled.report).size(), 6u);
    EXPECT_EQ(whole.report.compare(0, cancelled.report.size(), cancelled.report), 0);
}

TEST(RotationPattern, LineCountForProgress) {
    const struct {
        double start, increment, end;
        std::uint64_t count;
    } cases[] = {{0, 1, 180, 181}, {0, 0.1, 1, 11}, {10, 1, 9, 0}, {-10, 7, 10, 3}, {5, 2, 5, 1}};
    for (const auto& c : cases) {
        dipolar_parameters p;
        p.gamma_start = c.start;
        p.gamma_increment = c.increment;
        p.gamma_end = c.end;
        EXPECT_EQ(rotation_line_count(p), c.count) << c.start << " " << c.increment << " " << c.end;
    }
}

// Random structures with comments, origin lines, cell-shaped lines, duplicates and a cut-off,
// under random axes, angles, phases and senses: the prepared pattern must write exactly what
// a pass over the input per angle writes.
TEST(RotationPattern, EqualsAPassOverTheInputPerAngle) {
    std::mt19937 random(20240519);
    std::uniform_real_distribution<double> coordinate(-6.0, 6.0);
    std::uniform_real_distribution<double> angle(-400.0, 400.0);
    std::uniform_int_distribution<int> pick(0, 19);
    const char* pairs[][2] = {{"1H", "1H"},     {"19F", "19F"}, {"1H", "13C"},
                              {"27Al", "27Al"}, {"29Si", "1H"}, {"15N", "15N"}};
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE(trial);
        std::string text = "1 7.5 3.2 90 120 60\n";
        const int atoms = 1 + trial % 13;
        for (int i = 0; i < atoms * 2; ++i) {
            switch (pick(random)) {
                case 0:
                    text += c_format("/ comment %d\n", i);
                    break;
                case 1:
                    text += c_format("x* starred %d\n", i);
                    break;
                case 2:
                    text += c_format("OR %.3f %.3f %.3f\n", coordinate(random), 0.0, 1.0);
                    break;
                case 3:
                    text += "4 4 4 90 90 90\n";
                    break;
                case 4:
                    text += "H1 0.5 0.5\n";
                    break;
                case 5:
                    text += "H 0 0 0\n";
                    break;
                case 6:
                    text += c_format("H%d 0 0 %.4f\n", i, coordinate(random));
                    break;
                default:
                    text += c_format("H%d %.5f %.5f %.5f\n", i, coordinate(random),
                                     coordinate(random), coordinate(random));
            }
        }
        const auto& pair = pairs[trial % std::size(pairs)];
        dipolar_parameters p = parameters_for(pair[0], pair[1]);
        p.alpha = angle(random);
        p.beta = trial % 5 == 0 ? 0.0 : angle(random);
        p.phase = angle(random);
        p.rotation_sense = trial % 2;
        p.gamma_start = angle(random) / 4;
        p.gamma_increment = 0.5 + trial;
        p.gamma_end = p.gamma_start + 90 + trial;
        p.cutoff = trial % 3 == 0 ? -4.0 : 1000.0;
        if (text.find("\nH") == std::string::npos) text += "H 0 0 0\n";
        const test::moment_run run = run_moment(crlf(text), p);
        ASSERT_EQ(run.status, dipolar_status::ok);
        EXPECT_EQ(run.report, test::reference_pattern(crlf(text), p)) << text;
    }
}

}  // namespace
}  // namespace orvix
