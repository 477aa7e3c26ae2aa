// The cluster around one atom of a crystal, without any user interface: the atom, then every
// atom of every periodic image of the cell within a radius of it, nearest first, in
// Cartesian coordinates. The atoms are found shell by shell (distance ranges from the centre
// outwards), each shell gathered afresh from the images that can reach into it and sorted on
// its own, so memory depends on the input and a fixed batch, never on the radius.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/positions.h"

namespace orvix {

// Fractional into Cartesian coordinates, row-major: cartesian[i] = sum of m[i][k] * frac[k].
using cell_matrix3 = std::array<std::array<double, 3>, 3>;

// The labels of the table's atoms, origin lines left out, each once, in input order.
std::vector<std::string> cluster_labels(const atom_table& atoms);

// The first atom labelled exactly `label` (origin lines are never one), or nothing.
std::optional<std::size_t> find_cluster_site(const atom_table& atoms, std::string_view label);

// How many records (32 bytes each) a shell holds at most, unless more atoms than that lie at
// exactly the same distance.
inline constexpr std::size_t default_cluster_batch = std::size_t{1} << 18;

// Everything the count and the writing need, prepared once.
struct cluster_plan {
    const atom_table* atoms = nullptr;
    cell_matrix3 m{};
    std::size_t site = 0;
    double radius_squared = 0.0;
    std::vector<std::size_t> members;            // table index of every atom, OR lines left out
    std::vector<std::array<double, 3>> offsets;  // M (f_j - f_site) for each member
    std::array<double, 3> centre{};              // a point amid the offsets, fractional
    double spread = 0.0;                         // no offset lies farther than this from it
    std::array<std::int64_t, 3> reach{};         // |translation| bound along each edge
    cell_matrix3 inverse{};                      // Cartesian into fractional
    double density = 0.0;                        // atoms per cubic Angstrom
    std::size_t batch = default_cluster_batch;
};

enum class cluster_plan_status { ok, radius_not_valid, radius_too_large, cell_singular };

// Prepares the cluster around table atom `site` (not an origin line) for a radius in
// Angstrom: a finite number, zero or more, reaching across fewer than 2^31 cells along every
// edge of the cell whose fractional-to-Cartesian matrix is `m`.
cluster_plan_status plan_cluster(const atom_table& atoms, std::size_t site, double radius,
                                 const cell_matrix3& m, cluster_plan& plan);

// The rows of translations count_cluster scans (its progress total).
std::uint64_t cluster_scan_rows(const cluster_plan& plan);

// How many atoms lie within the radius of the site, the site itself not counted: the lines
// write_cluster writes after the site's. Progress counts rows of translations scanned;
// nothing when stopped.
std::optional<std::uint64_t> count_cluster(const cluster_plan& plan,
                                           const progress_callback& progress);

// Writes the site's atom line, then every atom within the radius: ordered by the squared
// distance from the site, computed in double precision as |M (f_j - f_site) + M n| for the
// translation n; equal distances in input order, then in translation order (z first, then
// y, then x, each from negative to positive). Coordinates are M (f_j + n) rounded to single
// precision. Progress counts lines written.
write_outcome write_cluster(line_writer& out, const cluster_plan& plan,
                            const progress_callback& progress);

}  // namespace orvix
