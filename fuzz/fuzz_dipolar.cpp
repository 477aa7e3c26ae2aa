// libFuzzer target for the dipolar input: any bytes are read as the dipolar action reads
// them, and what is read goes through the powder sum and a few angles of the rotation
// pattern (proton to proton).
#include "dipolar/moment.h"
#include "fuzz_support.h"

using namespace orvix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    exclusive_file in = fuzz::memory_file(fuzz::as_text(data, size));
    dipolar_input input;
    if (read_dipolar_input(in, input) != dipolar_status::ok) return 0;
    dipolar_parameters parameters;
    parameters.gamma_observed = 26.7522;  // 1H
    parameters.gamma_coupled = 26.7522;
    parameters.spin_coupled = 0.5;
    exclusive_file report = fuzz::memory_file("");
    write_powder_sum(input, parameters, report, [](std::uint64_t) { return true; });
    const rotation_pattern pattern = prepare_rotation_pattern(input, parameters);
    for (double g : {0.0, 45.0, 90.0}) pattern_moment(pattern, parameters, g);
    return 0;
}
