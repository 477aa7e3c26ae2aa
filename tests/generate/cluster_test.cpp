// Cluster around an Atom: the atoms found against a direct periodic sum written here from the
// cell's metric tensor, the order of equal distances, shells cut small, the orientation of
// Orthogonalize > Coordinates, the simple cubic lattice sum through the dipolar action, and
// the action's refusals and questions.
#include "generate/cluster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "actions/messages.h"
#include "axes/axes_actions.h"
#include "axes/orthogonalize.h"
#include "crystal/records.h"
#include "dipolar/dipolar_action.h"
#include "dipolar/moment.h"
#include "dipolar/nuclei.h"
#include "generate/cluster_action.h"
#include "platform/c_format.h"
#include "platform/scan.h"
#include "support/test_support.h"

namespace orvix {
namespace {

using test::crlf;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

atom_record parse(const std::string& line) {
    atom_record atom;
    EXPECT_TRUE(parse_atom_line(line, atom)) << line;
    return atom;
}

double distance(const atom_record& a, const atom_record& b) {
    const double dx = double{a.x} - b.x, dy = double{a.y} - b.y, dz = double{a.z} - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Runs the action on `text` with the dialog answered by `site` and `radius`.
std::string run_cluster(const std::string& text, const std::string& site, double radius,
                        scripted_services& ui, action_result* ended = nullptr) {
    test::scratch_dir dir;
    ui.on_cluster = [site, radius](cluster_record& record) {
        record.site = site;
        record.radius = radius;
        return dialog_result::ok;
    };
    const action_result result =
        test::run_on_text(cmd::generate_cluster, ui, text, dir.file("cluster.cry"));
    if (ended != nullptr) *ended = result;
    return std::filesystem::exists(dir.file("cluster.cry"))
               ? test::read_file(dir.file("cluster.cry"))
               : std::string("(no file)");
}

std::string run_cluster(const std::string& text, const std::string& site, double radius) {
    scripted_services ui;
    action_result ended;
    const std::string out = run_cluster(text, site, radius, ui, &ended);
    EXPECT_EQ(ended, action_result::completed);
    EXPECT_EQ(ui.message_texts(), std::vector<std::string>{});
    return out;
}

// The core's result with shells of at most `batch` records.
std::string core_cluster(const std::string& text, const std::string& site, double radius,
                         std::size_t batch) {
    test::scratch_dir dir;
    test::write_file(dir.file("in.cry"), text);
    auto in = exclusive_file::open_existing(dir.file("in.cry"), exclusive_file::access::read);
    std::string cell_line;
    cell_constants cell;
    EXPECT_TRUE(read_cell_line(*in, cell_line) && parse_cell_constants(cell_line, cell));
    matrix3 m;
    EXPECT_TRUE(fractional_to_cartesian(cell, m));
    const atom_table atoms = read_atom_table(*in, false);
    cluster_plan plan;
    EXPECT_EQ(plan_cluster(atoms, *find_cluster_site(atoms, site), radius, m, plan),
              cluster_plan_status::ok);
    plan.batch = batch;
    {
        auto out = exclusive_file::create(dir.file("out.cry"));
        line_writer writer(*out);
        EXPECT_EQ(write_cluster(writer, plan, [](std::uint64_t) { return true; }),
                  write_outcome::finished);
        writer.flush();
        out->close();
    }
    return test::read_file(dir.file("out.cry"));
}

struct periodic_case {
    const char* name;
    double a, b, c, alpha, beta, gamma;
    std::vector<std::pair<std::string, std::array<double, 3>>> atoms;  // "OR" lines included
    std::string site;
    double radius;
};

std::string crystal_text(const periodic_case& c) {
    std::string text = c_format("%g %g %g %g %g %g\r\n", c.a, c.b, c.c, c.alpha, c.beta, c.gamma);
    for (const auto& [label, f] : c.atoms)
        text += label + c_format(" %.6f %.6f %.6f\r\n", f[0], f[1], f[2]);
    return text;
}

TEST(Cluster, finds_what_a_direct_periodic_sum_finds) {
    const std::vector<periodic_case> cases = {
        {"triclinic, atoms outside the cell, an origin line, a label twice",
         7.3,
         8.1,
         9.4,
         78,
         96,
         107,
         {{"C1", {0.12, 0.31, 0.77}},
          {"OR", {0, 0, 0}},
          {"N1", {-0.4, 1.2, 0.05}},
          {"C1", {0.52, 0.66, 0.25}},
          {"H1", {0.9, 0.02, 0.5}}},
         "N1",
         13.7},
        {"monoclinic, radius below the shortest edge",
         4.2,
         11.5,
         6.3,
         90,
         113.5,
         90,
         {{"O1", {0.25, 0.1, 0.4}}, {"Si1", {0.75, 0.6, 0.9}}},
         "Si1",
         3.9},
        {"simple cubic, one atom: the images are the atoms",
         2.5,
         2.5,
         2.5,
         90,
         90,
         90,
         {{"H1", {0, 0, 0}}},
         "H1",
         14.1},
        {"radius 0: the site alone", 5, 5, 5, 90, 90, 90, {{"X", {0.1, 0.2, 0.3}}}, "X", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Distances from the metric tensor G: d^2 = df^T G df, with no cell matrix at all.
        const double ca = std::cos(c.alpha * M_PI / 180), cb = std::cos(c.beta * M_PI / 180),
                     cg = std::cos(c.gamma * M_PI / 180);
        const double g[3][3] = {{c.a * c.a, c.a * c.b * cg, c.a * c.c * cb},
                                {c.a * c.b * cg, c.b * c.b, c.b * c.c * ca},
                                {c.a * c.c * cb, c.b * c.c * ca, c.c * c.c}};
        std::size_t site = 0;
        while (c.atoms[site].first != c.site) ++site;
        std::vector<double> expected;
        std::map<std::string, int> expected_labels;
        for (std::size_t j = 0; j < c.atoms.size(); ++j) {
            if (c.atoms[j].first == "OR") continue;
            for (int n1 = -8; n1 <= 8; ++n1)
                for (int n2 = -8; n2 <= 8; ++n2)
                    for (int n3 = -8; n3 <= 8; ++n3) {
                        if (j == site && n1 == 0 && n2 == 0 && n3 == 0) continue;
                        const int n[3] = {n1, n2, n3};
                        double df[3], d2 = 0;
                        for (int k = 0; k < 3; ++k)
                            df[k] = static_cast<float>(c.atoms[j].second[k]) + n[k] -
                                    static_cast<float>(c.atoms[site].second[k]);
                        for (int k = 0; k < 3; ++k)
                            for (int l = 0; l < 3; ++l) d2 += df[k] * g[k][l] * df[l];
                        const double d = std::sqrt(d2);
                        ASSERT_GT(std::fabs(d - c.radius), 1e-3) << "too close to the radius";
                        if (d <= c.radius) {
                            expected.push_back(d);
                            ++expected_labels[c.atoms[j].first];
                        }
                    }
        }
        std::sort(expected.begin(), expected.end());

        const std::string out = run_cluster(crystal_text(c), c.site, c.radius);
        const auto lines = lines_of(out);
        ASSERT_EQ(lines.size(), expected.size() + 3);
        EXPECT_EQ(lines[0], " 1.000  1.000  1.000 90.000 90.000 90.000");
        EXPECT_EQ(lines[1], c_format("/* cluster around %s: radius %g Angstrom, %zu neighbours */",
                                     c.site.c_str(), c.radius, expected.size()));
        const atom_record centre = parse(lines[2]);
        EXPECT_EQ(centre.label, c.site);
        std::map<std::string, int> labels;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const atom_record atom = parse(lines[i + 3]);
            ++labels[atom.label];
            EXPECT_NEAR(distance(atom, centre), expected[i], 2e-5) << lines[i + 3];
        }
        EXPECT_EQ(labels, expected_labels);
        // Shells of a few records each, cut again and again, give the same lines.
        EXPECT_EQ(core_cluster(crystal_text(c), c.site, c.radius, 3),
                  out.substr(out.find("\r\n", out.find("\r\n") + 2) + 2));
    }
}

TEST(Cluster, equal_distances_come_in_input_order_then_z_y_x_order) {
    // B and C share a place: each lies 1 Angstrom from S in the home cell (+x) and in the
    // cell at x - 1 (-x); the next atoms are 2 Angstrom away. A second S is no centre.
    const std::string text = crlf(
        "2 2 2 90 90 90\n"
        "S 0 0 0\n"
        "B 0.5 0 0\n"
        "C 0.5 0 0\n"
        "S 0 0.5 0.5\n");
    const auto lines = lines_of(run_cluster(text, "S", 1.2));
    std::vector<std::pair<std::string, float>> order;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const atom_record atom = parse(lines[i]);
        order.push_back({atom.label, atom.x});
    }
    const std::vector<std::pair<std::string, float>> expected = {
        {"S", 0.0f}, {"B", -1.0f}, {"B", 1.0f}, {"C", -1.0f}, {"C", 1.0f}};
    EXPECT_EQ(order, expected);
}

TEST(Cluster, lines_are_those_orthogonalize_coordinates_writes) {
    // With a radius that takes in the whole home cell, every atom line Orthogonalize >
    // Coordinates writes for the input (origin lines aside) is among the cluster's lines,
    // and the first one is the site's.
    const std::string text = crlf(
        "6.1 7.7 5.3 101 84 116\n"
        "/* a comment is no atom */\n"
        "Al1 0.11 0.42 0.93\n"
        "or 0 0 0\n"
        "O1 0.71 -0.18 0.33\n"
        "O2 0.45 0.95 0.61\n");
    const auto cluster = lines_of(run_cluster(text, "O1", 16.0));

    test::scratch_dir dir;
    scripted_services ui;
    ui.on_order_of_axes = [](axis_order&) { return dialog_result::ok; };
    ASSERT_EQ(test::run_on_text(cmd::orthogonalize_coordinates, ui, text, dir.file("o.cry")),
              action_result::completed);
    const auto orthogonal = lines_of(test::read_file(dir.file("o.cry")));
    EXPECT_EQ(cluster[0], orthogonal[0]);
    ASSERT_EQ(orthogonal.size(), 6u);
    EXPECT_EQ(cluster[2], orthogonal[4]);
    for (const std::size_t i : {2u, 4u, 5u}) {
        SCOPED_TRACE(orthogonal[i]);
        EXPECT_NE(std::find(cluster.begin() + 2, cluster.end(), orthogonal[i]), cluster.end());
    }
    EXPECT_EQ(std::count_if(cluster.begin(), cluster.end(),
                            [](const std::string& l) { return l.starts_with("or "); }),
              0);
}

// The dipolar second moment of a simple cubic lattice of protons: the cluster within 20.1
// lattice constants (34,048 neighbours) through the dipolar powder action. The lattice sum
// of r^-6 over a simple cubic lattice of unit constant is 8.40192 (J. E. Jones and A. E.
// Ingham, Proc. R. Soc. Lond. A 107, 636 (1925)); the lattice points beyond the radius add
// about 4 pi / (3 R^3) in units of the constant (the continuum integral of 4 pi r^2 r^-6).
TEST(Cluster, simple_cubic_lattice_sum_through_the_dipolar_action) {
    const double a = 2.5;
    const double reach = 20.1;  // lattice constants
    const std::string cell = crlf(c_format("%g %g %g 90 90 90\n", a, a, a) + "H1 0 0 0\n");
    const std::string cluster = run_cluster(cell, "H1", a * reach);
    ASSERT_EQ(lines_of(cluster).size(), 34048u + 3u);

    test::scratch_dir dir;
    scripted_services ui;
    ui.on_dipolar = [](dipolar_parameters& p) {
        p.moment_type = 0;                           // powder
        p.observed_nucleus = p.coupled_nucleus = 0;  // 1H
        p.abundance = 100;
        return dialog_result::ok;
    };
    ASSERT_EQ(test::run_on_text(cmd::dipolar_moment, ui, cluster, dir.file("m2.txt")),
              action_result::completed);
    const std::string report = test::read_file(dir.file("m2.txt"));
    const std::size_t at = report.rfind("Second moment:");
    ASSERT_NE(at, std::string::npos);
    std::string_view number = std::string_view(report).substr(at + 14);
    double m2 = 0;
    ASSERT_TRUE(scan_double(number, m2));

    // Van Vleck's powder moment of like spins, as the report defines it: for each neighbour
    // (I + 1) I 12/5 (coupling gamma^2 / r^3)^2 pi^2.
    namespace dc = dipolar_constants;
    const double gamma = nucleus_gamma(1), spin = nucleus_spin(1);
    const double lattice_sum = 8.40192 - 4 * M_PI / (3 * reach * reach * reach);
    const double expected = (spin + 1) * spin * dc::powder_like *
                            std::pow(dc::coupling * gamma * gamma, 2) * dc::pi * dc::pi *
                            lattice_sum / std::pow(a, 6);
    EXPECT_NEAR(m2 / expected, 1.0, 2e-6);
}

TEST(ClusterAction, offers_the_labels_and_refuses_what_it_cannot_build) {
    const std::string good = crlf(
        "5 6 7 90 90 90\n"
        "OR 0 0 0\n"
        "Na1 0 0 0\n"
        "Cl1 0.5 0.5 0.5\n"
        "Na1 0.5 0.5 0\n"
        "na1 0 0.5 0.5\n");
    struct refusal_case {
        const char* name;
        std::string text;
        const char* site;  // nothing: Cancel in the dialog
        double radius;
        std::vector<std::string> messages;
        action_result ended;
    };
    const std::vector<refusal_case> cases = {
        {"a label not in the data",
         good,
         "Cl2",
         10,
         {"There is no atom labelled Cl2 in the crystal data!"},
         action_result::failed},
        {"labels are told apart by case",
         good,
         "NA1",
         10,
         {"There is no atom labelled NA1 in the crystal data!"},
         action_result::failed},
        {"an origin line is no atom",
         good,
         "OR",
         10,
         {"There is no atom labelled OR in the crystal data!"},
         action_result::failed},
        {"Cancel in the dialog", good, nullptr, 10, {}, action_result::cancelled},
        {"a negative radius",
         good,
         "Na1",
         -1,
         {std::string(msg::cluster_radius_not_valid)},
         action_result::failed},
        {"a radius that is no number",
         good,
         "Na1",
         NAN,
         {std::string(msg::cluster_radius_not_valid)},
         action_result::failed},
        {"a radius across more than 2^31 cells",
         good,
         "Na1",
         2e10,
         {std::string(msg::cluster_radius_too_large)},
         action_result::failed},
        {"no cell line",
         crlf("Na1 0 0 0\n"),
         "Na1",
         10,
         {std::string(msg::no_crystal_axes)},
         action_result::failed},
        {"no atom",
         crlf("5 5 5 90 90 90\nOR 0 0 0\n"),
         "Na1",
         10,
         {std::string(msg::unexpected_end)},
         action_result::failed},
        {"a cell that cannot close",
         crlf("5 5 5 10 10 90\nNa1 0 0 0\n"),
         "Na1",
         10,
         {std::string(msg::cell_cannot_close)},
         action_result::failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted_services ui;
        std::vector<cluster_record> shown;
        ui.on_cluster = [&](cluster_record& record) {
            shown.push_back(record);
            if (c.site == nullptr) return dialog_result::cancel;
            record.site = c.site;
            record.radius = c.radius;
            return dialog_result::ok;
        };
        test::scratch_dir dir;
        EXPECT_EQ(test::run_on_text(cmd::generate_cluster, ui, c.text, dir.file("r.cry")), c.ended);
        EXPECT_EQ(ui.message_texts(), c.messages);
        // Nothing is written: the result file is not even asked for.
        EXPECT_TRUE(ui.proposed_save_names.empty());
        EXPECT_FALSE(std::filesystem::exists(dir.file("r.cry")));
        if (c.text == good) {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].labels, (std::vector<std::string>{"Na1", "Cl1", "na1"}));
            EXPECT_EQ(shown[0].site, "Na1");
            EXPECT_EQ(shown[0].radius, 10.0);
        } else {
            EXPECT_TRUE(shown.empty());
        }
    }
}

TEST(ClusterAction, asks_before_a_large_result_and_counts_with_a_cancel) {
    // 1,000 atoms in a cell of 1 cubic Angstrom: about 1.05e8 atoms within 29.3 Angstrom.
    std::string text = "1 1 1 90 90 90\r\n";
    for (int i = 0; i < 1000; ++i)
        text += c_format("A%d %.3f %.3f %.3f\r\n", i, (i % 10) / 10.0, (i / 10 % 10) / 10.0,
                         (i / 100) / 10.0);
    struct large_case {
        const char* name;
        std::optional<std::uint64_t> cancel_at;  // a progress report that cancels
        bool question;
    };
    for (const large_case& c : {large_case{"the question answered Cancel", std::nullopt, true},
                                large_case{"Cancel while counting", 1, false}}) {
        SCOPED_TRACE(c.name);
        scripted_services ui;
        ui.progress_cancel_at = c.cancel_at;
        action_result ended;
        EXPECT_EQ(run_cluster(text, "A0", 29.3, ui, &ended), "(no file)");
        EXPECT_EQ(ended, action_result::cancelled);
        EXPECT_TRUE(ui.proposed_save_names.empty());
        ASSERT_EQ(ui.messages.size(), c.question ? 1u : 0u);
        if (!c.question) continue;
        const shown_message& asked = ui.messages[0];
        EXPECT_EQ(asked.icon, message_icon::question);
        EXPECT_EQ(asked.buttons, message_buttons::ok_cancel);
        ASSERT_TRUE(asked.text.starts_with(msg::large_result_prefix)) << asked.text;
        // The cluster holds 1,000 atoms per cubic Angstrom of the sphere, give or take its
        // surface.
        const double lines = std::stod(asked.text.substr(msg::large_result_prefix.size()));
        EXPECT_NEAR(lines / (1000 * 4 / 3.0 * M_PI * std::pow(29.3, 3)), 1.0, 2e-3);
    }
}

}  // namespace
}  // namespace orvix
