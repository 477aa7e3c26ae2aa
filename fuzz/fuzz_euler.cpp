// libFuzzer target for the Euler angles read from the clipboard: any text gives three
// angles, which then make the three kinds of rotation matrix.
#include "axes/euler.h"
#include "fuzz_support.h"

using namespace orvix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const euler_angles angles = clipboard_euler_angles(std::string(fuzz::as_text(data, size)));
    matrix3 m{};
    for (int kind : {forwards_matrix, backwards_matrix, cell_matrix}) euler_matrix(angles, kind, m);
    return 0;
}
