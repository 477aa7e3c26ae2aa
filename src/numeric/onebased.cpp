// Storage of the one-based vectors, matrices and views.
#include "numeric/onebased.h"

#include <new>
#include <utility>

#include "numeric/numeric_error.h"

namespace orvix {

// Storage comes from the non-throwing new so that a failure reaches numeric_error with the
// text of its place rather than escaping as std::bad_alloc.

vector::vector() : block_(new (std::nothrow) float[4]()) {
    if (block_ == nullptr) numeric_error("allocation failure in vector()");
}

vector::~vector() {
    delete[] block_;
}

vector::vector(vector&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}

vector& vector::operator=(vector&& other) noexcept {
    if (this != &other) {
        delete[] block_;
        block_ = std::exchange(other.block_, nullptr);
    }
    return *this;
}

matrix::matrix() : rows_(new (std::nothrow) float*[4]()) {
    if (rows_ == nullptr) numeric_error("allocation failure 1 in matrix()");
    float* data = new (std::nothrow) float[10]();
    if (data == nullptr) {
        // The error unwinds instead of ending the process, so the row table must not leak.
        delete[] rows_;
        rows_ = nullptr;
        numeric_error("allocation failure 2 in matrix()");
    }
    rows_[1] = data;
    rows_[2] = rows_[1] + 3;
    rows_[3] = rows_[2] + 3;
}

matrix::~matrix() {
    if (rows_ != nullptr) {
        delete[] rows_[1];
        delete[] rows_;
    }
}

matrix::matrix(matrix&& other) noexcept : rows_(std::exchange(other.rows_, nullptr)) {}

matrix& matrix::operator=(matrix&& other) noexcept {
    if (this != &other) {
        matrix old(std::move(*this));
        rows_ = std::exchange(other.rows_, nullptr);
    }
    return *this;
}

matrix_view::~matrix_view() {
    delete[] rows_;
}

matrix_view::matrix_view(matrix_view&& other) noexcept
    : rows_(std::exchange(other.rows_, nullptr)) {}

matrix_view& matrix_view::operator=(matrix_view&& other) noexcept {
    if (this != &other) {
        delete[] rows_;
        rows_ = std::exchange(other.rows_, nullptr);
    }
    return *this;
}

matrix_view convert_matrix(float* array9) {
    float** rows = new (std::nothrow) float*[4]();
    if (rows == nullptr) numeric_error("allocation failure in convert_matrix()");
    // The rows point at the first element of each row and view_row subtracts the 1; a pointer
    // one before the caller's array would not be a valid pointer.
    for (int i = 1; i <= 3; ++i) rows[i] = array9 + 3 * (i - 1);
    return matrix_view(rows);
}

}  // namespace orvix
