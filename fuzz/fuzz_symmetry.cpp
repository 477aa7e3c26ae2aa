// libFuzzer target for the symmetry operation reader: any text is read or refused with a
// reason, a refusal leaves the record as it was, and what is read names x, y or z.
#include <cstring>

#include "fuzz_support.h"
#include "generate/symmetry_text.h"

using namespace orvix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    symmetry_operation operation;
    operation.factor = {7.0, 8.0, 9.0};
    operation.source = {2, 0, 1};
    const symmetry_operation before = operation;
    std::string error;
    if (parse_symmetry_operation(fuzz::as_text(data, size), operation, error)) {
        for (std::uint8_t source : operation.source)
            fuzz::require(source < 3, "a term names x, y or z");
    } else {
        fuzz::require(!error.empty(), "a refusal says why");
        fuzz::require(operation.factor == before.factor && operation.shift == before.shift &&
                          operation.source == before.source,
                      "a refusal leaves the record unchanged");
    }
    return 0;
}
