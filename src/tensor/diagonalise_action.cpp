// The Diagonalise action: input and result file by the action protocol, the tensor and its
// eigen-decomposition, then the report.
#include "tensor/diagonalise_action.h"

#include <cmath>
#include <string>

#include "actions/messages.h"
#include "crystal/records.h"
#include "numeric/onebased.h"
#include "tensor/tensor.h"
#include "tensor/tensor_report.h"

namespace orvix {

namespace {

// The comment lines of the input from its read position on; all other lines are dropped.
void copy_remaining_comments(exclusive_file& input, exclusive_file& out) {
    std::string line;
    while (read_text_line(line, input))
        if (is_comment_line(line)) out.write(line);
}

// False when a principal component (or, through it, an axis) overflowed single precision:
// finite elements near its limit can have eigenvalues beyond it.
bool decomposition_is_finite(const vector& d, const matrix& v) {
    for (int k = 1; k <= 3; ++k) {
        if (!std::isfinite(d[k])) return false;
        for (int row = 1; row <= 3; ++row)
            if (!std::isfinite(v[row][k])) return false;
    }
    return true;
}

void show_wrong_data_format(services& ui) {
    show_error(ui, msg::wrong_data_format);
}

}  // namespace

action_result diagonalise_tensor(action_context& ctx) {
    const sort_order order =
        ctx.mode == diagonalise_ascending_mode ? sort_order::ascending : sort_order::descending;
    action_files files;
    if (const auto ended = open_action_files(ctx, files)) return *ended;
    action_input& input = files.input;
    auto& result = files.result;

    tensor9 tensor{};
    if (!read_tensor(*input.file, *result, tensor)) {
        // Too few numbers: the report is the input's comment lines and nothing else.
        result->close();
        return action_result::completed;
    }
    // An infinite or NaN element would keep the eigen-solver turning for all its sweeps; the
    // result keeps the comment lines copied so far.
    if (!tensor_is_finite(tensor)) {
        show_wrong_data_format(ctx.ui);
        result->close();
        return action_result::failed;
    }

    tensor9 symmetrized = tensor;
    symmetrize_tensor(symmetrized);

    vector d;
    matrix v;
    principal_axes(symmetrized, order, d, v);
    // A report of "inf" components would pass for a result; nothing of it is written.
    if (!decomposition_is_finite(d, v)) {
        show_wrong_data_format(ctx.ui);
        result->close();
        return action_result::failed;
    }

    write_tensor_frame(*result, v);
    copy_remaining_comments(*input.file, *result);
    write_starting_matrix(*result, tensor);
    write_symmetrized_tensor(*result, symmetrized);
    write_principal_components(*result, v, d);

    result->close();
    return action_result::completed;
}

}  // namespace orvix
