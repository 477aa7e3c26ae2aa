// Cluster around an Atom. The input is read once (cell, then the atoms, whose labels the
// dialog offers); the result file is asked for only when there is something to write, so a
// refused label or radius leaves no file behind.
#include "generate/cluster_action.h"

#include "actions/messages.h"
#include "axes/orthogonalize.h"
#include "crystal/records.h"
#include "generate/cluster.h"
#include "generate/generate_actions.h"
#include "platform/c_format.h"

namespace orvix {

action_result generate_cluster(action_context& ctx) {
    services& ui = ctx.ui;
    action_input input;
    if (!open_action_input(ctx, input)) return action_result::failed;

    std::string line;
    cell_constants cell;
    if (!read_cell_line(*input.file, line) || !parse_cell_constants(line, cell)) {
        show_error(ui, msg::no_crystal_axes);
        return action_result::failed;
    }
    // The orientation of Orthogonalize > Coordinates with its default order of axes: c along
    // z, b in the yz plane.
    matrix3 m;
    if (!fractional_to_cartesian(reorder_cell(cell, axis_order{}), m)) {
        show_error(ui, msg::cell_cannot_close);
        return action_result::failed;
    }
    const atom_table atoms = read_atom_table(*input.file, false);

    cluster_record record;
    record.labels = cluster_labels(atoms);
    if (record.labels.empty()) {
        show_error(ui, msg::unexpected_end);
        return action_result::failed;
    }
    record.site = record.labels.front();
    if (ui.cluster_dialog(record) != dialog_result::ok) return action_result::cancelled;

    const std::optional<std::size_t> site = find_cluster_site(atoms, record.site);
    if (!site) {
        show_error(ui, c_format(msg::cluster_no_site_format, record.site.c_str()));
        return action_result::failed;
    }
    cluster_plan plan;
    switch (plan_cluster(atoms, *site, record.radius, m, plan)) {
        case cluster_plan_status::ok:
            break;
        case cluster_plan_status::radius_not_valid:
            show_error(ui, msg::cluster_radius_not_valid);
            return action_result::failed;
        case cluster_plan_status::radius_too_large:
            show_error(ui, msg::cluster_radius_too_large);
            return action_result::failed;
        case cluster_plan_status::cell_singular:
            show_error(ui, msg::cell_cannot_close);
            return action_result::failed;
    }

    std::optional<std::uint64_t> neighbours;
    {
        progress_scope progress(ui, msg::counting_cluster, cluster_scan_rows(plan));
        neighbours =
            count_cluster(plan, [&progress](std::uint64_t rows) { return progress.step(rows); });
    }
    if (!neighbours) return action_result::cancelled;
    // The cell line, the comment line, the site and its neighbours.
    if (!confirm_large_result(ui, add_lines(3, *neighbours))) return action_result::cancelled;

    auto result = create_result_file(ctx);
    if (!result) return action_result::cancelled;
    write_cartesian_cell(*result);
    line_writer out(*result);
    out.put_text(c_format("/* cluster around %s: radius %g Angstrom, %llu neighbours */\r\n",
                          record.site.c_str(), record.radius,
                          static_cast<unsigned long long>(*neighbours)));
    write_outcome written;
    {
        progress_scope progress(ui, msg::writing_cluster, *neighbours + 1);
        written = write_cluster(out, plan,
                                [&progress](std::uint64_t lines) { return progress.step(lines); });
    }
    // After a Cancel in the progress dialog the lines written so far stay in the file.
    out.flush();
    result->close();
    return written == write_outcome::finished ? action_result::completed : action_result::cancelled;
}

}  // namespace orvix
