// The rules of the dipolar dialog whatever front end shows it: the abundance a coupled
// selection brings, and the properties fetched on every closing.
#include "dipolar/parameters.h"

#include <gtest/gtest.h>

#include "dipolar/nuclei.h"
#include "platform/scripted_services.h"

namespace orvix {
namespace {

int position(const char* label) {
    return find_nucleus_position(label).value();
}

TEST(DipolarDialogRules, abundance_follows_the_coupled_selection_only) {
    using step = std::function<void(dipolar_parameters&)>;
    const step typed = [](dipolar_parameters& p) { p.abundance = 50; };
    const auto coupled = [](const char* label) {
        return step([label](dipolar_parameters& p) { select_coupled_nucleus(p, position(label)); });
    };
    const step observed = [](dipolar_parameters& p) {
        select_observed_nucleus(p, position("27Al"));
    };
    const struct {
        const char* name;
        std::vector<step> steps;
        double abundance;
    } cases[] = {
        {"untouched", {}, 100.0},
        {"coupled 13C", {coupled("13C")}, 1.07},
        {"a selection replaces a typed value", {typed, coupled("29Si")}, 4.6832},
        {"typed after the selection wins", {coupled("13C"), typed}, 50.0},
        {"the observed selection leaves it", {typed, observed}, 50.0},
        {"reselecting brings it back", {coupled("1H"), typed, coupled("1H")}, 99.9885},
        {"synthetic nucleus", {coupled("3H")}, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dipolar_parameters p;
        for (const step& s : c.steps) s(p);
        EXPECT_EQ(p.abundance, c.abundance);
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
        SCOPED_TRACE(std::string(c.observed) + "-" + c.coupled);
        scripted_services ui;
        ui.on_dipolar = [&c](dipolar_parameters& p) {
            p.observed_nucleus = position(c.observed);
            p.coupled_nucleus = position(c.coupled);
            return c.answer;
        };
        dipolar_parameters p;
        p.abundance = 33;
        EXPECT_EQ(ask_dipolar_parameters(ui, p), c.answer);
        EXPECT_EQ(p.gamma_observed, c.gamma_observed);
        EXPECT_EQ(p.gamma_coupled, c.gamma_coupled);
        EXPECT_EQ(p.spin_coupled, c.spin_coupled);
        EXPECT_EQ(p.abundance, 33.0);
    }
}

}  // namespace
}  // namespace orvix
