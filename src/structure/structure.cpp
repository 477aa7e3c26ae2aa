// Helpers shared by the structure readers.
#include "structure/structure.h"

#include <cmath>

namespace orvix {

double wrap_fractional(double value) {
    double wrapped = value - std::floor(value);
    // Atom lines hold single precision with six decimals: from 0.9999995f on, a value would
    // be written as 1.000000, the same place as 0 in the next cell.
    if (!(static_cast<float>(wrapped) < 0.9999995f)) wrapped = 0.0;
    return wrapped;
}

}  // namespace orvix
