// Crystal data line records.
#include "crystal/records.h"

#include <cmath>

#include "crystal/atom_line_format.h"
#include "platform/c_format.h"
#include "platform/scan.h"

namespace orvix {

bool is_comment_line(std::string_view line) {
    return (!line.empty() && line[0] == '/') || (line.size() > 1 && line[1] == '*');
}

bool is_cell_line(std::string_view text) {
    float values[6];
    if (scan_floats(text, values, 6) != 6) return false;
    for (float v : values)
        if (!(v > 0.0f)) return false;
    return true;
}

bool is_cartesian_cell(std::string_view text) {
    float values[6];
    if (scan_floats(text, values, 6) != 6) return false;
    return values[0] == 1.0f && values[3] == 90.0f;
}

bool is_origin_label(std::string_view label) {
    return label.size() == 2 && (label[0] == 'O' || label[0] == 'o') &&
           (label[1] == 'R' || label[1] == 'r');
}

bool parse_atom_line(std::string_view line, atom_record& atom) {
    std::size_t start = 0;
    while (start < line.size() && is_c_space(line[start])) ++start;
    std::size_t end = start;
    while (end < line.size() && !is_c_space(line[end]) && line[end] != '\0') ++end;
    if (end == start) return false;
    std::string_view rest = line.substr(end);
    float xyz[3];
    for (float& v : xyz)
        if (!scan_float(rest, v)) return false;
    atom.label.assign(line.substr(start, end - start));
    atom.x = xyz[0];
    atom.y = xyz[1];
    atom.z = xyz[2];
    return true;
}

bool is_finite_position(float x, float y, float z) {
    return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
}

bool read_cell_line(exclusive_file& file, std::string& out) {
    const std::int64_t position = file.tell();
    if (!file.rewind()) return false;
    std::string line;
    const bool got = read_text_line(line, file);
    file.seek(position);
    if (!got || !is_cell_line(line)) return false;
    out = std::move(line);
    return true;
}

bool read_atom_line(exclusive_file& file, atom_record& atom, bool copy, exclusive_file* result) {
    std::string line;
    while (read_text_line(line, file)) {
        if (is_comment_line(line)) {
            if (copy && result != nullptr) result->write(line);
            continue;
        }
        if (is_cell_line(line)) continue;
        if (parse_atom_line(line, atom)) return true;
    }
    return false;
}

void write_line(exclusive_file& file, std::string_view text) {
    std::string buffer;
    buffer.reserve(text.size() + 2);
    buffer.append(text);
    buffer.append("\r\n");
    file.write(buffer);
}

std::string format_atom_line(std::string_view label, float x, float y, float z) {
    std::string line;
    line.reserve(64);
    append_atom_line(line, label, x, y, z);
    return line;
}

void write_atom_line(exclusive_file& file, std::string_view label, float x, float y, float z) {
    std::string line;
    line.reserve(64);
    append_atom_line(line, label, x, y, z);
    line.append("\r\n");
    file.write(line);
}

void write_cartesian_cell(exclusive_file& file) {
    write_line(file,
               c_format("%6.3f %6.3f %6.3f %6.3f %6.3f %6.3f", 1.0, 1.0, 1.0, 90.0, 90.0, 90.0));
}

std::string_view strip_line_end(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

void copy_cell_line(exclusive_file& file, std::string_view line) {
    write_line(file, strip_line_end(line));
}

}  // namespace orvix
