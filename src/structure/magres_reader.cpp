// The .magres reader.
#include "structure/magres_reader.h"

#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/scan.h"

namespace orvix {

namespace {

constexpr std::string_view magic = "#$magres-abinitio-v";

struct magres_problem {
    int line;
    std::string text;
};

struct magres_atom {
    std::string label;
    long index;
    vec3d position;  // Cartesian, Angstrom
};

struct magres_tensor {
    std::string label;  // empty while label and index are still glued together
    long index = 0;
    std::string glued;  // "H100": the older CASTEP form of a three-digit index
    std::array<double, 9> value{};
    int line = 0;
};

std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// The record's fields: the line up to a '#', split at blanks and tabs.
std::vector<std::string_view> fields_of(std::string_view line) {
    if (const auto hash = line.find('#'); hash != std::string_view::npos)
        line = line.substr(0, hash);
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && is_c_space(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !is_c_space(line[i])) ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

double number_field(std::string_view field, int line, std::string_view record) {
    std::string_view rest = field;
    double value = 0;
    if (!scan_double(rest, value) || !rest.empty() || !std::isfinite(value))
        throw magres_problem{
            line, std::string(record) + " record: '" + std::string(field) + "' is not a number"};
    return value;
}

long index_field(std::string_view field, int line, std::string_view record) {
    long value = 0;
    const auto [end, status] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (status != std::errc() || end != field.data() + field.size())
        throw magres_problem{line, std::string(record) + " record: '" + std::string(field) +
                                       "' is not an atom index"};
    return value;
}

void expect_count(const std::vector<std::string_view>& fields, std::size_t count, int line,
                  std::string_view form) {
    if (fields.size() != count)
        throw magres_problem{line, std::string(fields[0]) + " record with " +
                                       std::to_string(fields.size() - 1) + " values instead of " +
                                       std::string(form)};
}

struct magres_file {
    std::optional<mat3d> lattice;
    int lattice_line = 0;
    std::vector<magres_atom> atoms;
    std::vector<magres_tensor> tensors;
    std::string tensor_units;
    int tensor_units_line = 0;
};

void read_atoms_record(const std::vector<std::string_view>& f, int line, magres_file& file) {
    if (f[0] == "units") {
        expect_count(f, 3, line, "2 (a quantity and its unit)");
        if ((f[1] == "lattice" || f[1] == "atom") && f[2] != "Angstrom")
            throw magres_problem{line, "units " + std::string(f[1]) + " " + std::string(f[2]) +
                                           ": only Angstrom can be read"};
    } else if (f[0] == "lattice") {
        expect_count(f, 10, line, "9 (three vectors)");
        if (file.lattice) throw magres_problem{line, "a second lattice record"};
        mat3d rows;
        for (std::size_t i = 0; i < 9; ++i) rows[i / 3][i % 3] = number_field(f[i + 1], line, f[0]);
        file.lattice = rows;
        file.lattice_line = line;
    } else if (f[0] == "atom") {
        expect_count(f, 7, line, "6 (species, label, index, x, y, z)");
        file.atoms.push_back({std::string(f[2]),
                              index_field(f[3], line, f[0]),
                              {number_field(f[4], line, f[0]), number_field(f[5], line, f[0]),
                               number_field(f[6], line, f[0])}});
    }
}

void read_magres_record(const std::vector<std::string_view>& f, int line, std::string_view kind,
                        magres_file& file) {
    if (f[0] == "units" && f.size() >= 3 && f[1] == kind) {
        file.tensor_units = std::string(f[2]);
        file.tensor_units_line = line;
        return;
    }
    if (f[0] != kind) return;
    magres_tensor tensor;
    tensor.line = line;
    std::size_t first_number = 3;
    if (f.size() == 12) {
        tensor.label = std::string(f[1]);
        tensor.index = index_field(f[2], line, f[0]);
    } else if (f.size() == 11) {
        tensor.glued = std::string(f[1]);
        first_number = 2;
    } else {
        expect_count(f, 12, line, "11 (label, index, nine tensor elements)");
    }
    for (std::size_t i = 0; i < 9; ++i)
        tensor.value[i] = number_field(f[first_number + i], line, f[0]);
    file.tensors.push_back(std::move(tensor));
}

magres_file parse(std::string_view text, magres_tensors tensors) {
    const std::vector<std::string_view> lines = split_lines(text);
    if (lines.empty() || lines[0].substr(0, magic.size()) != magic ||
        lines[0].substr(magic.size(), 2) != "1.")
        throw magres_problem{1,
                             "not a .magres file of version 1 (its first line must be "
                             "#$magres-abinitio-v1.0)"};
    const std::string_view kind = tensors == magres_tensors::ms ? "ms" : "efg";
    magres_file file;
    std::string block;
    int block_line = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const int line = static_cast<int>(i + 1);
        const std::vector<std::string_view> f = fields_of(lines[i]);
        if (f.empty()) continue;
        if (f[0].size() >= 2 && f[0].front() == '[' && f[0].back() == ']') {
            const std::string_view tag = f[0].substr(1, f[0].size() - 2);
            if (!tag.empty() && tag[0] == '/') {
                if (tag.substr(1) != block)
                    throw magres_problem{
                        line, "[" + std::string(tag) + "] does not close " +
                                  (block.empty() ? std::string("any block") : "[" + block + "]")};
                block.clear();
            } else {
                if (!block.empty())
                    throw magres_problem{line,
                                         "[" + std::string(tag) + "] opens inside [" + block + "]"};
                block = std::string(tag);
                block_line = line;
            }
            continue;
        }
        if (block == "atoms")
            read_atoms_record(f, line, file);
        else if (block == "magres" && tensors != magres_tensors::none)
            read_magres_record(f, line, kind, file);
        // Records of other blocks ([calculation], [magres_old], ...) and outside any block
        // are not needed.
    }
    if (!block.empty()) throw magres_problem{block_line, "[" + block + "] is never closed"};
    return file;
}

// Finds the atom of a glued "H100": the one whose label and index, written together, give
// exactly that text.
void unglue(magres_tensor& tensor, const std::vector<magres_atom>& atoms) {
    const magres_atom* match = nullptr;
    for (const magres_atom& atom : atoms) {
        if (tensor.glued != atom.label + std::to_string(atom.index)) continue;
        if (match != nullptr && (match->label != atom.label || match->index != atom.index))
            throw magres_problem{
                tensor.line, "'" + tensor.glued + "' may be more than one atom's label and index"};
        match = &atom;
    }
    if (match == nullptr)
        throw magres_problem{tensor.line, "'" + tensor.glued + "' is no atom's label and index"};
    tensor.label = match->label;
    tensor.index = match->index;
}

crystal_structure build(magres_file& file, magres_tensors tensors) {
    if (!file.lattice) throw magres_problem{0, "no cell: the [atoms] block has no lattice record"};
    if (file.atoms.empty())
        throw magres_problem{0, "no atoms: the [atoms] block has no atom record"};
    const mat3d& rows = *file.lattice;
    crystal_structure s;
    s.space_group = "P1";
    s.cell = cell_from_lattice(rows);
    mat3d m, to_fractional;
    if (!orthogonal_cell_matrix(s.cell, m) || !invert(transpose(rows), to_fractional))
        throw magres_problem{file.lattice_line, "the lattice vectors do not span a cell"};
    // Cell constants describe a right-handed cell. For left-handed lattice vectors the
    // fractional coordinates are taken through the origin (-f with -a, -b, -c gives the same
    // atoms), which keeps the handedness of the structure.
    const double sense = determinant(rows) < 0.0 ? -1.0 : 1.0;
    for (const magres_atom& atom : file.atoms) {
        const vec3d f = multiply(to_fractional, atom.position);
        s.atoms.push_back({magres_label(atom.label, atom.index),
                           {wrap_fractional(sense * f[0]), wrap_fractional(sense * f[1]),
                            wrap_fractional(sense * f[2])}});
    }
    s.site_count = s.atoms.size();
    if (tensors == magres_tensors::none) return s;

    const char* kind = tensors == magres_tensors::ms ? "ms" : "efg";
    const char* units = tensors == magres_tensors::ms ? "ppm" : "au";
    if (!file.tensor_units.empty() && file.tensor_units != units)
        throw magres_problem{file.tensor_units_line, std::string("units ") + kind + " " +
                                                         file.tensor_units + ": only " + units +
                                                         " can be read"};
    if (file.tensors.empty())
        throw magres_problem{0, std::string("no ") + kind + " tensors in the [magres] block"};
    std::map<std::pair<std::string, long>, bool> known;
    for (const magres_atom& atom : file.atoms) known[{atom.label, atom.index}] = true;
    // The rotation from the file's Cartesian frame into the frame of the atoms as written:
    // Cartesian = m f and f = to_fractional x, so x turns into m to_fractional x; its sign
    // (for a left-handed lattice) cancels in R T R^T.
    const mat3d rotation = multiply(m, to_fractional);
    for (magres_tensor& tensor : file.tensors) {
        if (!tensor.glued.empty()) unglue(tensor, file.atoms);
        if (!known.count({tensor.label, tensor.index}))
            throw magres_problem{tensor.line, std::string(kind) + " record of " + tensor.label +
                                                  " " + std::to_string(tensor.index) +
                                                  ", which is no atom"};
        mat3d t;
        for (std::size_t i = 0; i < 9; ++i) t[i / 3][i % 3] = tensor.value[i];
        const mat3d turned = multiply(multiply(rotation, t), transpose(rotation));
        structure_tensor out{magres_label(tensor.label, tensor.index), {}};
        for (std::size_t i = 0; i < 9; ++i) out.value[i] = turned[i / 3][i % 3];
        s.tensors.push_back(std::move(out));
    }
    return s;
}

}  // namespace

bool is_magres_text(std::string_view text) {
    return text.substr(0, magic.size()) == magic;
}

std::string magres_label(std::string_view label, long index) {
    std::string text(label);
    if (!text.empty() && text.back() >= '0' && text.back() <= '9') text += '_';
    return text + std::to_string(index);
}

bool read_magres(std::string_view text, const std::string& source_name, magres_tensors tensors,
                 crystal_structure& out, std::string& error) {
    try {
        magres_file file = parse(text, tensors);
        out = build(file, tensors);
        return true;
    } catch (const magres_problem& problem) {
        error = source_name;
        if (problem.line > 0) error += ":" + std::to_string(problem.line);
        error += ": " + problem.text;
    }
    return false;
}

}  // namespace orvix
