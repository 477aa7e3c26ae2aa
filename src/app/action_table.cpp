// The table of actions: one row per command that runs an action.
#include "app/action_table.h"

#include "app/echo_action.h"
#include "axes/axes_actions.h"
#include "dipolar/dipolar_action.h"
#include "generate/cluster_action.h"
#include "generate/generate_actions.h"
#include "tensor/diagonalise_action.h"
#include "tensor/tensor_parameters_action.h"

namespace orvix {

namespace {

const action_entry table[] = {
    {echo_command, 0, "echo-atoms", &echo_atoms},
    {dipolar_command, 0, "dipolar", &dipolar_moment},
    // orvix-cli runs both orders from one subcommand, "diagonalise [--ascending]".
    {diagonalise_descending_command, diagonalise_descending_mode, "diagonalise",
     &diagonalise_tensor},
    {diagonalise_ascending_command, diagonalise_ascending_mode, "diagonalise", &diagonalise_tensor},
    {tensor_parameters_command, 0, "tensor-parameters", &tensor_parameters},
    {polar_angles_command, 0, "polar", &polar_angles},
    {calculate_euler_command, 0, "euler-angles", &calculate_euler_angles},
    {euler_backwards_command, euler_mode_backwards, "rotate", &euler_rotations},
    {euler_forwards_command, euler_mode_forwards, "rotate", &euler_rotations},
    {orthogonalize_axes_command, 0, "orthogonalize-axes", &orthogonalize_axes_action},
    {orthogonalize_coordinates_command, 0, "orthogonalize-coordinates",
     &orthogonalize_coordinates_action},
    {calculate_normal_command, 0, "normal", &calculate_normal},
    {generate_positions_command, 0, "generate-positions", &generate_positions},
    {generate_block_command, 0, "generate-block", &generate_block},
    {generate_cluster_command, 0, "cluster", &generate_cluster},
};

}  // namespace

std::span<const action_entry> action_table() {
    return table;
}

}  // namespace orvix
