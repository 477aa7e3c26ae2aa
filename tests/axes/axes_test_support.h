// Helpers of the axis-system tests: axis lines from a matrix, the atoms of a result text,
// and comparisons of atom lists with a tolerance.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "axes/euler.h"
#include "crystal/records.h"
#include "platform/c_format.h"
#include "support/test_support.h"

namespace orvix::test {

// Axis lines "X ...", "Y ...", "Z ..." with the rows of a matrix, 10 decimals each.
inline std::string axis_lines(const matrix3& m) {
    std::string text;
    const char* labels[3] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i)
        c_format_append(text, "%s %.10f %.10f %.10f\r\n", labels[i], m[i][0], m[i][1], m[i][2]);
    return text;
}

// The atom lines of a crystal data text, in order.
inline std::vector<atom_record> atoms_of(const std::string& text) {
    std::vector<atom_record> atoms;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        atom_record atom;
        if (!is_comment_line(line) && !is_cell_line(line) && parse_atom_line(line, atom))
            atoms.push_back(atom);
        start = end + 1;
    }
    return atoms;
}

inline void expect_same_atoms(const std::vector<atom_record>& got,
                              const std::vector<atom_record>& want, double tolerance) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(want[i].label);
        EXPECT_EQ(got[i].label, want[i].label);
        EXPECT_NEAR(got[i].x, want[i].x, tolerance);
        EXPECT_NEAR(got[i].y, want[i].y, tolerance);
        EXPECT_NEAR(got[i].z, want[i].z, tolerance);
    }
}

// Points TMPDIR at a fresh folder of its own for its lifetime, so that a check for
// temporary copies left behind sees only this process's files, not those of other test
// programs running at the same time.
class private_temp_dir {
  public:
    private_temp_dir() {
        if (const char* old = std::getenv("TMPDIR")) old_ = old;
        ::setenv("TMPDIR", dir_.path().c_str(), 1);
    }
    ~private_temp_dir() {
        if (old_)
            ::setenv("TMPDIR", old_->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    private_temp_dir(const private_temp_dir&) = delete;
    private_temp_dir& operator=(const private_temp_dir&) = delete;

  private:
    scratch_dir dir_;
    std::optional<std::string> old_;
};

}  // namespace orvix::test
