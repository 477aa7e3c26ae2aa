// libFuzzer target for the tensor reader: any bytes give nine numbers or none, and nine
// finite numbers go through the symmetrising, the eigen-solver and the ordering.
#include "fuzz_support.h"
#include "platform/errors.h"
#include "tensor/tensor.h"

using namespace orvix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    exclusive_file in = fuzz::memory_file(fuzz::as_text(data, size));
    exclusive_file comments = fuzz::memory_file("");
    tensor9 values{};
    if (!read_tensor(in, comments, values) || !tensor_is_finite(values)) return 0;
    symmetrize_tensor(values);
    vector d;
    matrix v;
    try {
        principal_axes(values, sort_order::descending, d, v);
    } catch (const action_abort&) {
        // A solver that does not converge ends the action: a sound outcome.
    }
    return 0;
}
