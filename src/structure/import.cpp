// Import of CIF and .magres files into crystal data text.
#include "structure/import.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <new>

#include "crystal/atom_line_format.h"
#include "platform/c_format.h"
#include "structure/cif_reader.h"

namespace orvix {

namespace {

// Names in the comment line are cut so that the line stays within the 279 characters a
// crystal data line may have.
std::string cut(std::string_view text, std::size_t most) {
    return std::string(text.substr(0, most));
}

std::string base_name(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string comment_line(const crystal_structure& s, const std::string& source_name,
                         const import_options& options) {
    std::string line = "/* imported from " + cut(base_name(source_name), 120);
    if (!s.block.empty()) line += ", block " + cut(s.block, 40);
    line += ": ";
    if (options.tensors != magres_tensors::none) {
        line += std::to_string(s.tensors.size()) +
                (options.tensors == magres_tensors::ms ? " ms tensor" : " efg tensor") +
                (s.tensors.size() == 1 ? "" : "s") +
                (options.tensors == magres_tensors::ms ? " (ppm)" : " (atomic units)") +
                " in the Cartesian frame of Orthogonalize > Coordinates";
    } else {
        line += "space group " + cut(s.space_group, 40) + ", " + std::to_string(s.atoms.size()) +
                (s.atoms.size() == 1 ? " atom" : " atoms");
        if (s.asymmetric_unit) line += " of the asymmetric unit";
    }
    if (s.partial_sites > 0)
        line += "; " + std::to_string(s.partial_sites) + " of " + std::to_string(s.site_count) +
                " sites partly occupied, every site kept";
    return line + " */";
}

// A number turned into another frame, as written: a rounding residue such as -1e-16 would
// show as -0.000000.
double without_residue(double value) {
    return std::fabs(value) < 5e-7 ? 0.0 : value;
}

float cartesian_field(double value) {
    return static_cast<float>(without_residue(value));
}

std::string structure_text(const crystal_structure& s, const std::string& source_name,
                           const import_options& options) {
    std::string text;
    text.reserve(64 * (s.atoms.size() + s.tensors.size() + 2));
    if (options.cartesian)
        text += c_format("%6.3f %6.3f %6.3f %6.3f %6.3f %6.3f", 1.0, 1.0, 1.0, 90.0, 90.0, 90.0);
    else
        text += c_format("%.6f %.6f %.6f %.6f %.6f %.6f", s.cell.length[0], s.cell.length[1],
                         s.cell.length[2], s.cell.angle[0], s.cell.angle[1], s.cell.angle[2]);
    text += "\r\n";
    text += comment_line(s, source_name, options);
    text += "\r\n";
    if (options.tensors != magres_tensors::none) {
        for (const structure_tensor& t : s.tensors) {
            append_label_field(text, t.label);
            for (double v : t.value) c_format_append(text, " %14.6f", without_residue(v));
            text += "\r\n";
        }
        return text;
    }
    mat3d m{};
    if (options.cartesian) orthogonal_cell_matrix(s.cell, m);
    for (const structure_atom& atom : s.atoms) {
        if (options.cartesian) {
            const vec3d c = multiply(m, atom.fractional);
            append_atom_line(text, atom.label, cartesian_field(c[0]), cartesian_field(c[1]),
                             cartesian_field(c[2]));
        } else {
            append_atom_line(text, atom.label, static_cast<float>(atom.fractional[0]),
                             static_cast<float>(atom.fractional[1]),
                             static_cast<float>(atom.fractional[2]));
        }
        text += "\r\n";
    }
    return text;
}

bool starts_data_block(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (line.size() - i < 5) return false;
    const std::string_view word = line.substr(i, 5);
    return (word[0] == 'd' || word[0] == 'D') && (word[1] == 'a' || word[1] == 'A') &&
           (word[2] == 't' || word[2] == 'T') && (word[3] == 'a' || word[3] == 'A') &&
           word[4] == '_';
}

}  // namespace

std::optional<structure_format> detect_format(std::string_view text) {
    if (is_magres_text(text)) return structure_format::magres;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        if (starts_data_block(text.substr(start, end - start))) return structure_format::cif;
        start = end + 1;
    }
    return std::nullopt;
}

import_result import_structure(std::string_view bytes, const std::string& source_name,
                               const import_options& options) {
    import_result result;
    try {
        std::optional<structure_format> format = options.format;
        if (options.format == structure_format::automatic) format = detect_format(bytes);
        if (!format) {
            result.error = source_name +
                           ": neither a CIF file (no data_ block) nor a .magres file (first "
                           "line #$magres-abinitio-v1.0)";
            return result;
        }
        crystal_structure s;
        if (*format == structure_format::cif) {
            if (options.tensors != magres_tensors::none) {
                result.error = source_name + ": tensors can be read from .magres files only";
                return result;
            }
            if (!read_cif(bytes, source_name, {options.block, options.asymmetric_unit}, s,
                          result.error))
                return result;
        } else {
            if (options.asymmetric_unit || !options.block.empty()) {
                result.error = source_name +
                               ": a .magres file lists every atom of the cell in one block; the "
                               "asymmetric unit and data blocks are CIF choices";
                return result;
            }
            if (!read_magres(bytes, source_name, options.tensors, s, result.error)) return result;
        }
        result.text = structure_text(s, source_name, options);
        result.atom_count = s.atoms.size();
        if (s.partial_sites > 0)
            result.warning = source_name + ": " + std::to_string(s.partial_sites) + " of the " +
                             std::to_string(s.site_count) +
                             " sites are partly occupied; every site is kept";
        result.ok = true;
    } catch (const std::bad_alloc&) {
        result = {};
        result.error = source_name + ": not enough memory for the structure";
    } catch (const std::exception& failure) {
        result = {};
        result.error = source_name + ": " + failure.what();
    }
    return result;
}

std::optional<std::string> read_whole_file(exclusive_file& file) {
    const std::int64_t length = file_length_in_bytes(file);
    if (length < 0 || !file.rewind()) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.stream());
    if (got != bytes.size()) return std::nullopt;
    return bytes;
}

}  // namespace orvix
