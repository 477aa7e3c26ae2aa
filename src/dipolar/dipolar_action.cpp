// The Dipolar Moment action.
#include "dipolar/dipolar_action.h"

#include "actions/messages.h"
#include "dipolar/parameters.h"

namespace orvix {

std::string error_report_text(int first, int second) {
    std::string text(msg::message_text(first));
    text.push_back('\n');
    text.append(msg::message_text(second));
    return text;
}

void show_error_messages(services& ui, int first, int second) {
    show_error(ui, error_report_text(first, second));
}

void report_dipolar_status(services& ui, dipolar_status status) {
    switch (status) {
        case dipolar_status::ok:
        case dipolar_status::cancelled:
            return;
        case dipolar_status::increment_not_positive:
            show_error(ui, msg::increment_not_positive);
            return;
        case dipolar_status::angles_not_finite:
            show_error(ui, msg::angles_not_finite);
            return;
        case dipolar_status::wrong_data_format:
            ui.message(msg::wrong_data_format, msg::program_name, message_icon::error,
                       message_buttons::ok);
            return;
        case dipolar_status::could_not_read:
        case dipolar_status::no_unit_cell:
        case dipolar_status::not_cartesian:
        case dipolar_status::unexpected_end:
            show_error_messages(ui, 7, static_cast<int>(status));
            return;
    }
}

namespace {

dipolar_status compute(services& ui, action_input& input, exclusive_file& result,
                       const dipolar_parameters& parameters) {
    dipolar_input entries;
    const dipolar_status read = read_dipolar_input(*input.file, entries);
    if (read != dipolar_status::ok) return read;
    if (parameters.moment_type == 0) {
        progress_scope progress(ui, "Computing the powder second moment...",
                                entries.entries.size());
        return write_powder_sum(entries, parameters, result,
                                [&progress](std::uint64_t done) { return progress.step(done); });
    }
    progress_scope progress(ui, "Computing the single-crystal rotation pattern...",
                            rotation_line_count(parameters));
    return write_rotation_pattern(entries, parameters, result,
                                  [&progress](std::uint64_t done) { return progress.step(done); });
}

}  // namespace

action_result dipolar_moment(action_context& ctx) {
    action_input input;
    if (!open_action_input(ctx, input)) return action_result::failed;
    if (!input.file->rewind()) return action_result::failed;
    auto result = create_result_file(ctx);
    if (!result) return action_result::cancelled;

    dipolar_parameters& parameters = dipolar_record();
    if (ask_dipolar_parameters(ctx.ui, parameters) != dialog_result::ok) {
        result->close();
        return action_result::cancelled;
    }

    const dipolar_status status = compute(ctx.ui, input, *result, parameters);
    report_dipolar_status(ctx.ui, status);
    // Whatever was written before a failure or a cancel stays in the result file.
    result->close();
    switch (status) {
        case dipolar_status::ok:
            return action_result::completed;
        case dipolar_status::cancelled:
            return action_result::cancelled;
        default:
            return action_result::failed;
    }
}

}  // namespace orvix
