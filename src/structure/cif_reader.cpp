// The CIF reader. gemmi parses the text into blocks, items and loops; the symmetry, the
// numbers with their standard uncertainties and the expansion of the sites are done here,
// because gemmi 0.5.7's own small-structure reader takes the symmetry from the
// Hermann-Mauguin name alone and merges copies within 0.4 Angstrom, too coarse for hydrogen.
#include "structure/cif_reader.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <gemmi/cif.hpp>
#include <gemmi/numb.hpp>
#include <gemmi/symmetry.hpp>
#include <optional>

namespace orvix {

namespace {

namespace cif = gemmi::cif;

// A problem found in the file: the line it is on (0 when there is none) and what it is.
struct cif_problem {
    int line;
    std::string text;
};

std::string located(const std::string& source_name, int line, const std::string& text) {
    std::string message = source_name;
    if (line > 0) message += ":" + std::to_string(line);
    return message + ": " + text;
}

// A value as text: quotes removed, line breaks of a text field turned into blanks.
std::string plain(const std::string& raw) {
    std::string text = cif::as_string(raw);
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The first of the tags that the block holds as a single value, with its line.
struct pair_value {
    std::string tag;
    std::string raw;
    int line = 0;
};

std::optional<pair_value> find_pair(const cif::Block& block,
                                    std::initializer_list<const char*> tags) {
    for (const char* tag : tags)
        if (const cif::Item* item = block.find_pair_item(tag))
            return pair_value{tag, item->pair[1], item->line_number};
    return std::nullopt;
}

double number_of(const pair_value& value) {
    const double number = cif::as_number(value.raw);
    if (std::isnan(number)) {
        if (cif::is_null(value.raw)) throw cif_problem{value.line, value.tag + " has no value"};
        throw cif_problem{value.line, value.tag + " is not a number: " + value.raw};
    }
    return number;
}

cell_parameters read_cell(const cif::Block& block) {
    static const char* const tags[6] = {"_cell_length_a",   "_cell_length_b",
                                        "_cell_length_c",   "_cell_angle_alpha",
                                        "_cell_angle_beta", "_cell_angle_gamma"};
    cell_parameters cell;
    int last_line = 0;
    for (int i = 0; i < 6; ++i) {
        const auto value = find_pair(block, {tags[i]});
        if (!value) throw cif_problem{0, std::string("no cell: ") + tags[i] + " is missing"};
        const double number = number_of(*value);
        if (i < 3)
            cell.length[static_cast<std::size_t>(i)] = number;
        else
            cell.angle[static_cast<std::size_t>(i - 3)] = number;
        last_line = value->line;
    }
    mat3d unused;
    if (!orthogonal_cell_matrix(cell, unused))
        throw cif_problem{last_line, "the cell constants do not describe a unit cell"};
    return cell;
}

// Every operation of a group: each rotation with each centring translation.
std::vector<gemmi::Op> all_operations(const gemmi::GroupOps& group) {
    std::vector<gemmi::Op> ops;
    ops.reserve(group.sym_ops.size() * group.cen_ops.size());
    for (const gemmi::Op::Tran& centring : group.cen_ops)
        for (const gemmi::Op& op : group.sym_ops) ops.push_back(op.add_centering(centring));
    return ops;
}

// gemmi keeps every number of an operation times 24 in an int and does not check for
// overflow; operations whose numbers add up to this much are refused before it reads them.
// Real ones hold denominators up to 24 and translations of a few cells.
constexpr long long largest_number_sum = 10000;

bool numbers_too_large(const std::string& triplet) {
    long long sum = 0;
    for (std::size_t i = 0; i < triplet.size(); ++i) {
        if (triplet[i] < '0' || triplet[i] > '9') continue;
        long long value = 0;
        for (; i < triplet.size() && triplet[i] >= '0' && triplet[i] <= '9'; ++i)
            value = std::min(value * 10 + (triplet[i] - '0'), largest_number_sum);
        sum += value;
        if (sum >= largest_number_sum) return true;
    }
    return false;
}

// A symmetry operation maps the lattice onto itself: its factors of x, y and z are whole
// numbers and their determinant is 1 or -1. gemmi also reads "2*x" or "1/2*x".
bool maps_the_lattice_onto_itself(const gemmi::Op& op) {
    long long r[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int element = op.rot[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
            if (element % gemmi::Op::DEN != 0) return false;
            r[i][j] = element / gemmi::Op::DEN;
        }
    }
    const long long det = r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) -
                          r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
                          r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]);
    return det == 1 || det == -1;
}

struct symmetry {
    std::vector<gemmi::Op> ops;
    std::string name;
};

symmetry read_symmetry(cif::Block& block, const cell_parameters& cell) {
    symmetry sym;
    const auto hm =
        find_pair(block, {"_space_group_name_H-M_alt", "_symmetry_space_group_name_H-M"});
    const auto hall =
        find_pair(block, {"_space_group_name_Hall", "_symmetry_space_group_name_Hall"});
    const auto number = find_pair(block, {"_space_group_IT_number", "_symmetry_Int_Tables_number"});
    const bool has_hm = hm && !cif::is_null(hm->raw);
    const bool has_hall = hall && !cif::is_null(hall->raw);
    const bool has_number = number && !cif::is_null(number->raw);

    // The operations themselves, where the file lists them, are the most direct statement.
    for (const char* tag : {"_space_group_symop_operation_xyz", "_symmetry_equiv_pos_as_xyz",
                            "_space_group_symop.operation_xyz"}) {
        cif::Column column = block.find_values(tag);
        if (!column.item()) continue;
        const int line = column.item()->line_number;
        for (const std::string& raw : column) {
            const std::string triplet = plain(raw);
            const auto refuse = [&](const std::string& reason) {
                return cif_problem{line, "symmetry operation '" + triplet + "' in " + tag +
                                             " cannot be read: " + reason};
            };
            if (numbers_too_large(triplet)) throw refuse("its numbers are too large");
            try {
                sym.ops.push_back(gemmi::parse_triplet(triplet));
            } catch (const std::exception& failure) {
                throw refuse(failure.what());
            }
            if (!maps_the_lattice_onto_itself(sym.ops.back()))
                throw refuse(
                    "no symmetry of the lattice (the factors of x, y and z must be whole "
                    "numbers with determinant 1 or -1)");
        }
        if (sym.ops.empty()) throw cif_problem{line, std::string(tag) + " lists no operation"};
        break;
    }
    if (sym.ops.empty() && has_hall) {
        const std::string symbol = plain(hall->raw);
        try {
            sym.ops = all_operations(gemmi::symops_from_hall(symbol.c_str()));
        } catch (const std::exception& failure) {
            throw cif_problem{hall->line,
                              "unknown Hall symbol '" + symbol + "': " + failure.what()};
        }
    }
    if (sym.ops.empty() && has_hm) {
        const std::string name = plain(hm->raw);
        // The angles tell the hexagonal from the rhombohedral setting of an R group.
        const gemmi::SpaceGroup* group =
            gemmi::find_spacegroup_by_name(name, cell.angle[0], cell.angle[2]);
        if (group == nullptr) throw cif_problem{hm->line, "unknown space group '" + name + "'"};
        sym.ops = all_operations(group->operations());
    }
    if (sym.ops.empty() && has_number) {
        const std::string text = plain(number->raw);
        const gemmi::SpaceGroup* group = gemmi::find_spacegroup_by_name(text);
        if (group == nullptr)
            throw cif_problem{number->line, "unknown space group number '" + text + "'"};
        sym.ops = all_operations(group->operations());
    }
    if (sym.ops.empty())
        throw cif_problem{0,
                          "no symmetry: the block has no symmetry operations, Hall symbol, "
                          "space-group name or number"};

    if (has_hm)
        sym.name = plain(hm->raw);
    else if (has_hall)
        sym.name = "Hall " + plain(hall->raw);
    else if (has_number)
        sym.name = "No. " + plain(number->raw);
    else if (sym.ops.size() == 1)
        sym.name = "P1";
    else
        sym.name = "of " + std::to_string(sym.ops.size()) + " operations";
    return sym;
}

struct site {
    std::string label;
    vec3d position;
};

// A label as one atom-line field: blanks inside a quoted CIF label would split it.
std::string label_field(std::string text) {
    for (char& c : text)
        if (c == ' ') c = '_';
    return text;
}

double coordinate(const std::string& raw, const char* tag, const std::string& label, int line) {
    const double value = cif::as_number(raw);
    if (!std::isfinite(value))
        throw cif_problem{line,
                          "site " + label + ": _atom_site_" + tag + " is not a number: " + raw};
    return value;
}

std::vector<site> read_sites(cif::Block& block, std::size_t& partial_sites) {
    cif::Table table = block.find(
        "_atom_site_", {"fract_x", "fract_y", "fract_z", "?label", "?type_symbol", "?occupancy"});
    if (!table.ok() || table.length() == 0)
        throw cif_problem{0, "no atoms: the block has no _atom_site_fract_x"};
    const int line = table.loop_item != nullptr
                         ? table.loop_item->line_number
                         : block.items[static_cast<std::size_t>(table.positions[0])].line_number;
    std::vector<site> sites;
    sites.reserve(table.length());
    partial_sites = 0;
    for (std::size_t i = 0; i < table.length(); ++i) {
        cif::Table::Row row = table[static_cast<int>(i)];
        std::string label;
        if (row.has2(3))
            label = plain(row[3]);
        else if (row.has2(4))
            label = plain(row[4]) + std::to_string(i + 1);
        else
            label = "X" + std::to_string(i + 1);
        label = label_field(label);
        site s{
            label,
            {coordinate(row[0], "fract_x", label, line), coordinate(row[1], "fract_y", label, line),
             coordinate(row[2], "fract_z", label, line)}};
        if (row.has2(5)) {
            const double occupancy = cif::as_number(row[5]);
            if (!std::isfinite(occupancy))
                throw cif_problem{
                    line, "site " + label + ": _atom_site_occupancy is not a number: " + row[5]};
            // Occupancies are given to a few decimals at most.
            if (occupancy < 1.0 - 1e-6) ++partial_sites;
        }
        sites.push_back(std::move(s));
    }
    return sites;
}

// The shortest distance (Angstrom) between two fractional positions over all lattice
// translations; exact for the short distances it decides on.
double periodic_distance(const mat3d& m, const vec3d& p, const vec3d& q) {
    vec3d d;
    for (std::size_t k = 0; k < 3; ++k) d[k] = p[k] - q[k] - std::round(p[k] - q[k]);
    const vec3d c = multiply(m, d);
    return std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
}

void expand(const std::vector<site>& sites, const std::vector<gemmi::Op>& ops, const mat3d& m,
            std::vector<structure_atom>& atoms) {
    atoms.reserve(sites.size() * ops.size());
    for (const site& s : sites) {
        // Only copies of the same site are compared: two sites sharing one position (mixed
        // occupancy, as Si and Al on one tetrahedral site) are both kept.
        const std::size_t first_copy = atoms.size();
        for (const gemmi::Op& op : ops) {
            const auto image = op.apply_to_xyz(s.position);
            const vec3d wrapped = {wrap_fractional(image[0]), wrap_fractional(image[1]),
                                   wrap_fractional(image[2])};
            bool seen = false;
            for (std::size_t k = first_copy; k < atoms.size() && !seen; ++k)
                seen = periodic_distance(m, wrapped, atoms[k].fractional) < coincidence_distance;
            if (!seen) atoms.push_back({s.label, wrapped});
        }
    }
}

cif::Block* choose_block(cif::Document& doc, const std::string& wanted) {
    if (!wanted.empty()) {
        // Block names are case-insensitive; gemmi compares with a lower-case second name.
        const std::string lower = gemmi::to_lower(wanted);
        for (cif::Block& block : doc.blocks)
            if (gemmi::iequal(block.name, lower)) return &block;
        std::string names;
        for (const cif::Block& block : doc.blocks)
            names += (names.empty() ? "" : ", ") + block.name;
        throw cif_problem{0,
                          "no data block '" + wanted + "'" +
                              (names.empty() ? std::string() : " (the file has: " + names + ")")};
    }
    for (cif::Block& block : doc.blocks) {
        const cif::Column column = block.find_values("_atom_site_fract_x");
        if (column.item() != nullptr && column.length() > 0) return &block;
    }
    if (doc.blocks.empty()) throw cif_problem{0, "no data block (data_...)"};
    throw cif_problem{0, "no atoms: no data block has _atom_site_fract_x"};
}

}  // namespace

bool read_cif(std::string_view text, const std::string& source_name, const cif_request& request,
              crystal_structure& out, std::string& error) {
    try {
        cif::Document doc = cif::read_memory(text.data(), text.size(), source_name.c_str());
        cif::Block& block = *choose_block(doc, request.block);
        crystal_structure result;
        result.block = block.name;
        result.cell = read_cell(block);
        const symmetry sym = read_symmetry(block, result.cell);
        result.space_group = sym.name;
        const std::vector<site> sites = read_sites(block, result.partial_sites);
        result.site_count = sites.size();
        result.asymmetric_unit = request.asymmetric_unit;
        if (request.asymmetric_unit) {
            for (const site& s : sites) result.atoms.push_back({s.label, s.position});
        } else {
            mat3d m;
            orthogonal_cell_matrix(result.cell, m);
            expand(sites, sym.ops, m, result.atoms);
        }
        out = std::move(result);
        return true;
    } catch (const cif_problem& problem) {
        error = located(source_name, problem.line, problem.text);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& failure) {
        // gemmi's own messages already begin with the source name and the line.
        error = failure.what();
    }
    return false;
}

}  // namespace orvix
