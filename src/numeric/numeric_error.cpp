// The numeric error report and the end of the running action.
#include "numeric/numeric_error.h"

#include <cstdio>

#include "platform/errors.h"

namespace orvix {

void numeric_error(const std::string& text) {
    // The report keeps its traditional wording, even though it is now the action, not the
    // program, that is left: the action runner shows `text` to the user, and the stderr lines
    // are what a console run or a log capture sees.
    std::fputs("Numerical Recipes run-time error...\n", stderr);
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fputs("...now exiting to system...\n", stderr);
    std::fflush(stderr);
    // Ending the process here would lose the user's unsaved editor text; unwinding lets the
    // action close its files and remove its temporary copy instead.
    throw action_abort(text);
}

}  // namespace orvix
