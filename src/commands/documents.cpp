// The document commands and the dispatcher.
#include "commands/documents.h"

#include <cstdio>
#include <new>
#include <optional>

#include "actions/messages.h"
#include "commands/command_table.h"
#include "platform/c_format.h"
#include "structure/import.h"

namespace orvix {

namespace {

// The import dialog's filters: structure files, CIF, .magres, all files.
void reset_import_dialog_record(file_dialog_record& record) {
    reset_file_dialog_record(record);
    record.filters = {
        {"Structure Files (*.CIF, *.MAGRES)", "*.cif *.magres"},
        {"CIF Files       (*.CIF)", "*.cif"},
        {"Magres Files    (*.MAGRES)", "*.magres"},
        {"All Files       (*.*)", "*.*"},
    };
    record.default_extension.clear();
}

}  // namespace

std::string caption_text(std::string_view name) {
    std::string caption(msg::program_name);
    caption += " - ";
    if (name.empty())
        caption += msg::untitled;
    else
        caption += name.substr(0, caption_name_limit);
    return caption;
}

answer ask_save_changes(shell& sh) {
    const std::string question = c_format(msg::save_changes_format, sh.doc.current_name.c_str());
    const answer reply = sh.ui.message(question, msg::program_name, message_icon::question,
                                       message_buttons::yes_no_cancel);
    if (reply != answer::yes) return reply == answer::no ? answer::no : answer::cancel;
    return save_document(sh) ? answer::yes : answer::cancel;
}

bool may_close(shell& sh) {
    return !sh.doc.modified || ask_save_changes(sh) != answer::cancel;
}

bool read_file_into_editor(shell& sh, const std::string& path) {
    auto file = exclusive_file::open_existing(path, exclusive_file::access::read);
    if (!file) return false;
    const std::int64_t length = file_length_in_bytes(*file);
    if (length < 0) return false;
    if (static_cast<std::uint64_t>(length) >= editor_limit) {
        show_error(sh.ui, msg::file_too_large, path);
        return false;
    }
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        return false;
    }
    file->rewind();
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file->stream());
    bytes.resize(got);
    // The editor's text ends at a zero byte, as a C string would.
    if (const auto zero = bytes.find('\0'); zero != std::string::npos) bytes.resize(zero);
    sh.window.set_editor_text(bytes);
    return true;
}

bool open_document(shell& sh) {
    document_state& doc = sh.doc;
    doc.current_path = doc.current_name;
    reset_file_dialog_record(doc.file_dialog);
    if (!sh.ui.open_file_dialog(doc.file_dialog, doc.current_path, doc.current_name)) return false;
    if (read_file_into_editor(sh, doc.current_path)) {
        sh.window.set_caption(doc.current_name);
        return true;
    }
    show_error(sh.ui, msg::open_could_not_read, doc.current_name);
    doc.current_name.clear();
    doc.current_path.clear();
    return false;
}

bool save_document_as(shell& sh) {
    document_state& doc = sh.doc;
    doc.current_path = doc.current_name;
    reset_file_dialog_record(doc.file_dialog);
    return sh.ui.save_file_dialog(doc.file_dialog, doc.current_path, doc.current_name);
}

bool save_document_as_command(shell& sh) {
    if (!save_document_as(sh)) return false;
    sh.window.set_caption(sh.doc.current_name);
    if (!write_editor_to_file(sh.ui, sh.ui.editor_text(), sh.doc.current_path)) return false;
    sh.doc.modified = false;
    return true;
}

bool save_document(shell& sh) {
    if (sh.doc.current_path.empty()) return save_document_as_command(sh);
    if (!write_editor_to_file(sh.ui, sh.ui.editor_text(), sh.doc.current_path)) return false;
    sh.doc.modified = false;
    return true;
}

bool import_structure_document(shell& sh) {
    document_state& doc = sh.doc;
    // The dialog proposes no name: the document's own name is a crystal data file, and the
    // imported file never becomes the document.
    std::string path;
    std::string name;
    reset_import_dialog_record(doc.file_dialog);
    if (!sh.ui.open_file_dialog(doc.file_dialog, path, name)) return false;
    std::optional<std::string> bytes;
    if (auto file = exclusive_file::open_existing(path, exclusive_file::access::read))
        bytes = read_whole_file(*file);
    if (!bytes) {
        show_error(sh.ui, msg::could_not_read_file, name);
        return false;
    }
    const import_result result = import_structure(*bytes, name, import_options{});
    if (!result.ok) {
        show_error(sh.ui, result.error, msg::program_name);
        return false;
    }
    if (result.text.size() >= editor_limit) {
        show_error(sh.ui,
                   c_format(msg::import_too_large_format, result.atom_count, result.text.size()),
                   path);
        return false;
    }
    sh.window.set_editor_text(result.text);
    doc.current_path.clear();
    doc.current_name.clear();
    sh.window.set_caption(doc.current_name);
    // The text is saved nowhere yet: closing the window asks about it.
    doc.modified = true;
    if (!result.warning.empty())
        sh.ui.message(result.warning, msg::program_name, message_icon::warning,
                      message_buttons::ok);
    return true;
}

void editor_notification(shell& sh, editor_event event) {
    switch (event) {
        case editor_event::changed:
            sh.doc.modified = true;
            break;
        case editor_event::out_of_space:
            show_error(sh.ui, msg::edit_out_of_space, msg::program_name);
            break;
    }
}

void dispatch_command(shell& sh, int command) {
    document_state& doc = sh.doc;
    switch (command) {
        case cmd::file_new:
            if (doc.modified && ask_save_changes(sh) == answer::cancel) return;
            sh.window.set_editor_text({});
            doc.current_name.clear();
            doc.current_path.clear();
            sh.window.set_caption(doc.current_name);
            doc.modified = false;
            return;
        case cmd::file_open:
            if (doc.modified && ask_save_changes(sh) == answer::cancel) return;
            // Only a file actually read replaces the text: after a cancelled or failed Open
            // the editor still holds the changed text, and the flag must keep asking for it.
            if (open_document(sh)) doc.modified = false;
            return;
        case cmd::file_import:
            if (doc.modified && ask_save_changes(sh) == answer::cancel) return;
            import_structure_document(sh);
            return;
        case cmd::file_save:
            save_document(sh);
            return;
        case cmd::file_save_as:
            save_document_as_command(sh);
            return;
        case cmd::file_exit:
            sh.window.request_close();
            return;
        case cmd::edit_undo:
        case cmd::edit_cut:
        case cmd::edit_copy:
        case cmd::edit_paste:
        case cmd::edit_delete:
        case cmd::edit_select_all:
            sh.window.edit(command);
            return;
        case cmd::help_contents:
            sh.ui.show_help(find_command(command)->help_topic);
            return;
        case cmd::help_about:
            sh.window.show_about();
            return;
        case cmd::make_oblique:
            return;
        default:
            break;
    }
    if (const command_row* row = find_command(command)) run_command_action(*row, sh.ui, doc);
}

}  // namespace orvix
