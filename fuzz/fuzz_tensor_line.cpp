// libFuzzer target for the tensor lines of Tensor Parameters: any bytes are read as a label
// and nine numbers or refused, and what is read goes through the parameters of the kind
// the first byte picks (shielding with or without a reference, shift, a 27Al EFG).
#include "fuzz_support.h"
#include "tensor/tensor_parameters.h"

using namespace orvix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto tensor = read_tensor_line(fuzz::as_text(data + 1, size - 1));
    if (!tensor) return 0;
    tensor_parameters_options options;
    options.kind = static_cast<tensor_kind>(data[0] % 3);
    if ((data[0] & 4) != 0) options.reference = 170.0;
    options.nucleus = "27Al";
    options.spin = 2.5;
    options.q_fm2 = 14.66;
    compute_tensor_parameters(*tensor, options);
    return 0;
}
