// The action protocol: input, result file, cleanup.
#include "actions/action_protocol.h"

#include <cerrno>

#include "actions/messages.h"

namespace orvix {

void show_error(services& ui, std::string_view text, std::string_view caption) {
    ui.message(text, caption, message_icon::error, message_buttons::ok);
}

namespace {

// Closes the input and deletes a temporary copy that still has its name.
void close_action_input(action_input& input) {
    input.file.reset();
    if (input.is_temporary && !input.path.empty()) delete_file(input.path);
    input.is_temporary = false;
}

}  // namespace

action_input::~action_input() {
    close_action_input(*this);
}

bool write_editor_to_file(services& ui, const std::string& text, const std::string& path) {
    auto file = exclusive_file::create(path);
    if (!file) {
        show_error(ui, msg::error_creating_file, path);
        return false;
    }
    if (text.empty()) {
        show_error(ui, msg::text_length_zero, "");
        return false;  // the file stays, now empty
    }
    try {
        file->write(text);
        file->close();
    } catch (const write_failure&) {
        show_error(ui, msg::error_writing_file, path);
        return false;
    }
    return true;
}

bool choose_input_file(services& ui, document_state& doc, std::string& path, std::string& name) {
    path = name;
    reset_file_dialog_record(doc.file_dialog);
    if (!ui.open_file_dialog(doc.file_dialog, path, name)) return false;
    if (exclusive_file::open_existing(path, exclusive_file::access::read)) return true;
    show_error(ui, msg::could_not_read_file, name);
    path.clear();
    name.clear();
    return false;
}

bool open_action_input(action_context& ctx, action_input& input) {
    services& ui = ctx.ui;
    const std::string text = ui.editor_text();
    if (!text.empty()) {
        if (!temporary_directory()) {
            show_error(ui, msg::no_temp_path, "");
            return false;
        }
        auto temporary = make_temporary_file();
        if (!temporary) {
            show_error(ui, msg::no_temp_file, "");
            return false;
        }
        // From here on the record owns the copy: every exit deletes it.
        input.path = *temporary;
        input.is_temporary = true;
        if (!write_editor_to_file(ui, text, input.path)) {
            show_error(ui, msg::no_edit_content, "");
            close_action_input(input);
            return false;
        }
    } else {
        input.is_temporary = false;
        if (!choose_input_file(ui, ctx.doc, input.path, ctx.name)) {
            show_error(ui, msg::no_input_name, "");
            return false;
        }
    }
    input.file = exclusive_file::open_existing(input.path, exclusive_file::access::read_write);
    if (!input.file) {
        show_error(ui, msg::no_open_input, "");
        close_action_input(input);
        return false;
    }
    if (input.is_temporary) {
        delete_file(input.path);
        input.is_temporary = false;
    }
    input.file->rewind();
    return true;
}

std::optional<exclusive_file> create_result_file(action_context& ctx, bool* reopen_failed) {
    if (reopen_failed != nullptr) *reopen_failed = false;
    services& ui = ctx.ui;
    std::string path = ctx.name;
    reset_file_dialog_record(ctx.doc.file_dialog);
    if (!ui.save_file_dialog(ctx.doc.file_dialog, path, ctx.name)) return std::nullopt;
    int error = 0;
    if (auto stream = ui.open_result_stream(path, error)) return stream;
    if (error != 0) {
        ui.result_not_created(path, error);
        return std::nullopt;
    }
    {
        // Created (and emptied) under the no-sharing rule: the action's own input, held
        // open, can never be chosen and truncated here.
        auto created = exclusive_file::create(path, &error);
        if (!created) {
            ui.result_not_created(path, error);
            return std::nullopt;
        }
    }
    auto file = exclusive_file::open_existing(path, exclusive_file::access::read_write, &error);
    if (file && !file->seek_end()) {
        error = errno;
        file.reset();
    }
    if (!file) {
        if (reopen_failed != nullptr) *reopen_failed = true;
        ui.result_not_created(path, error);
        return std::nullopt;
    }
    return file;
}

std::optional<action_result> open_action_files(action_context& ctx, action_files& files) {
    if (!open_action_input(ctx, files.input)) return action_result::failed;
    files.result = create_result_file(ctx);
    if (!files.result) return action_result::cancelled;
    return std::nullopt;
}

}  // namespace orvix
