// Generate Positions and Generate Block. Both read their input once into an atom table and
// stream their result through a large buffer, so memory stays flat however many operations
// or translations are written; the result is what re-reading the input for every
// operation or translation would give.
#include "generate/generate_actions.h"

#include <limits>
#include <optional>

#include "actions/messages.h"
#include "crystal/records.h"
#include "platform/c_format.h"

namespace orvix {

namespace {

std::uint64_t progress_total(line_count lines) {
    return lines > std::numeric_limits<std::uint64_t>::max()
               ? std::numeric_limits<std::uint64_t>::max()
               : static_cast<std::uint64_t>(lines);
}

}  // namespace

std::string large_result_question(line_count lines) {
    return c_format(msg::large_result_format, line_count_text(lines).c_str());
}

bool confirm_large_result(services& ui, line_count lines) {
    if (lines <= large_result_lines) return true;
    return ui.ask(question::large_result, large_result_question(lines), msg::program_name,
                  message_icon::question, message_buttons::ok_cancel) == answer::ok;
}

action_result generate_positions(action_context& ctx) {
    services& ui = ctx.ui;
    action_files files;
    if (const auto ended = open_action_files(ctx, files)) return *ended;
    action_input& input = files.input;
    auto& result = files.result;

    symmetry_operation operation;
    operation.position_count = 1;
    // The cell line heads the result, written once the first dialog has been answered:
    // alone after a Cancel there, not at all when the large result is refused (the file
    // stays empty, as in Generate Block).
    std::string cell;
    const bool has_cell = read_cell_line(*input.file, cell);

    // Read once, after the first operation was accepted: a Cancel there costs nothing.
    std::optional<atom_table> atoms;
    line_writer out(*result);
    action_result outcome = action_result::completed;
    // The count is read anew after every dialog (only the first one can change it).
    for (std::int64_t i = 1; i <= operation.position_count; ++i) {
        reset_symmetry_operation(operation, static_cast<std::int32_t>(i));
        if (ui.symmetry_operations_dialog(operation) == dialog_result::cancel) {
            if (!atoms && has_cell) copy_cell_line(*result, cell);
            outcome = action_result::cancelled;  // the images written so far stay
            break;
        }
        if (!atoms) {
            input.file->rewind();
            atoms = read_atom_table(*input.file, true);
            const line_count lines = add_lines(
                has_cell ? 1 : 0, positions_line_count(atoms->size(), atoms->comment_places.size(),
                                                       operation.position_count));
            if (!confirm_large_result(ui, lines)) {
                outcome = action_result::cancelled;
                break;
            }
            if (has_cell) copy_cell_line(*result, cell);
        }
        progress_scope progress(ui, msg::generating_positions, atoms->size());
        const write_outcome written =
            write_operation_images(out, *atoms, operation, i == operation.position_count,
                                   [&progress](std::uint64_t done) { return progress.step(done); });
        // The images of finished operations are in the file before the next dialog opens.
        out.flush();
        if (written == write_outcome::stopped) {
            outcome = action_result::cancelled;
            break;
        }
    }
    out.flush();
    result->close();
    return outcome;
}

action_result generate_block(action_context& ctx) {
    services& ui = ctx.ui;
    action_files files;
    if (const auto ended = open_action_files(ctx, files)) return *ended;
    action_input& input = files.input;
    auto& result = files.result;

    block_record block;
    block.n = 1;
    if (ui.generate_block_dialog(block) == dialog_result::cancel) {
        result->close();  // stays empty
        return action_result::cancelled;
    }

    std::string cell;
    const bool has_cell = read_cell_line(*input.file, cell);
    input.file->rewind();
    const atom_table atoms = read_atom_table(*input.file, false);
    const line_count atom_lines = block_line_count(atoms.size(), block.n);
    if (!confirm_large_result(ui, add_lines(has_cell ? 1 : 0, atom_lines))) {
        result->close();  // stays empty, as after a Cancel in the dialog
        return action_result::cancelled;
    }

    if (has_cell) copy_cell_line(*result, cell);
    line_writer out(*result);
    write_outcome written;
    {
        progress_scope progress(ui, msg::generating_block, progress_total(atom_lines));
        written = write_block(out, atoms, block.n,
                              [&progress](std::uint64_t done) { return progress.step(done); });
    }
    // After a Cancel in the progress dialog the lines generated so far stay in the file.
    out.flush();
    result->close();
    return written == write_outcome::finished ? action_result::completed : action_result::cancelled;
}

}  // namespace orvix
