// libFuzzer target for the atom line readers: any bytes, read as crystal data, come back as
// atom lines and copied comments without a crash, and every copied comment is a whole
// comment line of the input.
#include <set>

#include "crystal/records.h"
#include "fuzz_support.h"
#include "platform/scan.h"

using namespace orvix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::as_text(data, size);
    std::string_view numbers = text;
    float value = 0;
    while (scan_float(numbers, value)) {
    }

    exclusive_file in = fuzz::memory_file(text);
    exclusive_file comments = fuzz::memory_file("");
    atom_record atom;
    while (read_atom_line(in, atom, true, &comments))
        format_atom_line(atom.label, atom.x, atom.y, atom.z);

    const std::vector<std::string> lines = fuzz::crlf_lines(text);
    const std::set<std::string> input_lines(lines.begin(), lines.end());
    for (const std::string& line : fuzz::crlf_lines(fuzz::contents(comments))) {
        fuzz::require(input_lines.count(line) == 1, "a copied comment is a line of the input");
        fuzz::require(is_comment_line(line), "only comment lines are copied");
    }
    return 0;
}
