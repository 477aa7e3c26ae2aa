// Fast, locale-free writing of the atom-line fields "%-6s" and "%12.6f": the same bytes the C
// library gives under the "C" locale, without its per-call cost. Large result files (blocks
// of unit cells) spend most of their time here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvix {

// Room a coordinate field can take: sign, 39 digits of the largest float, point, 6 decimals.
inline constexpr std::size_t coordinate_field_room = 48;

// Writes the float, widened to double, as "%12.6f" does (glibc rounds exact binary values,
// ties to even; negative zero and small negative values keep their minus sign; "nan",
// "-nan", "inf" and "-inf" for the special values). Returns the end of what was written;
// `out` needs coordinate_field_room bytes.
char* put_coordinate_field(char* out, float value);

// Appends the label as "%-6s" does: the label up to a NUL character (where a C string
// would end), left-aligned and padded with blanks to 6 characters; longer labels stay whole.
void append_label_field(std::string& out, std::string_view label);

// Appends "%-6s %12.6f %12.6f %12.6f" of the label and coordinates, without a line end.
void append_atom_line(std::string& out, std::string_view label, float x, float y, float z);

}  // namespace orvix
