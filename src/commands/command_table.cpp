// The rows of the command table, in menu order.
#include "commands/command_table.h"

#include "actions/action_runner.h"
#include "actions/echo_action.h"
#include "axes/axes_actions.h"
#include "commands/command_options.h"
#include "dipolar/dipolar_action.h"
#include "generate/cluster_action.h"
#include "generate/generate_actions.h"
#include "tensor/diagonalise_action.h"
#include "tensor/tensor_parameters_action.h"

namespace orvix {

namespace {

// A separator in a menu.
constexpr command_row separator(std::string_view menu) {
    return {0, menu, "", "", "", "", false, "", "", "", nullptr, nullptr, 0};
}

// A command the dispatcher runs itself (document, edit and help commands).
constexpr command_row shell_command(int number, std::string_view menu, std::string_view text,
                                    std::string_view key_hint, std::string_view shortcut,
                                    std::string_view help_topic) {
    return {number,     menu, "", text,    key_hint, shortcut, false,
            help_topic, "",   "", nullptr, nullptr,  0};
}

constexpr command_row table[] = {
    shell_command(cmd::file_new, "&File", "&New", "Ctrl-N", "Ctrl+N", "DOCUMENTS"),
    shell_command(cmd::file_open, "&File", "&Open...", "Ctrl-O", "Ctrl+O", "DOCUMENTS"),
    {cmd::file_import, "&File", "", "&Import Structure...", "", "", false, "IMPORT", "import",
     "read a CIF or .magres file into crystal data: the cell line, a comment line, one atom "
     "line per atom of the cell (fractional coordinates)",
     &add_import_options, nullptr, 0},
    shell_command(cmd::file_save_as, "&File", "Save &as...", "Ctrl-S", "Ctrl+S", "DOCUMENTS"),
    separator("&File"),
    shell_command(cmd::file_exit, "&File", "&Exit", "Ctrl-Q", "Ctrl+Q", "DOCUMENTS"),
    shell_command(cmd::edit_undo, "&Edit", "&Undo", "Ctrl-Z", "Ctrl+Z", "DOCUMENTS"),
    separator("&Edit"),
    shell_command(cmd::edit_cut, "&Edit", "Cu&t", "Ctrl-X", "Ctrl+X", "DOCUMENTS"),
    shell_command(cmd::edit_copy, "&Edit", "&Copy", "Ctrl-C", "Ctrl+C", "DOCUMENTS"),
    shell_command(cmd::edit_paste, "&Edit", "&Paste", "Ctrl-V", "", "DOCUMENTS"),
    shell_command(cmd::edit_delete, "&Edit", "&Delete", "", "", "DOCUMENTS"),
    shell_command(cmd::edit_select_all, "&Edit", "&Select all", "Ctrl-A", "Ctrl+A", "DOCUMENTS"),

    {cmd::generate_positions, "&Action", "&Generate", "&Postions", "", "", false, "HLP_SYMMOP",
     "generate-positions",
     "write the images of every atom under symmetry operations (Generate > Positions)",
     &add_generate_positions_options, &generate_positions, 0},
    {cmd::generate_block, "&Action", "&Generate", "&Block", "", "", false, "HLP_GENAUTO",
     "generate-block",
     "write the atoms and their copies in a block of (2n+1)^3 unit cells (Generate > Block)",
     &add_generate_block_options, &generate_block, 0},
    {cmd::generate_cluster, "&Action", "&Generate", "&Cluster around an Atom...", "", "", false,
     "HLP_CLUSTER", "cluster",
     "write the atoms within a radius of one atom, over every periodic image of the cell, "
     "in Cartesian Angstrom with that atom first (Generate > Cluster around an Atom)",
     &add_cluster_options, &generate_cluster, 0},
    {cmd::orthogonalize_axes, "&Action", "&Orthogonalize", "&Axes", "", "", false, "ORTHOGONALIZE",
     "orthogonalize-axes",
     "replace three measured axis directions (atom lines) by an orthonormal right-handed set: "
     "Z kept, Y made perpendicular to it, X recomputed",
     &add_orthogonalize_axes_options, &orthogonalize_axes_action, 0},
    {cmd::orthogonalize_coordinates, "&Action", "&Orthogonalize", "&Coordinates", "", "", false,
     "ORTHOGONALIZE", "orthogonalize-coordinates",
     "turn fractional coordinates and their unit cell (first line) into Cartesian coordinates",
     &add_order_options, &orthogonalize_coordinates_action, 0},
    {cmd::make_oblique, "&Action", "&Orthogonalize", "Make &oblique...", "", "", true,
     "ORTHOGONALIZE", "", "", nullptr, nullptr, 0},
    {cmd::calculate_normal, "&Action", "&Orthogonalize", "Calculate &normal", "", "", false,
     "NORMAL_POLAR", "normal",
     "normal of the plane through the first three atoms of Cartesian data",
     &add_explained_end_options, &calculate_normal, 0},
    {cmd::calculate_euler_angles, "&Action", "&Rotations", "&Calculate Euler angles", "", "", false,
     "HLP_CALCEULER", "euler-angles",
     "Euler angles of the axis system given by the first three atom lines (direction cosines "
     "of the new x, y, z); writes \"alpha  beta  gamma\" in degrees",
     &add_euler_angles_options, &calculate_euler_angles, 0},
    {cmd::euler_forwards, "&Action", "&Rotations", "&Euler rotations forwards", "", "", false,
     "HLP_EULER", "rotate",
     "turn every atom position through three Euler angles, forwards (reference frame into the "
     "new frame) or backwards",
     &add_rotate_options, &euler_rotations, euler_mode_forwards},
    {cmd::euler_backwards, "&Action", "&Rotations", "Euler rotations &backwards", "", "", false,
     "HLP_EULER", "", "", nullptr, &euler_rotations, euler_mode_backwards},
    {cmd::polar_angles, "&Action", "&Polar angles", "&Calculate", "", "", false, "NORMAL_POLAR",
     "polar",
     "every atom of Cartesian data in polar coordinates: azimuth phi, polar angle theta "
     "(degrees) and distance r",
     &add_explained_end_options, &polar_angles, 0},

    {cmd::dipolar_moment, "&NMR", "", "Dipolar &Moment", "", "", false, "HLP_DIPMOM", "dipolar",
     "dipolar second moment of the first atom from its neighbours (Cartesian cell, Angstrom): "
     "powder sum or single-crystal rotation pattern",
     &add_dipolar_options, &dipolar_moment, 0},
    separator("&NMR"),
    {cmd::diagonalise_descending, "&NMR", "", "Diagonalise (d11 > d22 > d33)", "", "", false,
     "TENSOR", "diagonalise",
     "diagonalise a second-rank tensor given as nine numbers: principal components, "
     "right-handed principal axes and the tensor report",
     &add_diagonalise_options, &diagonalise_tensor, diagonalise_descending_mode},
    {cmd::diagonalise_ascending, "&NMR", "", "Diagonalise (s11 < s22 < s33)", "", "", false,
     "TENSOR", "", "", nullptr, &diagonalise_tensor, diagonalise_ascending_mode},
    {cmd::tensor_parameters, "&NMR", "", "Tensor &Parameters...", "", "", false, "HLP_TENSORPARAMS",
     "tensor-parameters",
     "report every tensor line (LABEL and nine numbers) in the shielding, shift or quadrupolar "
     "conventions: Haeberlen, IUPAC, Herzfeld-Berger, C_Q, NQR lines",
     &add_tensor_parameters_options, &tensor_parameters, 0},

    shell_command(cmd::help_contents, "&Help", "&Contents", "F1", "F1", "HLP_CONTENTS"),
    shell_command(cmd::help_about, "&Help", "&About...", "", "", "HLP_CONTENTS"),

    // orvix-cli alone.
    {cmd::nuclei_table, "", "", "", "", "", false, "HLP_DIPMOM", "nuclei",
     "list the nuclear data table: number, label, spin, gyromagnetic ratio (10^7 rad s^-1 "
     "T^-1), natural abundance (%) and quadrupole moment (fm^2)",
     &add_nuclei_options, nullptr, 0},
    // Rewrites crystal data in the program's own line formats; kept out of the help.
    {cmd::echo_atoms, "", "", "", "", "", false, "CRYSTAL_FORMAT", "echo-atoms", "", nullptr,
     &echo_atoms, 0},
};

}  // namespace

std::span<const command_row> command_table() {
    return table;
}

const command_row* find_command(int number) {
    if (number == 0) return nullptr;
    for (const command_row& row : table)
        if (row.number == number) return &row;
    return nullptr;
}

action_result run_command_action(const command_row& row, services& ui, document_state& doc) {
    if (row.run == nullptr) return action_result::failed;
    return run_action(row.run, row.number, row.mode, ui, doc);
}

}  // namespace orvix
