// The parameter dialogs of the desktop program, one function each: shows the dialog over
// `owner`, edits the record and answers OK or Cancel. The Help button reaches `ui`.
#pragma once

#include <QWidget>

#include "platform/services.h"

namespace orvix {

dialog_result run_axis_inversion_dialog(QWidget* owner, services& ui, int& axis);
dialog_result run_euler_angles_dialog(QWidget* owner, services& ui, const euler_angles& angles);
dialog_result run_euler_rotations_dialog(QWidget* owner, services& ui, euler_angles& angles);
dialog_result run_order_of_axes_dialog(QWidget* owner, services& ui, axis_order& order);
dialog_result run_dipolar_dialog(QWidget* owner, services& ui, dipolar_parameters& parameters);
dialog_result run_symmetry_operations_dialog(QWidget* owner, services& ui,
                                             symmetry_operation& operation);
dialog_result run_generate_block_dialog(QWidget* owner, services& ui, block_record& block);
dialog_result run_cluster_dialog(QWidget* owner, services& ui, cluster_record& record);
dialog_result run_tensor_parameters_dialog(QWidget* owner, services& ui,
                                           tensor_parameters_record& record);

}  // namespace orvix
