// In-process costs of the dipolar second moment for 10,000 neighbours: reading the input
// once, preparing the directions, and the 181 angles of a 0..180 degree pattern.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "dipolar/moment.h"
#include "dipolar/nuclei.h"
#include "dipolar/parameters.h"
#include "platform/c_format.h"
#include "platform/files.h"

namespace orvix {
namespace {

// A Cartesian cell, the observed proton at the origin and `count` protons scattered in a
// box of 30 Angstrom, as dipolar_numpy.py --generate writes them.
std::string neighbours_text(int count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-15.0, 15.0);
    std::string text = "1 1 1 90 90 90\r\n/ observed proton and its neighbours\r\nH0 0 0 0\r\n";
    for (int i = 1; i <= count; ++i)
        c_format_append(text, "H%d %.4f %.4f %.4f\r\n", i, coordinate(random), coordinate(random),
                        coordinate(random));
    return text;
}

struct input_file {
    std::string path;
    explicit input_file(const std::string& text) {
        path = make_temporary_file().value();
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    ~input_file() { delete_file(path); }
};

dipolar_parameters proton_pair() {
    dipolar_parameters p;
    finish_dipolar_dialog(p);
    return p;
}

void read_input(benchmark::State& state) {
    const input_file file(neighbours_text(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        auto in = exclusive_file::open_existing(file.path, exclusive_file::access::read_write);
        dipolar_input input;
        benchmark::DoNotOptimize(read_dipolar_input(*in, input));
        benchmark::DoNotOptimize(input.entries.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(read_input)->Arg(10000)->Unit(benchmark::kMillisecond);

void rotation_pattern_181_angles(benchmark::State& state) {
    const input_file file(neighbours_text(static_cast<int>(state.range(0))));
    auto in = exclusive_file::open_existing(file.path, exclusive_file::access::read_write);
    dipolar_input input;
    read_dipolar_input(*in, input);
    const dipolar_parameters p = proton_pair();
    for (auto _ : state) {
        const rotation_pattern pattern = prepare_rotation_pattern(input, p);
        double sum = 0;
        for (int g = 0; g <= 180; ++g) sum += pattern_moment(pattern, p, g);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 181);
}
BENCHMARK(rotation_pattern_181_angles)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvix

BENCHMARK_MAIN();
