// The cosine clamp: only values beyond 1 in magnitude change, and NaN passes through.
#include "numeric/angles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvix {
namespace {

TEST(Angles, ClampCosineChangesOnlyValuesBeyondOne) {
    const struct {
        double value, clamped;
    } cases[] = {{1.0000001, 1.0}, {-1.5, -1.0},   {1.0, 1.0}, {-1.0, -1.0},
                 {0.5, 0.5},       {-0.25, -0.25}, {0.0, 0.0}, {1e-300, 1e-300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(clamp_cosine(c.value), c.clamped);
    }
    EXPECT_TRUE(std::isnan(clamp_cosine(std::nan(""))));
}

}  // namespace
}  // namespace orvix
