// The one-based vectors, matrices and views: where each element lives, moves, and the report
// of a failed allocation.
#include "numeric/onebased.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <functional>
#include <new>
#include <string>
#include <utility>

#include "numeric/jacobi.h"
#include "numeric/numeric_error.h"
#include "platform/errors.h"

// The numerical core takes its storage through the non-throwing array new; replacing it here
// lets a test make exactly the nth allocation from now fail.
namespace {
int allocations_until_failure = 0;  // 0: no failure pending
}  // namespace

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (allocations_until_failure > 0 && --allocations_until_failure == 0) return nullptr;
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

using orvix::matrix;
using orvix::vector;

TEST(OneBased, ElementsLieWhereTheFormulasSayAndStartAtZero) {
    vector v;
    matrix m;
    float array[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    auto view = orvix::convert_matrix(array);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(&v[i], v.data() + i);
        EXPECT_EQ(v[i], 0.0f);
        for (int j = 1; j <= 3; ++j) {
            SCOPED_TRACE(testing::Message() << "(" << i << "," << j << ")");
            EXPECT_EQ(&m[i][j], m.data() + 3 * (i - 1) + j);
            EXPECT_EQ(m[i][j], 0.0f);
            EXPECT_EQ(&view[i][j], array + 3 * (i - 1) + (j - 1));
        }
    }
    // Moves hand over the storage; the view leaves the caller's array alone when released.
    float* block = m.data();
    matrix moved(std::move(m));
    matrix assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.data(), block);
    vector w;
    w = std::move(v);
    EXPECT_EQ(&w[2], w.data() + 2);
    auto other_view = std::move(view);
    EXPECT_EQ(other_view[3][3], 9.0f);
}

// Each failure (storage, no convergence) and the numeric error itself write three lines to stderr
// and end the action with their text; the text is never taken as a format.
TEST(OneBased, FailuresReportTheirPlace) {
    float array[9] = {};
    const struct {
        int nth;  // which allocation fails; 0: none
        std::function<void()> make;
        const char* text;
    } cases[] = {
        {1, [] { vector v; }, "allocation failure in vector()"},
        {1, [] { matrix m; }, "allocation failure 1 in matrix()"},
        {2, [] { matrix m; }, "allocation failure 2 in matrix()"},
        {1, [&array] { auto view = orvix::convert_matrix(array); },
         "allocation failure in convert_matrix()"},
        {0, [] { orvix::numeric_error("100% %s %d"); }, "100% %s %d"},
        // A NaN element is never above a threshold nor negligible: the sweeps never end.
        {0,
         [] {
             matrix a, v;
             vector d;
             int rotations;
             a[1][2] = NAN;
             orvix::jacobi(a, d, v, rotations);
         },
         "Too many iterations in routine jacobi"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        testing::internal::CaptureStderr();
        std::string message = "(nothing thrown)";
        allocations_until_failure = c.nth;
        try {
            c.make();
        } catch (const orvix::action_abort& e) {
            message = e.what();
        }
        EXPECT_EQ(std::exchange(allocations_until_failure, 0), 0);
        EXPECT_EQ(message, c.text);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  std::string("Numerical Recipes run-time error...\n") + c.text +
                      "\n...now exiting to system...\n");
    }
}

}  // namespace
