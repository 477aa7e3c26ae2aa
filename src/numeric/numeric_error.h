// The single error exit of the numerical core: storage that cannot be had, or an
// eigen-solver that does not converge.
#pragma once

#include <string>

namespace orvix {

// Writes the three-line numeric error report to stderr and ends the running action with
// `text` (as orvix::action_abort); the program itself goes on.
[[noreturn]] void numeric_error(const std::string& text);

}  // namespace orvix
