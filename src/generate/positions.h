// Position generation without any user interface: the atoms of an input read once into a
// compact table, the images of that table under a simple symmetry operation, and the block
// of translated copies, written through a large buffer. Memory depends on the input only,
// never on how many operations or translations are written.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "crystal/atom_line_format.h"
#include "platform/dialog_records.h"
#include "platform/files.h"

namespace orvix {

// Line counts of results that can be far beyond 64 bits ((2n + 1)^3 copies for n up to
// 2^31 - 1); arithmetic on them saturates at the largest value.
__extension__ typedef unsigned __int128 line_count;

// Results with more lines than this are only written after the user agreed.
inline constexpr line_count large_result_lines = 100'000'000;

// The atom lines of an input, in file order (origin lines included), as a sequence of
// read_atom_line calls would return them, and optionally its comment lines with their
// places among the atoms.
struct atom_table {
    std::string label_fields;             // every label as "%-6s", one after another
    std::vector<std::size_t> label_ends;  // end of atom i's field in label_fields
    std::vector<std::array<float, 3>> coordinates;
    std::string comments;  // comment lines as read, line ends included, one after another
    struct comment_place {
        std::size_t before_atom;  // the atom the comment precedes (size() when none follows)
        std::size_t end;          // end of the comment in `comments`
    };
    std::vector<comment_place> comment_places;

    std::size_t size() const { return coordinates.size(); }
    std::string_view label_field(std::size_t atom) const {
        const std::size_t begin = atom == 0 ? 0 : label_ends[atom - 1];
        return std::string_view(label_fields).substr(begin, label_ends[atom] - begin);
    }
};

// Reads every atom line from the file's position to its end with the rules of
// read_atom_line: comment lines kept (when asked) or skipped, cell lines and lines that are
// neither skipped.
atom_table read_atom_table(exclusive_file& file, bool keep_comments);

// Collects result lines in a large buffer and hands them to the file in big writes.
class line_writer {
  public:
    explicit line_writer(exclusive_file& file, std::size_t capacity = std::size_t{1} << 20);
    line_writer(const line_writer&) = delete;
    line_writer& operator=(const line_writer&) = delete;

    // An atom line from a label field ("%-6s") and three coordinates, with CR LF.
    void put_atom(std::string_view label_field, float x, float y, float z) {
        char* p = room(label_field.size() + 3 * (1 + coordinate_field_room) + 2);
        std::memcpy(p, label_field.data(), label_field.size());
        p += label_field.size();
        *p++ = ' ';
        p = put_coordinate_field(p, x);
        *p++ = ' ';
        p = put_coordinate_field(p, y);
        *p++ = ' ';
        p = put_coordinate_field(p, z);
        *p++ = '\r';
        *p++ = '\n';
        used_ = static_cast<std::size_t>(p - buffer_.data());
    }
    // An atom line from a label field, one coordinate, and the rest of the line already
    // formatted (" Y Z" and CR LF).
    void put_atom_with_tail(std::string_view label_field, float x, std::string_view tail) {
        char* p = room(label_field.size() + 1 + coordinate_field_room + tail.size());
        std::memcpy(p, label_field.data(), label_field.size());
        p += label_field.size();
        *p++ = ' ';
        p = put_coordinate_field(p, x);
        std::memcpy(p, tail.data(), tail.size());
        p += tail.size();
        used_ = static_cast<std::size_t>(p - buffer_.data());
    }
    // Two pieces of a line one after the other (the caller provides the line end).
    void put_pieces(std::string_view head, std::string_view tail) {
        char* p = room(head.size() + tail.size());
        std::memcpy(p, head.data(), head.size());
        std::memcpy(p + head.size(), tail.data(), tail.size());
        used_ += head.size() + tail.size();
    }
    // Bytes as they are (a comment line with its own line end).
    void put_text(std::string_view bytes);
    // Hands everything collected to the file; a failed write throws write_failure.
    void flush();

  private:
    char* room(std::size_t bytes) {
        if (used_ + bytes > buffer_.size()) make_room(bytes);
        return buffer_.data() + used_;
    }
    void make_room(std::size_t bytes);

    exclusive_file& file_;
    std::string buffer_;
    std::size_t used_ = 0;
};

// Told the number of lines written so far now and then; answers false to stop.
using progress_callback = std::function<bool(std::uint64_t lines_written)>;

enum class write_outcome { finished, stopped };

// Puts the record back to the identity for operation number `position`; the number of
// positions stays.
void reset_symmetry_operation(symmetry_operation& operation, std::int32_t position);

// New X, Y and Z: factor * old coordinate of the row's source + shift, computed in double
// and rounded to single precision.
std::array<float, 3> apply_symmetry_operation(const symmetry_operation& operation,
                                              const std::array<float, 3>& old);

// Writes the image of every atom under the operation, in table order; with `with_comments`
// the comment lines stand at their places among them.
write_outcome write_operation_images(line_writer& out, const atom_table& atoms,
                                     const symmetry_operation& operation, bool with_comments,
                                     const progress_callback& progress);

// A coordinate moved by a whole number of cell edges, summed in single precision as the
// float plus the number converted to float.
inline float translate_coordinate(float coordinate, std::int64_t cells) {
    return coordinate + static_cast<float>(cells);
}

// Writes the atoms unchanged, then, for n >= 1, their copies moved by (k, j, i) for i (z)
// from -n to n outermost, j (y) and k (x) innermost, skipping (0, 0, 0).
write_outcome write_block(line_writer& out, const atom_table& atoms, std::int32_t n,
                          const progress_callback& progress);

// How many lines a block writes for `atoms` atoms (without the cell line): the atoms, plus
// (2n + 1)^3 - 1 copies of them for n >= 1.
line_count block_line_count(std::uint64_t atoms, std::int32_t n);

// How many lines the images take (without the cell line): `position_count` sets of images,
// the comments with the last one; a count set below 1 still runs the first operation, once
// and without comments.
line_count positions_line_count(std::uint64_t atoms, std::uint64_t comments,
                                std::int32_t position_count);

// Saturating arithmetic and decimal text of line counts.
line_count add_lines(line_count a, line_count b);
line_count multiply_lines(line_count a, line_count b);
std::string line_count_text(line_count lines);

}  // namespace orvix
