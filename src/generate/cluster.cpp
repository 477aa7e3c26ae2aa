// The cluster around one atom: images of the cell swept in distance shells.
//
// Every atom j of translation n lies at M (f_j - f_site) + M n from the site. The images are
// visited row by row (n2 and n3 fixed, n1 running); along a row the distance of the image
// from the site is a quadratic in n1, so the n1 that can reach into a shell follow from a
// square root instead of a search. A shell gathers its atoms as compact records; when more
// arrive than the batch holds, its outer bound moves in to the median distance and the
// records beyond it are dropped (they come back with the next shell), so memory stays
// bounded and no shell is ever scanned twice.
#include "generate/cluster.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

#include "crystal/records.h"

namespace orvix {

namespace {

using vec = std::array<double, 3>;

// Progress is asked after about this many atom positions tried.
constexpr std::uint64_t work_between_progress = std::uint64_t{1} << 20;

// The largest translation along an edge that the records hold.
constexpr double largest_translation = 2147483646.0;

// M v in the order Orthogonalize > Coordinates multiplies, so that the site's line is
// the line it writes for that atom.
vec multiply(const cell_matrix3& m, const vec& v) {
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2],
            m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

double dot(const vec& a, const vec& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

std::string_view trimmed_label(std::string_view field) {
    while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
    return field;
}

bool invert(const cell_matrix3& m, cell_matrix3& inverse) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (!std::isfinite(det) || det == 0.0) return false;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            // The cofactor of element (j, i), divided by the determinant.
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            inverse[i][j] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
        }
    return true;
}

struct shell_entry {
    double d2;
    std::size_t member;
    std::array<std::int32_t, 3> n;
};

bool nearer(const shell_entry& a, const shell_entry& b) {
    if (a.d2 != b.d2) return a.d2 < b.d2;
    if (a.member != b.member) return a.member < b.member;
    for (int k = 2; k >= 0; --k)
        if (a.n[static_cast<std::size_t>(k)] != b.n[static_cast<std::size_t>(k)])
            return a.n[static_cast<std::size_t>(k)] < b.n[static_cast<std::size_t>(k)];
    return false;
}

// The whole numbers from ceil(low) to floor(high), widened by one on either side (rounding
// of the bounds must never lose an image: every atom is tested exactly anyway), within
// [-limit, limit].
std::pair<std::int64_t, std::int64_t> whole_range(double low, double high, std::int64_t limit) {
    const double lo = std::max(std::ceil(low) - 1.0, static_cast<double>(-limit));
    const double hi = std::min(std::floor(high) + 1.0, static_cast<double>(limit));
    return {static_cast<std::int64_t>(lo), static_cast<std::int64_t>(hi)};
}

// The translations n2 (first) and n3 (second) whose images can come within `outer` of the
// site: along edge k a sphere of radius r spans r * |row k of M^-1| in fractional units.
std::array<std::pair<std::int64_t, std::int64_t>, 3> row_ranges(const cluster_plan& plan,
                                                                double outer) {
    std::array<std::pair<std::int64_t, std::int64_t>, 3> range{};
    for (std::size_t k = 0; k < 3; ++k) {
        const double h = std::sqrt(dot(plan.inverse[k], plan.inverse[k]));
        range[k] =
            whole_range(-outer * h - plan.centre[k], outer * h - plan.centre[k], plan.reach[k]);
    }
    return range;
}

double slack_of(const cluster_plan& plan, double outer) {
    return plan.spread + 1e-7 * (outer + plan.spread + 1.0);
}

// Visits every atom position with lo2 <= d2 < hi2 (squared distances from the site), the site
// itself left out. `hi2` may be lowered by `visit` while the sweep runs. `tick` is called now
// and then with the rows finished so far; false from it stops the sweep (false returned).
template <typename Visit, typename Tick>
bool sweep(const cluster_plan& plan, double lo2, const double& hi2, Visit&& visit, Tick&& tick) {
    const cell_matrix3& m = plan.m;
    const vec column0 = {m[0][0], m[1][0], m[2][0]};
    const double a_a = dot(column0, column0);
    const std::size_t count = plan.members.size();
    const double lo = std::sqrt(lo2);
    std::uint64_t work = 0;
    std::uint64_t rows = 0;
    // Generous against rounding: the bounds only choose the images to try.
    const auto slack = [&plan](double outer) { return slack_of(plan, outer); };

    const double hi_start = std::sqrt(hi2);
    const auto range = row_ranges(plan, hi_start + slack(hi_start));
    for (std::int64_t n3 = range[2].first; n3 <= range[2].second; ++n3)
        for (std::int64_t n2 = range[1].first; n2 <= range[1].second; ++n2) {
            ++rows;
            const double hi = std::sqrt(hi2);
            const double outer = hi + slack(hi);
            const double inner = lo - slack(hi);
            // Image centres along the row: a + n1 * column0.
            const vec a = multiply(m, {plan.centre[0], plan.centre[1] + static_cast<double>(n2),
                                       plan.centre[2] + static_cast<double>(n3)});
            const double b = dot(a, column0);
            const double a2 = dot(a, a);
            const double disc = b * b - a_a * (a2 - outer * outer);
            if (disc < 0.0) continue;
            const double root = std::sqrt(disc);
            const auto [first, last] =
                whole_range((-b - root) / a_a, (-b + root) / a_a, plan.reach[0]);
            // Images wholly inside the shell's inner bound are skipped in one step.
            std::int64_t skip_first = 1, skip_last = 0;
            if (inner > 0.0) {
                const double disc_in = b * b - a_a * (a2 - inner * inner);
                if (disc_in > 0.0) {
                    const double root_in = std::sqrt(disc_in);
                    skip_first = static_cast<std::int64_t>(std::ceil((-b - root_in) / a_a)) + 1;
                    skip_last = static_cast<std::int64_t>(std::floor((-b + root_in) / a_a)) - 1;
                }
            }
            for (std::int64_t n1 = first; n1 <= last; ++n1) {
                if (n1 >= skip_first && n1 <= skip_last) {
                    n1 = skip_last;
                    continue;
                }
                const vec c = {a[0] + static_cast<double>(n1) * column0[0],
                               a[1] + static_cast<double>(n1) * column0[1],
                               a[2] + static_cast<double>(n1) * column0[2]};
                const double centre_distance = std::sqrt(dot(c, c));
                const double hi_now = std::sqrt(hi2);
                if (centre_distance - slack(hi_now) > hi_now ||
                    centre_distance + slack(hi_now) < lo)
                    continue;
                const std::array<std::int32_t, 3> n = {static_cast<std::int32_t>(n1),
                                                       static_cast<std::int32_t>(n2),
                                                       static_cast<std::int32_t>(n3)};
                const vec t = multiply(
                    m, {static_cast<double>(n1), static_cast<double>(n2), static_cast<double>(n3)});
                const bool home = n1 == 0 && n2 == 0 && n3 == 0;
                for (std::size_t j = 0; j < count; ++j) {
                    const vec& p = plan.offsets[j];
                    const double x = p[0] + t[0];
                    const double y = p[1] + t[1];
                    const double z = p[2] + t[2];
                    const double d2 = x * x + y * y + z * z;
                    if (d2 < lo2 || !(d2 < hi2)) continue;
                    if (home && plan.members[j] == plan.site) continue;
                    visit(d2, j, n);
                }
                work += count;
                if (work >= work_between_progress) {
                    work = 0;
                    if (!tick(rows)) return false;
                }
            }
        }
    return true;
}

}  // namespace

std::vector<std::string> cluster_labels(const atom_table& atoms) {
    std::vector<std::string> labels;
    std::unordered_set<std::string_view> seen;
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        const std::string_view label = trimmed_label(atoms.label_field(i));
        if (is_origin_label(label) || !seen.insert(label).second) continue;
        labels.emplace_back(label);
    }
    return labels;
}

std::optional<std::size_t> find_cluster_site(const atom_table& atoms, std::string_view label) {
    if (is_origin_label(label)) return std::nullopt;
    for (std::size_t i = 0; i < atoms.size(); ++i)
        if (trimmed_label(atoms.label_field(i)) == label) return i;
    return std::nullopt;
}

cluster_plan_status plan_cluster(const atom_table& atoms, std::size_t site, double radius,
                                 const cell_matrix3& m, cluster_plan& plan) {
    if (!std::isfinite(radius) || radius < 0.0) return cluster_plan_status::radius_not_valid;
    plan = cluster_plan{};
    plan.atoms = &atoms;
    plan.m = m;
    plan.site = site;
    plan.radius_squared = radius * radius;
    if (!invert(m, plan.inverse)) return cluster_plan_status::cell_singular;

    const auto& fs = atoms.coordinates[site];
    vec low = {0, 0, 0}, high = {0, 0, 0};
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        if (is_origin_label(trimmed_label(atoms.label_field(i)))) continue;
        const auto& f = atoms.coordinates[i];
        const vec d = {static_cast<double>(f[0]) - static_cast<double>(fs[0]),
                       static_cast<double>(f[1]) - static_cast<double>(fs[1]),
                       static_cast<double>(f[2]) - static_cast<double>(fs[2])};
        for (std::size_t k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], d[k]);
            high[k] = std::max(high[k], d[k]);
        }
        plan.members.push_back(i);
        plan.offsets.push_back(multiply(m, d));
    }
    for (std::size_t k = 0; k < 3; ++k) plan.centre[k] = (low[k] + high[k]) / 2;
    const vec c = multiply(m, plan.centre);
    for (const vec& p : plan.offsets) {
        const vec d = {p[0] - c[0], p[1] - c[1], p[2] - c[2]};
        plan.spread = std::max(plan.spread, std::sqrt(dot(d, d)));
    }
    if (!std::isfinite(plan.spread)) return cluster_plan_status::radius_not_valid;

    const double outer = radius + slack_of(plan, radius);
    for (std::size_t k = 0; k < 3; ++k) {
        const double h = std::sqrt(dot(plan.inverse[k], plan.inverse[k]));
        const double reach = std::ceil(outer * h + std::fabs(plan.centre[k])) + 2.0;
        if (!(reach <= largest_translation)) return cluster_plan_status::radius_too_large;
        plan.reach[k] = static_cast<std::int64_t>(reach);
    }
    const double volume = std::fabs(m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                                    m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                                    m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]));
    plan.density = static_cast<double>(plan.members.size()) / volume;
    return cluster_plan_status::ok;
}

std::uint64_t cluster_scan_rows(const cluster_plan& plan) {
    const double radius = std::sqrt(plan.radius_squared);
    const auto range = row_ranges(plan, radius + slack_of(plan, radius));
    const auto size = [](const std::pair<std::int64_t, std::int64_t>& r) {
        return r.second < r.first ? std::uint64_t{0}
                                  : static_cast<std::uint64_t>(r.second - r.first + 1);
    };
    return size(range[1]) * size(range[2]);
}

std::optional<std::uint64_t> count_cluster(const cluster_plan& plan,
                                           const progress_callback& progress) {
    const double hi2 = std::nextafter(plan.radius_squared, std::numeric_limits<double>::infinity());
    std::uint64_t count = 0;
    const bool finished = sweep(
        plan, 0.0, hi2,
        [&count](double, std::size_t, const std::array<std::int32_t, 3>&) { ++count; },
        [&progress](std::uint64_t rows) { return progress(rows); });
    if (!finished) return std::nullopt;
    return count;
}

write_outcome write_cluster(line_writer& out, const cluster_plan& plan,
                            const progress_callback& progress) {
    const atom_table& atoms = *plan.atoms;
    const cell_matrix3& m = plan.m;
    const auto put = [&](std::size_t atom, const std::array<std::int32_t, 3>& n) {
        const auto& f = atoms.coordinates[atom];
        const vec r =
            multiply(m, {static_cast<double>(f[0]) + n[0], static_cast<double>(f[1]) + n[1],
                         static_cast<double>(f[2]) + n[2]});
        out.put_atom(atoms.label_field(atom), static_cast<float>(r[0]), static_cast<float>(r[1]),
                     static_cast<float>(r[2]));
    };
    put(plan.site, {0, 0, 0});
    std::uint64_t written = 1;

    const double end2 =
        std::nextafter(plan.radius_squared, std::numeric_limits<double>::infinity());
    // A shell is first sized for about half a batch at the cell's mean density.
    const double per_shell_volume =
        static_cast<double>(plan.batch) / 2.0 / (plan.density * 4.0 / 3.0 * 3.141592653589793);
    std::vector<shell_entry> records;
    records.reserve(plan.batch + 1);
    double lo2 = 0.0;
    while (lo2 < end2) {
        const double lo = std::sqrt(lo2);
        double hi = std::cbrt(lo * lo * lo + per_shell_volume);
        hi = std::max(hi, lo * (1.0 + 1e-6) + 1e-6);
        double hi2 = std::min(hi * hi, end2);
        records.clear();
        std::size_t limit = plan.batch;
        const auto keep = [&](double d2, std::size_t j, const std::array<std::int32_t, 3>& n) {
            records.push_back({d2, j, n});
            if (records.size() <= limit) return;
            // Too many: the outer bound moves in to the median, keeping atoms that share the
            // nearest distance even when they alone fill the batch.
            const auto middle = records.begin() + static_cast<std::ptrdiff_t>(records.size() / 2);
            std::nth_element(records.begin(), middle, records.end(),
                             [](const auto& x, const auto& y) { return x.d2 < y.d2; });
            double cut = middle->d2;
            const bool any_nearer =
                std::any_of(records.begin(), middle, [cut](const auto& r) { return r.d2 < cut; });
            if (!any_nearer) cut = std::nextafter(cut, std::numeric_limits<double>::infinity());
            records.erase(std::remove_if(records.begin(), records.end(),
                                         [cut](const auto& r) { return r.d2 >= cut; }),
                          records.end());
            hi2 = std::min(hi2, cut);
            // Only atoms at one and the same distance can leave more than half a batch;
            // the limit then doubles so that the cuts stay rare.
            limit = std::max(plan.batch, 2 * records.size());
        };
        if (!sweep(plan, lo2, hi2, keep, [&](std::uint64_t) { return progress(written); }))
            return write_outcome::stopped;
        std::sort(records.begin(), records.end(), nearer);
        for (const shell_entry& r : records) {
            put(plan.members[r.member], r.n);
            if (++written % 4096 == 0 && !progress(written)) return write_outcome::stopped;
        }
        lo2 = hi2;
    }
    return write_outcome::finished;
}

}  // namespace orvix
