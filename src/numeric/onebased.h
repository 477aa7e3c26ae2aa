// One-based single-precision 3-vectors and 3 x 3 matrices, indexed 1..3 the way the
// eigen-solver's formulas are written, and a one-based view over a caller's flat 3 x 3 array.
#pragma once

namespace orvix {

// Three elements at positions 1..3 of one heap block of four floats; position 0 is never
// used. All zero when made. Move-only; the block is released with the vector.
struct vector {
    vector();  // a failed allocation goes to numeric_error
    ~vector();
    vector(vector&& other) noexcept;
    vector& operator=(vector&& other) noexcept;
    vector(const vector&) = delete;
    vector& operator=(const vector&) = delete;

    float& operator[](int k) { return block_[k]; }
    const float& operator[](int k) const { return block_[k]; }

    // The whole block, position 0 included.
    float* data() { return block_; }
    const float* data() const { return block_; }

  private:
    float* block_;
};

// A 3 x 3 matrix: a row table of four row pointers (entry 0 unused) over a data block of ten
// floats (position 0 unused). Row i points at data position 3(i - 1), so m[i][j] is data
// position 3(i - 1) + j and the rows lie one after another. All zero when made. Move-only.
struct matrix {
    matrix();  // a failed allocation goes to numeric_error
    ~matrix();
    matrix(matrix&& other) noexcept;
    matrix& operator=(matrix&& other) noexcept;
    matrix(const matrix&) = delete;
    matrix& operator=(const matrix&) = delete;

    float* operator[](int i) { return rows_[i]; }
    const float* operator[](int i) const { return rows_[i]; }

    // The data block, position 0 included.
    float* data() { return rows_[1]; }
    const float* data() const { return rows_[1]; }

  private:
    float** rows_;
};

// One row of a matrix_view, indexed 1..3.
struct view_row {
    float* first;  // element (i, 1)
    float& operator[](int j) const { return first[j - 1]; }
};

// A one-based 3 x 3 view over a flat row-major float[9] that the caller owns and that must
// outlive the view: v[i][j] is array position 3(i - 1) + (j - 1). Only the row table (four
// entries, entry 0 unused) belongs to the view. Move-only.
struct matrix_view {
    ~matrix_view();
    matrix_view(matrix_view&& other) noexcept;
    matrix_view& operator=(matrix_view&& other) noexcept;
    matrix_view(const matrix_view&) = delete;
    matrix_view& operator=(const matrix_view&) = delete;

    view_row operator[](int i) const { return view_row{rows_[i]}; }

  private:
    friend matrix_view convert_matrix(float* array9);
    explicit matrix_view(float** rows) : rows_(rows) {}
    float** rows_;
};

// Makes a view over array9[0..8]; nothing is copied. A failed allocation of the row table
// goes to numeric_error.
matrix_view convert_matrix(float* array9);

}  // namespace orvix
