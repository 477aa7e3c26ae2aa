// The Van Vleck dipolar second moment M2 of one observed nucleus from the positions of its
// neighbours: as a powder sum (orientation average, one report line per neighbour and a
// total) and as a single-crystal rotation pattern (one line per rotation angle).
//
// Input: a crystal data text whose first line is a Cartesian cell (a = 1, alpha = 90), so
// that coordinates are in Angstrom. The first atom line is the observed nucleus; every later
// atom line but origin lines (label OR) is a coupled neighbour. Gyromagnetic ratios are in
// 10^7 rad s^-1 T^-1 and M2 comes out in rad^2 s^-2.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "crystal/records.h"
#include "platform/dialog_records.h"
#include "platform/files.h"

namespace orvix {

// The status of a computation: 0, or the number of the message that reports the failure.
// Statuses 100 to 102 are refusals of this program's own and have no message number.
enum class dipolar_status : int {
    ok = 0,
    could_not_read = 3,            // the input could not be set back to its start
    no_unit_cell = 4,              // the first line is not a cell line
    not_cartesian = 5,             // the cell is not Cartesian
    unexpected_end = 6,            // no atom line at all
    increment_not_positive = 100,  // the rotation pattern would never reach its end angle
    cancelled = 101,               // the user cancelled the progress dialog
    angles_not_finite = 102,       // an infinite start or end angle: the pattern never ends
    wrong_data_format = 165,       // a coordinate of an atom that takes part is no finite number
};

// Constants with the exact values the reports are defined with.
namespace dipolar_constants {
// 167.845 * gamma1 * gamma2 / r^3 is the dipolar coupling in Hz for gyromagnetic ratios in
// 10^7 rad s^-1 T^-1 and r in Angstrom (mu0 hbar / (8 pi^2), rounded as the program has it).
inline constexpr double coupling = 167.845;
// Pi to ten significant digits, not the full-precision value: part of the definition of
// every reported moment.
inline constexpr double pi = 3.141592654;
// Van Vleck's 3/5, 4/15, 3/4 and 1/3 times 4 (with pi^2 they turn a squared coupling in Hz
// into rad^2 s^-2). The like-spins powder factor is one bit above the double nearest to 2.4
// (bits 4003333333333334, what (0.2 * 3) * 4 gives in doubles): the reports are defined
// with it.
inline constexpr double powder_like = 2.4000000000000004;
inline constexpr double powder_unlike = 1.0666666666666667;
inline constexpr double crystal_like = 3.0;
inline constexpr double crystal_unlike = 1.3333333333333333;
inline constexpr double percent = 0.01;
}  // namespace dipolar_constants

// The input as read once, in file order: comment lines (with their line ends, as they are
// copied into a report) and atom lines.
struct dipolar_entry {
    bool is_comment = false;
    std::string comment;
    atom_record atom;
};

struct dipolar_input {
    std::vector<dipolar_entry> entries;
};

// Checks the cell line (no_unit_cell, not_cartesian) and reads every comment and atom line
// of the input from its start, as the crystal data readers would return them. An observed
// nucleus or a neighbour with a coordinate that is not a finite number (nan, or a number
// beyond single precision) is refused with wrong_data_format: such a neighbour could only be
// left out of the sum, which would then look complete. Origin lines take no part and are
// not checked. A read error throws read_failure.
dipolar_status read_dipolar_input(exclusive_file& input, dipolar_input& out);

// Called after each unit of work with the number done so far; false stops the work.
using progress_step = std::function<bool(std::uint64_t done)>;

// Spins are like when the two gyromagnetic ratios are equal (the nuclei are not compared).
bool like_spins(const dipolar_parameters& parameters);

// The powder report: a header, one line per neighbour within the cut-off, the comment lines
// where they stand, and "Second moment:  M2". The total is also stored in `total` when given.
// Progress counts entries of the input.
dipolar_status write_powder_sum(const dipolar_input& input, const dipolar_parameters& parameters,
                                exclusive_file& result, const progress_step& step,
                                double* total = nullptr);

// The single-crystal pattern, prepared once: everything that does not depend on the
// rotation angle, so that each angle costs one pass over the neighbours.
struct neighbour_direction {
    double ex;  // sin theta cos phi of the internuclear vector
    double ey;  // sin theta sin phi
    double ez;  // cos theta
    double r3;  // r * r * r
};

struct rotation_pattern {
    bool has_observed = false;
    std::string comments;  // every comment line, in file order: copied before each line
    std::vector<neighbour_direction> neighbours;
    double sign = -1.0;  // -1 clockwise, +1 anticlockwise
    double sin_alpha = 0, cos_alpha = 1, sin_beta = 1, cos_beta = 0;
    double spin_factor = 0;  // (S + 1) * (3 S) or (S + 1) * (S * 4/3)
};

rotation_pattern prepare_rotation_pattern(const dipolar_input& input,
                                          const dipolar_parameters& parameters);

// M2 at rotation angle g (degrees, as entered: phase and sense are applied here).
double pattern_moment(const rotation_pattern& pattern, const dipolar_parameters& parameters,
                      double g);

// How many pattern lines the parameters ask for (0 when the start lies beyond the end);
// only an estimate for the progress display when the increment does not divide the range.
std::uint64_t rotation_line_count(const dipolar_parameters& parameters);

// The pattern report: for every angle from gamma_start in steps of gamma_increment up to
// gamma_end, all comment lines of the input and then "g    M2". Nothing is written when
// the start lies beyond the end; an increment that is not positive is refused before the
// first line. Progress counts finished lines; a cancel keeps the lines already written.
dipolar_status write_rotation_pattern(const dipolar_input& input,
                                      const dipolar_parameters& parameters, exclusive_file& result,
                                      const progress_step& step);

}  // namespace orvix
