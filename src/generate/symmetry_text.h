// Symmetry operations as crystallographers write them: three comma-separated terms for the
// new X, Y and Z, each one old coordinate with an optional factor and shift ("-x+1/2",
// "1/2-x", "2*z", "y+0.25"). Only what one row of the Symmetry Operations dialog can hold is
// accepted: a term that mixes coordinates ("x-y") or names none is refused.
#pragma once

#include <string>
#include <string_view>

#include "platform/dialog_records.h"

namespace orvix {

// One term: new coordinate = factor * old[source] + shift.
struct symmetry_term {
    double factor = 1.0;
    double shift = 0.0;
    std::uint8_t source = 0;
};

// Reads one term. On failure returns false and `error` names the term.
bool parse_symmetry_term(std::string_view text, symmetry_term& term, std::string& error);

// Reads "X, Y, Z" into the record's factor, shift and source (the counts stay). On failure
// returns false, leaves the record unchanged and `error` names what could not be read.
bool parse_symmetry_operation(std::string_view text, symmetry_operation& operation,
                              std::string& error);

}  // namespace orvix
