// Powder sum and single-crystal rotation pattern of the dipolar second moment.
//
// The arithmetic follows the report's definition step by step and in the same order of
// operations (each product and quotient rounded where the formula rounds it), so that the
// pattern computed from the prepared directions is bit for bit the one a pass over the
// input would give. The library is built with floating-point contraction off for the same
// reason.
#include "dipolar/moment.h"

#include <cmath>

#include "numeric/angles.h"
#include "platform/c_format.h"

namespace orvix {

namespace dc = dipolar_constants;

namespace {

bool keep_going(const progress_step& step, std::uint64_t done) {
    return !step || step(done);
}

// How often the powder sum reports progress: often enough for a responsive Cancel, rarely
// enough to cost nothing.
constexpr std::size_t powder_progress_every = 256;

struct offset {
    double dx, dy, dz, r;
};

offset offset_between(const atom_record& observed, const atom_record& neighbour) {
    offset o;
    o.dx = static_cast<double>(neighbour.x) - static_cast<double>(observed.x);
    o.dy = static_cast<double>(neighbour.y) - static_cast<double>(observed.y);
    o.dz = static_cast<double>(neighbour.z) - static_cast<double>(observed.z);
    o.r = std::sqrt(o.dx * o.dx + o.dy * o.dy + o.dz * o.dz);
    return o;
}

// A neighbour counts when it lies within the cut-off (a negative cut-off acts as its
// absolute value) and away from the observed nucleus: a distance of 0 is the observed
// nucleus listed twice (a symmetry image on a special position), whose term would be
// infinite. Coordinates that are not numbers never get here: the input is refused.
bool counts(double r, const dipolar_parameters& parameters) {
    return !(r > std::fabs(parameters.cutoff)) && r > 0.0;
}

// arccos, formed in degrees and turned back into radians, as the angles are defined.
double arccos_via_degrees(double c) {
    return std::acos(c) / degree_factor * degree_factor;
}

}  // namespace

dipolar_status read_dipolar_input(exclusive_file& input, dipolar_input& out) {
    std::string cell;
    if (!read_cell_line(input, cell)) return dipolar_status::no_unit_cell;
    if (!is_cartesian_cell(cell)) return dipolar_status::not_cartesian;
    if (!input.rewind()) return dipolar_status::could_not_read;
    out.entries.clear();
    // The same records, tested in the same order, that read_atom_line meets; kept in memory
    // because the rotation pattern copies the comments once per angle.
    std::string line;
    bool has_observed = false;
    while (read_text_line(line, input)) {
        dipolar_entry entry;
        if (is_comment_line(line)) {
            entry.is_comment = true;
            entry.comment = std::move(line);
        } else if (is_cell_line(line) || !parse_atom_line(line, entry.atom)) {
            continue;
        } else {
            // The first atom line is the observed nucleus, whatever its label.
            const bool takes_part = !has_observed || !is_origin_label(entry.atom.label);
            has_observed = true;
            if (takes_part && !is_finite_position(entry.atom.x, entry.atom.y, entry.atom.z))
                return dipolar_status::wrong_data_format;
        }
        out.entries.push_back(std::move(entry));
    }
    return dipolar_status::ok;
}

bool like_spins(const dipolar_parameters& parameters) {
    return parameters.gamma_coupled == parameters.gamma_observed;
}

dipolar_status write_powder_sum(const dipolar_input& input, const dipolar_parameters& parameters,
                                exclusive_file& result, const progress_step& step, double* total) {
    result.write("nucleus\tx\ty\tz\tdist.\tR\tM2 contribution\r\n");
    const double k = like_spins(parameters) ? dc::powder_like : dc::powder_unlike;
    const double s = parameters.spin_coupled;
    const atom_record* observed = nullptr;
    double m2 = 0.0;
    std::string line;
    for (std::size_t i = 0; i < input.entries.size(); ++i) {
        const dipolar_entry& entry = input.entries[i];
        if (entry.is_comment) {
            result.write(entry.comment);
        } else if (observed == nullptr) {
            observed = &entry.atom;
        } else if (!is_origin_label(entry.atom.label)) {
            const offset o = offset_between(*observed, entry.atom);
            if (counts(o.r, parameters)) {
                const double coupling =
                    (parameters.gamma_observed * dc::coupling * parameters.gamma_coupled) /
                    (o.r * o.r * o.r);
                const double term = (s + 1) * (s * k) * coupling * coupling * dc::pi * dc::pi *
                                    (parameters.abundance * dc::percent);
                m2 = m2 + term;
                line.clear();
                c_format_append(line, "%s\t%g\t%g\t%g\t%g\t%g\t%g\r\n", entry.atom.label.c_str(),
                                static_cast<double>(entry.atom.x),
                                static_cast<double>(entry.atom.y),
                                static_cast<double>(entry.atom.z), o.r, coupling, term);
                result.write(line);
            }
        }
        if ((i + 1) % powder_progress_every == 0 && !keep_going(step, i + 1))
            return dipolar_status::cancelled;
    }
    if (observed == nullptr) return dipolar_status::unexpected_end;
    result.write(c_format("Second moment:  %g\r\n", m2));
    if (total != nullptr) *total = m2;
    return dipolar_status::ok;
}

rotation_pattern prepare_rotation_pattern(const dipolar_input& input,
                                          const dipolar_parameters& parameters) {
    rotation_pattern pattern;
    pattern.sign = parameters.rotation_sense == 0 ? -1.0 : 1.0;
    const double a = parameters.alpha * degree_factor;
    const double b = parameters.beta * degree_factor;
    pattern.sin_alpha = std::sin(a);
    pattern.cos_alpha = std::cos(a);
    pattern.sin_beta = std::sin(b);
    pattern.cos_beta = std::cos(b);
    const double s = parameters.spin_coupled;
    pattern.spin_factor = like_spins(parameters) ? (s + 1) * (dc::crystal_like * s)
                                                 : (s + 1) * (s * dc::crystal_unlike);

    const atom_record* observed = nullptr;
    for (const dipolar_entry& entry : input.entries) {
        if (entry.is_comment) {
            pattern.comments += entry.comment;
            continue;
        }
        if (observed == nullptr) {
            observed = &entry.atom;
            continue;
        }
        if (is_origin_label(entry.atom.label)) continue;
        const offset o = offset_between(*observed, entry.atom);
        if (!counts(o.r, parameters)) continue;
        // The direction as polar angles of the internuclear vector.
        const double cz = clamp_cosine(o.dz / o.r);
        const double theta = arccos_via_degrees(cz);
        const double sin_theta = std::sin(theta);
        double phi = 0.0;
        if (sin_theta != 0.0) {
            const double cx = clamp_cosine(o.dx / (o.r * sin_theta));
            phi = o.dy >= 0.0 ? arccos_via_degrees(cx) : -arccos_via_degrees(cx);
        }
        pattern.neighbours.push_back(
            {sin_theta * std::cos(phi), sin_theta * std::sin(phi), cz, o.r * o.r * o.r});
    }
    pattern.has_observed = observed != nullptr;
    return pattern;
}

double pattern_moment(const rotation_pattern& pattern, const dipolar_parameters& parameters,
                      double g) {
    // The field direction: perpendicular to the rotation axis (sin b cos a, sin b sin a,
    // cos b), turned by psi about it; the second row of the forwards Euler matrix.
    const double psi = pattern.sign * (g + parameters.phase) * degree_factor;
    const double sin_psi = std::sin(psi);
    const double cos_psi = std::cos(psi);
    const double ca = pattern.cos_alpha, sa = pattern.sin_alpha;
    const double cb = pattern.cos_beta, sb = pattern.sin_beta;
    const double nx = -cb * ca * sin_psi - sa * cos_psi;
    const double ny = ca * cos_psi - cb * sa * sin_psi;
    const double nz = sb * sin_psi;

    const double go = parameters.gamma_observed;
    const double gc = parameters.gamma_coupled;
    const double fraction = parameters.abundance * dc::percent;
    double m2 = 0.0;
    for (const neighbour_direction& n : pattern.neighbours) {
        const double u = n.ex * nx + n.ey * ny + n.ez * nz;
        const double d = (1 - 3 * u * u) * dc::coupling * go * gc / n.r3;
        double term = pattern.spin_factor * d * d;
        term = term * dc::pi * dc::pi * fraction;
        m2 = m2 + term;
    }
    return m2;
}

std::uint64_t rotation_line_count(const dipolar_parameters& parameters) {
    const double start = parameters.gamma_start;
    const double end = parameters.gamma_end;
    const double step = parameters.gamma_increment;
    if (!(start <= end)) return 0;
    if (!(step > 0.0)) return 1;
    const double count = std::floor((end - start) / step) + 1.0;
    constexpr double largest = 1e18;
    return count < largest ? static_cast<std::uint64_t>(count)
                           : static_cast<std::uint64_t>(largest);
}

dipolar_status write_rotation_pattern(const dipolar_input& input,
                                      const dipolar_parameters& parameters, exclusive_file& result,
                                      const progress_step& step) {
    double g = parameters.gamma_start;
    if (!(g <= parameters.gamma_end)) return dipolar_status::ok;
    // Angles start + n * increment never pass the end for an increment of 0 or less, nor
    // when the start or the end is infinite.
    if (!(parameters.gamma_increment > 0.0)) return dipolar_status::increment_not_positive;
    if (!std::isfinite(parameters.gamma_start) || !std::isfinite(parameters.gamma_end))
        return dipolar_status::angles_not_finite;

    const rotation_pattern pattern = prepare_rotation_pattern(input, parameters);
    if (!pattern.has_observed) {
        result.write(pattern.comments);
        return dipolar_status::unexpected_end;
    }
    std::string block;
    for (std::uint64_t passes = 0;;) {
        const double m2 = pattern_moment(pattern, parameters, g);
        block.assign(pattern.comments);
        c_format_append(block, "%g    %g\r\n", g, m2);
        result.write(block);
        ++passes;
        if (!keep_going(step, passes)) return dipolar_status::cancelled;
        // A product, not a running sum, so that no rounding error accumulates.
        g = parameters.gamma_start + static_cast<double>(passes) * parameters.gamma_increment;
        if (!(g <= parameters.gamma_end)) return dipolar_status::ok;
    }
}

}  // namespace orvix
