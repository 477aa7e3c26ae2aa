// libFuzzer target for the structure import (CIF and .magres): any bytes are imported or
// refused with a reason, never with an exception, under every combination of options; an
// import gives crystal data with CR LF line ends. The first byte picks the options.
#include "fuzz_support.h"
#include "structure/import.h"

using namespace orvix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned pick = data[0];
    import_options options;
    options.format = static_cast<structure_format>(pick % 3);
    options.asymmetric_unit = (pick & 4) != 0;
    options.cartesian = (pick & 8) != 0;
    options.tensors = static_cast<magres_tensors>((pick >> 4) % 3);
    const import_result result =
        import_structure(fuzz::as_text(data + 1, size - 1), "fuzz", options);
    if (!result.ok) {
        fuzz::require(!result.error.empty(), "a refusal says why");
        return 0;
    }
    for (std::size_t lf = result.text.find('\n'); lf != std::string::npos;
         lf = result.text.find('\n', lf + 1))
        fuzz::require(lf > 0 && result.text[lf - 1] == '\r', "lines end in CR LF");
    return 0;
}
