// The Tensor Parameters action: the whole input is read and every tensor computed before a
// byte of the result is written, so that a refused tensor leaves the result empty.
#include "tensor/tensor_parameters_action.h"

#include <string>

#include "actions/messages.h"
#include "crystal/records.h"
#include "dipolar/nuclei.h"
#include "tensor/tensor_parameters_report.h"

namespace orvix {

namespace {

void refuse(services& ui, std::string_view text) {
    ui.message(text, msg::program_name, message_icon::error, message_buttons::ok);
}

std::string_view without_line_end(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

tensor_parameters_record& tensor_parameters_settings() {
    static tensor_parameters_record record;
    return record;
}

bool is_quadrupolar_nucleus(int position) {
    const auto table = nuclei_table();
    // (A negative position turns into a number beyond every table.)
    if (static_cast<std::size_t>(position) >= table.size()) return false;
    // Every nucleus of spin 1 or more has its quadrupole moment in the table
    // (data/verify_nuclei.py checks it).
    return table[static_cast<std::size_t>(position)].spin >= 1.0;
}

std::vector<int> quadrupolar_nucleus_positions() {
    std::vector<int> positions;
    for (int k = 0; k < static_cast<int>(nuclei_table().size()); ++k)
        if (is_quadrupolar_nucleus(k)) positions.push_back(k);
    return positions;
}

std::optional<tensor_parameters_options> options_from_record(const tensor_parameters_record& record,
                                                             std::string_view& refusal) {
    tensor_parameters_options options;
    options.kind = record.kind == 1   ? tensor_kind::shift
                   : record.kind == 2 ? tensor_kind::efg
                                      : tensor_kind::shielding;
    if (options.kind == tensor_kind::shielding && record.has_reference) {
        if (!reference_is_usable(record.reference)) {
            refusal = reference_not_usable;
            return std::nullopt;
        }
        options.reference = record.reference;
    }
    if (options.kind == tensor_kind::efg) {
        if (!is_quadrupolar_nucleus(record.nucleus)) {
            refusal = no_quadrupolar_nucleus;
            return std::nullopt;
        }
        const nucleus& n = nuclei_table()[static_cast<std::size_t>(record.nucleus)];
        options.nucleus = std::string(n.label);
        options.spin = n.spin;
        options.q_fm2 = n.quadrupole_moment;
    }
    return options;
}

action_result tensor_parameters(action_context& ctx) {
    action_files files;
    if (const auto ended = open_action_files(ctx, files)) return *ended;
    action_input& input = files.input;
    auto& result = files.result;

    tensor_parameters_record& record = tensor_parameters_settings();
    if (ctx.ui.tensor_parameters_dialog(record) != dialog_result::ok)
        return action_result::cancelled;
    std::string_view refusal;
    const std::optional<tensor_parameters_options> options = options_from_record(record, refusal);
    if (!options) {
        refuse(ctx.ui, refusal);
        return action_result::failed;
    }

    std::string text = record.csv ? format_csv_header(*options) : format_report_header(*options);
    bool any_tensor = false;
    std::string line;
    while (read_text_line(line, *input.file)) {
        if (is_comment_line(line)) {
            if (!record.csv) text += line;
            continue;
        }
        const std::optional<labelled_tensor> tensor = read_tensor_line(without_line_end(line));
        if (!tensor) continue;
        const std::optional<tensor_result> computed = compute_tensor_parameters(*tensor, *options);
        if (!computed) {
            refuse(ctx.ui, msg::wrong_data_format);
            return action_result::failed;
        }
        any_tensor = true;
        text += record.csv ? format_csv_row(*options, *computed)
                           : format_report_block(*options, *computed);
    }
    if (!any_tensor) {
        refuse(ctx.ui, msg::wrong_data_format);
        return action_result::failed;
    }
    result->write(text);
    result->close();
    return action_result::completed;
}

}  // namespace orvix
