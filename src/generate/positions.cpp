// Position generation: the atom table, the buffered writer, symmetry images and blocks.
#include "generate/positions.h"

#include <algorithm>

#include "crystal/records.h"

namespace orvix {

namespace {

// Progress is asked after this many lines: often enough for a prompt Cancel, rarely
// enough to cost nothing.
constexpr std::uint64_t lines_between_progress = 4096;

constexpr line_count max_lines = ~line_count{0};

// Memory for the preformatted line starts of a block; beyond it they are formatted anew in
// every row.
constexpr std::uint64_t head_cache_budget = std::uint64_t{8} << 20;

}  // namespace

atom_table read_atom_table(exclusive_file& file, bool keep_comments) {
    // The same tests in the same order as read_atom_line, so that one pass over the file
    // yields exactly what a pass of read_atom_line calls yields (and what it would copy).
    atom_table table;
    std::string line;
    atom_record atom;
    while (read_text_line(line, file)) {
        if (is_comment_line(line)) {
            if (keep_comments) {
                table.comments.append(line);
                table.comment_places.push_back({table.size(), table.comments.size()});
            }
            continue;
        }
        if (is_cell_line(line)) continue;
        if (!parse_atom_line(line, atom)) continue;
        append_label_field(table.label_fields, atom.label);
        table.label_ends.push_back(table.label_fields.size());
        table.coordinates.push_back({atom.x, atom.y, atom.z});
    }
    return table;
}

line_writer::line_writer(exclusive_file& file, std::size_t capacity) : file_(file) {
    buffer_.resize(std::max<std::size_t>(capacity, 4096));
}

void line_writer::make_room(std::size_t bytes) {
    flush();
    if (bytes > buffer_.size()) buffer_.resize(bytes);
}

void line_writer::put_text(std::string_view bytes) {
    char* p = room(bytes.size());
    std::memcpy(p, bytes.data(), bytes.size());
    used_ += bytes.size();
}

void line_writer::flush() {
    if (used_ == 0) return;
    const std::size_t count = used_;
    used_ = 0;  // a failed write is reported once, not again by a later flush
    file_.write(std::string_view(buffer_.data(), count));
}

void reset_symmetry_operation(symmetry_operation& operation, std::int32_t position) {
    operation.current_position = position;
    operation.factor = {1.0, 1.0, 1.0};
    operation.shift = {0.0, 0.0, 0.0};
    operation.source = {0, 1, 2};
}

std::array<float, 3> apply_symmetry_operation(const symmetry_operation& operation,
                                              const std::array<float, 3>& old) {
    std::array<float, 3> result{};
    for (std::size_t row = 0; row < 3; ++row) {
        const std::size_t source = std::min<std::size_t>(operation.source[row], 2);
        result[row] = static_cast<float>(operation.factor[row] * static_cast<double>(old[source]) +
                                         operation.shift[row]);
    }
    return result;
}

write_outcome write_operation_images(line_writer& out, const atom_table& atoms,
                                     const symmetry_operation& operation, bool with_comments,
                                     const progress_callback& progress) {
    std::size_t next_comment = 0;
    std::size_t comment_begin = 0;
    const auto put_comments_before = [&](std::size_t atom) {
        while (next_comment < atoms.comment_places.size() &&
               atoms.comment_places[next_comment].before_atom <= atom) {
            const std::size_t end = atoms.comment_places[next_comment].end;
            out.put_text(
                std::string_view(atoms.comments).substr(comment_begin, end - comment_begin));
            comment_begin = end;
            ++next_comment;
        }
    };
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        if (with_comments) put_comments_before(i);
        const auto image = apply_symmetry_operation(operation, atoms.coordinates[i]);
        out.put_atom(atoms.label_field(i), image[0], image[1], image[2]);
        if ((i + 1) % lines_between_progress == 0 && !progress(i + 1))
            return write_outcome::stopped;
    }
    if (with_comments) put_comments_before(atoms.size());
    return write_outcome::finished;
}

write_outcome write_block(line_writer& out, const atom_table& atoms, std::int32_t n,
                          const progress_callback& progress) {
    const std::size_t count = atoms.size();
    std::uint64_t written = 0;
    std::uint64_t next_report = lines_between_progress;
    const auto counted = [&] {
        if (++written != next_report) return true;
        next_report += lines_between_progress;
        return progress(written);
    };
    for (std::size_t a = 0; a < count; ++a) {
        const auto& c = atoms.coordinates[a];
        out.put_atom(atoms.label_field(a), c[0], c[1], c[2]);
        if (!counted()) return write_outcome::stopped;
    }
    if (n <= 0 || count == 0) return write_outcome::finished;
    // 64-bit counters: n may be the largest 32-bit value.
    const std::int64_t m = n;
    const std::uint64_t side = 2 * static_cast<std::uint64_t>(m) + 1;

    // Within one (j, i) row of translations only x changes, so the rest of every atom's
    // line (" Y Z" and CR LF) is formatted once per row. The start of every line ("label X")
    // is the same in every row: it is formatted once for the whole block when all of them
    // fit in a fixed budget, so memory stays bounded whatever n.
    std::string tails;
    std::vector<std::size_t> tail_ends(count);
    std::string heads;
    std::vector<std::size_t> head_ends;
    const std::uint64_t head_bytes_at_most =
        (atoms.label_fields.size() + count * (1 + coordinate_field_room)) * side;
    const bool heads_cached = head_bytes_at_most <= head_cache_budget;
    if (heads_cached) {
        heads.reserve(static_cast<std::size_t>(head_bytes_at_most));
        head_ends.reserve(static_cast<std::size_t>(count * side));
        for (std::int64_t k = -m; k <= m; ++k)
            for (std::size_t a = 0; a < count; ++a) {
                const std::string_view label = atoms.label_field(a);
                char field[1 + coordinate_field_room];
                field[0] = ' ';
                char* end = put_coordinate_field(field + 1,
                                                 translate_coordinate(atoms.coordinates[a][0], k));
                heads.append(label);
                heads.append(field, static_cast<std::size_t>(end - field));
                head_ends.push_back(heads.size());
            }
    }

    for (std::int64_t i = -m; i <= m; ++i)
        for (std::int64_t j = -m; j <= m; ++j) {
            tails.clear();
            for (std::size_t a = 0; a < count; ++a) {
                const auto& c = atoms.coordinates[a];
                char field[2 * (1 + coordinate_field_room) + 2];
                char* p = field;
                *p++ = ' ';
                p = put_coordinate_field(p, translate_coordinate(c[1], j));
                *p++ = ' ';
                p = put_coordinate_field(p, translate_coordinate(c[2], i));
                *p++ = '\r';
                *p++ = '\n';
                tails.append(field, static_cast<std::size_t>(p - field));
                tail_ends[a] = tails.size();
            }
            std::size_t head = 0;  // index of the next cached head
            for (std::int64_t k = -m; k <= m; ++k) {
                if (i == 0 && j == 0 && k == 0) {
                    head += count;
                    continue;
                }
                std::size_t tail_begin = 0;
                for (std::size_t a = 0; a < count; ++a) {
                    const std::string_view tail(tails.data() + tail_begin,
                                                tail_ends[a] - tail_begin);
                    tail_begin = tail_ends[a];
                    if (heads_cached) {
                        const std::size_t head_begin = head == 0 ? 0 : head_ends[head - 1];
                        out.put_pieces(std::string_view(heads.data() + head_begin,
                                                        head_ends[head] - head_begin),
                                       tail);
                        ++head;
                    } else {
                        out.put_atom_with_tail(atoms.label_field(a),
                                               translate_coordinate(atoms.coordinates[a][0], k),
                                               tail);
                    }
                    if (!counted()) return write_outcome::stopped;
                }
            }
        }
    return write_outcome::finished;
}

line_count add_lines(line_count a, line_count b) {
    return a > max_lines - b ? max_lines : a + b;
}

line_count multiply_lines(line_count a, line_count b) {
    if (a == 0 || b == 0) return 0;
    return a > max_lines / b ? max_lines : a * b;
}

line_count block_line_count(std::uint64_t atoms, std::int32_t n) {
    if (n <= 0) return atoms;
    const line_count side = 2 * static_cast<line_count>(n) + 1;
    return multiply_lines(atoms, multiply_lines(side, multiply_lines(side, side)));
}

line_count positions_line_count(std::uint64_t atoms, std::uint64_t comments,
                                std::int32_t position_count) {
    if (position_count < 1) return atoms;
    return add_lines(multiply_lines(atoms, static_cast<line_count>(position_count)), comments);
}

std::string line_count_text(line_count lines) {
    char digits[48];
    char* end = digits + sizeof digits;
    char* p = end;
    do {
        *--p = static_cast<char>('0' + static_cast<int>(lines % 10));
        lines /= 10;
    } while (lines != 0);
    return std::string(p, end);
}

}  // namespace orvix
