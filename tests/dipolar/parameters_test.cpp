// The rules of the dipolar dialog whatever front end shows it: the abundance a coupled
// selection brings, and the properties fetched on every closing.
#include "dipolar/parameters.h"

#include <gtest/gtest.h>

#include "dipolar/nuclei.h"
#include "platform/scripted_services.h"
#include "support/case_file.h"

namespace orvix {
namespace {

int position(const std::string& label) {
    return find_nucleus_position(label).value();
}

TEST(DipolarDialogRules, abundance_follows_the_coupled_selection_only) {
    for (const auto& row : test::read_cases("dipolar/dialog_steps.tsv")) {
        SCOPED_TRACE(row[0]);
        dipolar_parameters p;
        std::istringstream steps(row[1]);
        for (std::string step; std::getline(steps, step, ';');) {
            if (step == "typed") p.abundance = 50;
            if (step.starts_with("coupled ")) select_coupled_nucleus(p, position(step.substr(8)));
            if (step.starts_with("observed ")) select_observed_nucleus(p, position(step.substr(9)));
        }
        EXPECT_EQ(p.abundance, test::number(row[2]));
        EXPECT_EQ(p.gamma_coupled, 0.0) << "fetched only when the dialog closes";
    }
}

// The closing step runs after OK and Cancel alike, for the positions the record holds, also
// when a front end set them directly; a position set so brings no abundance.
TEST(DipolarDialogRules, closing_fetches_both_gammas_and_the_coupled_spin) {
    const struct {
        const char *observed, *coupled;
        dialog_result answer;
        double gamma_observed, gamma_coupled, spin_coupled;
    } cases[] = {
        {"1H", "27Al", dialog_result::ok, 26.7522128, 6.9762715, 2.5},
        {"27Al", "1H", dialog_result::cancel, 6.9762715, 26.7522128, 0.5},
        {"15N", "2H", dialog_result::ok, -2.71261804, 4.10662791, 1.0},
    };
    for (const auto& c : cases) {
        scripted_services ui;
        ui.on_dipolar = [&c](dipolar_parameters& p) {
            p.observed_nucleus = position(c.observed);
            p.coupled_nucleus = position(c.coupled);
            return c.answer;
        };
        dipolar_parameters p;
        p.abundance = 33;
        EXPECT_EQ(ask_dipolar_parameters(ui, p), c.answer);
        EXPECT_TRUE(p.gamma_observed == c.gamma_observed && p.gamma_coupled == c.gamma_coupled &&
                    p.spin_coupled == c.spin_coupled && p.abundance == 33)
            << c.observed << "-" << c.coupled;
    }
}

}  // namespace
}  // namespace orvix
