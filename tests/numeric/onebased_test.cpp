// Tests of the one-based vectors, matrices and views, and of the numeric error report.
#include "numeric/onebased.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <new>
#include <string>
#include <utility>

#include "alloc_fault.h"
#include "numeric/numeric_error.h"
#include "platform/errors.h"

// The numerical core takes its storage through the non-throwing array new; replacing it here
// lets a test make exactly one chosen allocation fail.
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

namespace alloc_fault {
void fail_nth(int nth) {
    allocations_until_failure = nth;
}
bool disarm() {
    return std::exchange(allocations_until_failure, 0) != 0;
}
}  // namespace alloc_fault

namespace {

using orvix::convert_matrix;
using orvix::matrix;
using orvix::vector;

const std::string report_head = "Numerical Recipes run-time error...\n";
const std::string report_tail = "...now exiting to system...\n";

TEST(OneBasedVector, StartsZeroWithElementKAtBlockPositionK) {
    vector v;
    for (int k = 0; k <= 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(v.data()[k], 0.0f);
    }
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(&v[k], v.data() + k);
    }
    v[1] = 1.5f;
    v[2] = -2.5f;
    v[3] = 7.0f;
    EXPECT_EQ(v.data()[0], 0.0f);  // position 0 is never written
    EXPECT_EQ(v.data()[1], 1.5f);
    EXPECT_EQ(v.data()[2], -2.5f);
    EXPECT_EQ(v.data()[3], 7.0f);
}

TEST(OneBasedVector, MoveHandsOverTheBlock) {
    vector a;
    a[2] = 4.0f;
    float* block = a.data();
    vector b(std::move(a));
    EXPECT_EQ(b.data(), block);
    EXPECT_EQ(b[2], 4.0f);

    vector c;
    c = std::move(b);
    EXPECT_EQ(c.data(), block);
    EXPECT_EQ(c[2], 4.0f);
}

TEST(OneBasedMatrix, StartsZeroWithRowsFollowingEachOther) {
    matrix m;
    for (int pos = 0; pos <= 9; ++pos) {
        SCOPED_TRACE(pos);
        EXPECT_EQ(m.data()[pos], 0.0f);
    }
    EXPECT_EQ(m[1], m.data());
    EXPECT_EQ(m[2], m[1] + 3);
    EXPECT_EQ(m[3], m[2] + 3);
}

TEST(OneBasedMatrix, ElementPositionsInTheDataBlock) {
    struct element_case {
        const char* name;
        int i, j;
        int position;
    };
    const element_case cases[] = {
        {"(1,1) is the first used position", 1, 1, 1},
        {"(1,3)", 1, 3, 3},
        {"(2,1) follows (1,3)", 2, 1, 4},
        {"(2,2)", 2, 2, 5},
        {"(2,3)", 2, 3, 6},
        {"(3,1) follows (2,3)", 3, 1, 7},
        {"(3,3) is the last position", 3, 3, 9},
    };
    matrix m;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(&m[c.i][c.j], m.data() + c.position);
    }
}

TEST(OneBasedMatrix, MoveHandsOverTheStorage) {
    matrix a;
    a[3][2] = 8.0f;
    float* data = a.data();
    matrix b(std::move(a));
    EXPECT_EQ(b.data(), data);
    EXPECT_EQ(b[3][2], 8.0f);

    matrix c;
    c = std::move(b);
    EXPECT_EQ(c.data(), data);
    EXPECT_EQ(c[3][2], 8.0f);
}

TEST(MatrixView, ReadsTheCallersArrayRowMajor) {
    struct read_case {
        const char* name;
        int i, j;
        float expected;
    };
    const read_case cases[] = {
        {"(1,1)", 1, 1, 1.0f}, {"(1,2)", 1, 2, 2.0f}, {"(1,3)", 1, 3, 3.0f},
        {"(2,1)", 2, 1, 4.0f}, {"(2,2)", 2, 2, 5.0f}, {"(2,3)", 2, 3, 6.0f},
        {"(3,1)", 3, 1, 7.0f}, {"(3,2)", 3, 2, 8.0f}, {"(3,3)", 3, 3, 9.0f},
    };
    float array[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    auto view = convert_matrix(array);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(view[c.i][c.j], c.expected);
    }
}

TEST(MatrixView, WritesGoToTheCallersArray) {
    float array[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    auto view = convert_matrix(array);
    view[2][3] = 0.0f;
    const float expected[9] = {1, 2, 3, 4, 5, 0, 7, 8, 9};
    for (int pos = 0; pos < 9; ++pos) {
        SCOPED_TRACE(pos);
        EXPECT_EQ(array[pos], expected[pos]);
    }
    // And the view sees a change made directly in the array.
    array[6] = -3.0f;
    EXPECT_EQ(view[3][1], -3.0f);
}

TEST(MatrixView, ReleasingLeavesTheArrayAlone) {
    float array[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    {
        auto view = convert_matrix(array);
        auto moved = std::move(view);
        EXPECT_EQ(moved[3][3], 9.0f);
    }
    for (int pos = 0; pos < 9; ++pos) {
        SCOPED_TRACE(pos);
        EXPECT_EQ(array[pos], static_cast<float>(pos + 1));
    }
}

TEST(NumericError, ReportsThreeLinesAndEndsTheAction) {
    testing::internal::CaptureStderr();
    std::string message;
    try {
        orvix::numeric_error("Too many iterations in routine jacobi");
    } catch (const orvix::action_abort& e) {
        message = e.what();
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(message, "Too many iterations in routine jacobi");
    EXPECT_EQ(err, report_head + "Too many iterations in routine jacobi\n" + report_tail);
}

TEST(NumericError, TextIsNotAFormat) {
    testing::internal::CaptureStderr();
    EXPECT_THROW(orvix::numeric_error("100% %s %d"), orvix::action_abort);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), report_head + "100% %s %d\n" + report_tail);
}

TEST(AllocationFailure, EachPlaceReportsItsText) {
    struct failure_case {
        const char* name;
        int nth;  // which allocation of the operation fails
        std::function<void()> make;
        const char* text;
    };
    float array[9] = {};
    const failure_case cases[] = {
        {"vector block", 1, [] { vector v; }, "allocation failure in vector()"},
        {"matrix row table", 1, [] { matrix m; }, "allocation failure 1 in matrix()"},
        {"matrix data block", 2, [] { matrix m; }, "allocation failure 2 in matrix()"},
        {"view row table", 1, [&array] { auto view = convert_matrix(array); },
         "allocation failure in convert_matrix()"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStderr();
        std::string message = "(nothing thrown)";
        alloc_fault::fail_nth(c.nth);
        try {
            c.make();
        } catch (const orvix::action_abort& e) {
            message = e.what();
        }
        const bool still_pending = alloc_fault::disarm();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(still_pending);
        EXPECT_EQ(message, c.text);
        EXPECT_EQ(err, report_head + c.text + "\n" + report_tail);
    }
}

}  // namespace
