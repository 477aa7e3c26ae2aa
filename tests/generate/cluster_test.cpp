// The cluster around an atom against a direct periodic sum written here from the cell's
// metric tensor (no cell matrix at all), with shells cut small, in the order of equal
// distances, and the refusals of the plan.
#include "generate/cluster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "axes/orthogonalize.h"
#include "crystal/records.h"
#include "platform/c_format.h"
#include "support/test_support.h"

namespace orvix {
namespace {

struct built {
    atom_table atoms;
    cell_matrix3 m{};
};

// The atoms and the cell's matrix, turned by the Euler angles given.
built build(const cell_constants& cell, const std::vector<std::pair<std::string, vec3>>& atoms,
            const euler_angles& turn = {0, 0, 0}) {
    built b;
    for (const auto& [label, f] : atoms) {
        append_label_field(b.atoms.label_fields, label);
        b.atoms.label_ends.push_back(b.atoms.label_fields.size());
        b.atoms.coordinates.push_back({float(f.x), float(f.y), float(f.z)});
    }
    matrix3 m{}, r{};
    EXPECT_TRUE(fractional_to_cartesian(cell, m) && euler_matrix(turn, forwards_matrix, r));
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            b.m[i][j] = r[i][0] * m[0][j] + r[i][1] * m[1][j] + r[i][2] * m[2][j];
    return b;
}

// The lines write_cluster writes, with shells of at most `batch` records, parsed.
std::vector<atom_record> cluster_of(const built& b, std::size_t site, double radius,
                                    std::size_t batch, std::uint64_t* counted = nullptr) {
    cluster_plan plan;
    EXPECT_EQ(plan_cluster(b.atoms, site, radius, b.m, plan), cluster_plan_status::ok);
    if (batch != default_cluster_batch) plan.batch = batch;  // the plan's own otherwise
    const auto all = [](std::uint64_t) { return true; };
    if (counted != nullptr) *counted = count_cluster(plan, all).value_or(0);
    test::scratch_dir dir;
    {
        auto out = exclusive_file::create(dir.file("out.cry"));
        line_writer writer(*out);
        EXPECT_EQ(write_cluster(writer, plan, all), write_outcome::finished);
        writer.flush();
        out->close();
    }
    const std::string text = test::read_file(dir.file("out.cry"));
    std::vector<atom_record> atoms;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        EXPECT_TRUE(parse_atom_line(text.substr(start, end - start), atoms.emplace_back()));
    }
    return atoms;
}

// Triclinic and monoclinic cells (oblique enough to skew every bound of the sweep), a site
// outside the cell, an origin line, radius 0; shells cut to 3 records give the same lines.
TEST(Cluster, finds_what_a_direct_periodic_sum_finds) {
    const std::vector<std::pair<std::string, vec3>> atoms = {{"C1", {0.12, 0.31, 0.77}},
                                                             {"OR", {0, 0, 0}},
                                                             {"N1", {-0.4, 1.2, 0.05}},
                                                             {"H1", {0.9, 0.02, 0.5}}};
    const struct {
        cell_constants cell;
        std::size_t site;
        double radius;
    } cases[] = {{{{7.3f, 8.1f, 9.4f}, {78, 96, 107}}, 2, 13.7},
                 {{{2.05f, 4.75f, 2.65f}, {61, 118, 72}}, 3, 11.9},
                 {{{4.2f, 11.5f, 6.3f}, {90, 113.5f, 90}}, 0, 3.9},
                 {{{4.85f, 1.95f, 2.2f}, {90, 90, 123}}, 0, 12.1},
                 {{{5, 5, 5}, {90, 90, 90}}, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c_format("%g %g %g", c.cell.angle[0], c.cell.angle[1], c.cell.angle[2]));
        // Squared distances df^T G df with the metric tensor G of the cell.
        double g[3][3];
        for (std::size_t k = 0; k < 3; ++k)
            for (std::size_t l = 0; l < 3; ++l)
                g[k][l] = double(c.cell.length[k]) * c.cell.length[l] *
                          (k == l ? 1 : std::cos(double(c.cell.angle[3 - k - l]) * M_PI / 180));
        std::vector<double> expected;
        const vec3& site = atoms[c.site].second;
        for (const auto& [label, f] : atoms)
            for (int n1 = -16; n1 <= 16; ++n1)
                for (int n2 = -16; n2 <= 16; ++n2)
                    for (int n3 = -16; n3 <= 16; ++n3) {
                        const double df[3] = {float(f.x) + n1 - double(float(site.x)),
                                              float(f.y) + n2 - double(float(site.y)),
                                              float(f.z) + n3 - double(float(site.z))};
                        double d2 = 0;
                        for (int k = 0; k < 3; ++k)
                            for (int l = 0; l < 3; ++l) d2 += df[k] * g[k][l] * df[l];
                        ASSERT_TRUE(d2 == 0 || std::fabs(std::sqrt(d2) - c.radius) > 1e-9);
                        if (label != "OR" && d2 > 0 && std::sqrt(d2) <= c.radius)
                            expected.push_back(std::sqrt(d2));
                    }
        std::sort(expected.begin(), expected.end());
        // The cell as given, and turned (distances stay; no element of the matrix is 0).
        for (const euler_angles& turn :
             {euler_angles{0, 0, 0}, euler_angles{30, 50, 70}, euler_angles{200, 40, 300}}) {
            const built b = build(c.cell, atoms, turn);
            std::uint64_t counted = 0;
            const auto cluster = cluster_of(b, c.site, c.radius, default_cluster_batch, &counted);
            EXPECT_EQ(counted, expected.size());
            ASSERT_EQ(cluster.size(), expected.size() + 1);
            EXPECT_EQ(cluster[0].label, atoms[c.site].first);
            const auto cut = cluster_of(b, c.site, c.radius, 3);
            ASSERT_EQ(cut.size(), cluster.size());
            for (std::size_t i = 0; i < cluster.size(); ++i) {
                const atom_record &a = cluster[i], &o = cluster[0];
                const double distance = std::hypot(a.x - o.x, a.y - o.y, a.z - o.z);
                EXPECT_NEAR(distance, i ? expected[i - 1] : 0, 2e-5) << i;
                EXPECT_TRUE(cut[i].label == a.label && cut[i].x == a.x && cut[i].y == a.y &&
                            cut[i].z == a.z);
            }
        }
    }
}

// B and C share a place 1 Angstrom from S on either side; equal distances come in input
// order, then in translation order. A second S is no centre; OR lines take no part.
TEST(Cluster, equal_distances_labels_and_refusals) {
    const built b = build({{2, 2, 2}, {90, 90, 90}}, {{"S", {0, 0, 0}},
                                                      {"OR", {0.5, 0, 0}},
                                                      {"B", {0.5, 0, 0}},
                                                      {"C", {0.5, 0, 0}},
                                                      {"S", {0, 0.5, 0.5}},
                                                      {"b", {0, 0, 0.9}}});
    std::vector<std::pair<std::string, float>> order;
    for (const atom_record& a : cluster_of(b, 0, 1.2, default_cluster_batch))
        order.push_back({a.label, a.x});
    const std::vector<std::pair<std::string, float>> expected = {
        {"S", 0.0f}, {"b", 0.0f}, {"B", -1.0f}, {"B", 1.0f}, {"C", -1.0f}, {"C", 1.0f}};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(cluster_labels(b.atoms), (std::vector<std::string>{"S", "B", "C", "b"}));
    EXPECT_EQ(find_cluster_site(b.atoms, "C"), 3u);
    EXPECT_EQ(find_cluster_site(b.atoms, "OR"), std::nullopt);
    EXPECT_EQ(find_cluster_site(b.atoms, "c"), std::nullopt);

    // More lines than one progress step: the simple cubic lattice points within 10.5.
    std::uint64_t points = 0;
    for (int i = -11; i <= 11; ++i)
        for (int j = -11; j <= 11; ++j)
            for (int k = -11; k <= 11; ++k) points += i * i + j * j + k * k <= 110.25;
    EXPECT_EQ(cluster_of(build({{1, 1, 1}, {90, 90, 90}}, {{"H", {0, 0, 0}}}), 0, 10.5,
                         default_cluster_batch)
                  .size(),
              points);
    cluster_plan plan;
    EXPECT_EQ(plan_cluster(b.atoms, 0, -1, b.m, plan), cluster_plan_status::radius_not_valid);
    EXPECT_EQ(plan_cluster(b.atoms, 0, NAN, b.m, plan), cluster_plan_status::radius_not_valid);
    EXPECT_EQ(plan_cluster(b.atoms, 0, 5e9, b.m, plan), cluster_plan_status::radius_too_large);
    const cell_matrix3 flat = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 0}}};
    EXPECT_EQ(plan_cluster(b.atoms, 0, 1, flat, plan), cluster_plan_status::cell_singular);
}

}  // namespace
}  // namespace orvix
