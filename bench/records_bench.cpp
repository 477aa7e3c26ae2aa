// Reading and writing atom lines per second: the floor under every action's speed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "crystal/records.h"
#include "platform/files.h"

namespace {

std::string make_input(int atoms) {
    std::string text = "5.43 5.43 5.43 90 90 90\r\n";
    for (int i = 0; i < atoms; ++i) {
        text += "Si";
        text += std::to_string(i);
        text += "  0.125 -0.375 ";
        text += std::to_string(i % 97) + ".5\r\n";
    }
    return text;
}

struct scratch_file {
    std::string path;
    explicit scratch_file(const std::string& contents) {
        path = (std::filesystem::temp_directory_path() / "orvix-bench-records.cry").string();
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(contents.data(), 1, contents.size(), f);
        std::fclose(f);
    }
    ~scratch_file() { std::remove(path.c_str()); }
};

void read_atom_lines(benchmark::State& state) {
    const int atoms = static_cast<int>(state.range(0));
    scratch_file input(make_input(atoms));
    auto file =
        orvix::exclusive_file::open_existing(input.path, orvix::exclusive_file::access::read);
    orvix::atom_record atom;
    for (auto _ : state) {
        file->rewind();
        int count = 0;
        while (orvix::read_atom_line(*file, atom, false, nullptr)) ++count;
        benchmark::DoNotOptimize(count);
    }
    state.SetItemsProcessed(state.iterations() * atoms);
}
BENCHMARK(read_atom_lines)->Arg(10000);

void write_atom_lines(benchmark::State& state) {
    const int atoms = static_cast<int>(state.range(0));
    const std::string path =
        (std::filesystem::temp_directory_path() / "orvix-bench-written.cry").string();
    for (auto _ : state) {
        auto file = orvix::exclusive_file::create(path);
        for (int i = 0; i < atoms; ++i)
            orvix::write_atom_line(*file, "Si12", 0.125f * static_cast<float>(i), -0.375f,
                                   static_cast<float>(i % 97) + 0.5f);
        file->close();
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * atoms);
}
BENCHMARK(write_atom_lines)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
