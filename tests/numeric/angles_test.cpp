// The cosine clamp: only values beyond 1 in magnitude change, and NaN passes through.
#include "numeric/angles.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Angles, ClampCosineChangesOnlyValuesBeyondOne) {
    const double cases[][2] = {{1.0000001, 1.0}, {-1.5, -1.0},   {1.0, 1.0},      {-1.0, -1.0},
                               {0.5, 0.5},       {-0.25, -0.25}, {1e-300, 1e-300}};
    for (const auto& c : cases) EXPECT_EQ(orvix::clamp_cosine(c[0]), c[1]) << c[0];
    EXPECT_TRUE(std::isnan(orvix::clamp_cosine(std::nan(""))));
}
