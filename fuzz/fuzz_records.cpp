// libFuzzer target for the crystal data readers: any bytes, read as a file, must come back
// as cell, atom and comment lines without a crash, and every copied comment must be a
// whole line of the input.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "crystal/records.h"
#include "platform/files.h"
#include "platform/scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // The number reader on its own.
    std::string_view text(bytes);
    float value = 0;
    while (orvix::scan_float(text, value)) {
    }
    orvix::atom_record parsed;
    orvix::parse_atom_line(bytes, parsed);
    orvix::is_cell_line(bytes);
    orvix::is_cartesian_cell(bytes);

    // The readers over a real file.
    static const std::string dir = std::filesystem::temp_directory_path().string();
    const std::string in_path = dir + "/orvix-fuzz-in-" + std::to_string(::getpid());
    const std::string out_path = dir + "/orvix-fuzz-out-" + std::to_string(::getpid());
    if (std::FILE* f = std::fopen(in_path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    {
        auto in =
            orvix::exclusive_file::open_existing(in_path, orvix::exclusive_file::access::read);
        auto out = orvix::exclusive_file::create(out_path);
        if (in && out) {
            std::string cell;
            if (orvix::read_cell_line(*in, cell)) orvix::copy_cell_line(*out, cell);
            orvix::atom_record atom;
            while (orvix::read_atom_line(*in, atom, true, &*out))
                orvix::write_atom_line(*out, atom.label, atom.x, atom.y, atom.z);
            out->close();
        }
    }
    std::remove(in_path.c_str());
    std::remove(out_path.c_str());
    return 0;
}
