// Numbered lookup into the message table.
#include "actions/messages.h"

namespace orvix::msg {

std::string_view message_text(int number) {
    switch (number) {
        case 1:
            return untitled;
        case 2:
            return edit_out_of_space;
        case 3:
            return could_not_read_file;
        case 4:
            return no_unit_cell;
        case 5:
            return not_cartesian;
        case 6:
            return unexpected_end;
        case 7:
            return dipolar_error;
        case 160:
            return not_enough_memory;
        case 161:
            return file_too_large;
        case 162:
            return open_could_not_read;
        case 163:
            return error_creating_file;
        case 164:
            return error_writing_file;
        case 165:
            return wrong_data_format;
        case 166:
            return not_unit_vectors;
        case 167:
            return not_orthogonal_format;
        case 168:
            return left_handed;
        case 169:
            return euler_clipboard_format;
        case 170:
            return null_vector;
        case 171:
            return axes_not_assigned;
        case 172:
            return no_crystal_axes;
        case 257:
            return build_date;
        default:
            return {};
    }
}

}  // namespace orvix::msg
