// libFuzzer target for the cell constants: the first line of any bytes is returned as the
// cell line exactly when it holds six positive numbers, the read position is kept, and the
// copy written is that line with a fresh CR LF.
#include "crystal/records.h"
#include "fuzz_support.h"

using namespace orvix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::as_text(data, size);
    is_cartesian_cell(text);
    const std::vector<std::string> lines = fuzz::crlf_lines(text);
    const bool first_is_cell = !lines.empty() && is_cell_line(lines.front());

    exclusive_file in = fuzz::memory_file(text);
    const std::int64_t middle = static_cast<std::int64_t>(size / 2);
    fuzz::require(in.seek(middle), "seek");
    std::string cell;
    const bool read = read_cell_line(in, cell);
    fuzz::require(read == first_is_cell, "the cell line is the first line when it is one");
    fuzz::require(in.tell() == middle, "the read position is kept");
    if (!read) return 0;
    fuzz::require(cell == lines.front(), "the cell line comes back whole");
    is_cartesian_cell(cell);
    exclusive_file out = fuzz::memory_file("");
    copy_cell_line(out, cell);
    fuzz::require(fuzz::contents(out) == std::string(strip_line_end(cell)) + "\r\n",
                  "the copy is the line with CR LF");
    return 0;
}
