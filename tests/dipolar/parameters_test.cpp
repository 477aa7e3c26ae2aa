// The rules of the dipolar dialog that hold whatever front end shows it: the selections,
// the abundance they bring, and the properties fetched on every closing.
#include "dipolar/parameters.h"

#include <gtest/gtest.h>

#include "dipolar/nuclei.h"
#include "platform/scripted_services.h"

namespace orvix {
namespace {

int position(const char* label) {
    return find_nucleus_position(label).value();
}

// A sequence of dialog steps, and the abundance the record ends with.
TEST(DipolarDialogRules, AbundanceFollowsTheCoupledSelectionOnly) {
    const struct {
        const char* name;
        std::function<void(dipolar_parameters&)> steps;
        double abundance;
    } cases[] = {
        {"untouched", [](dipolar_parameters&) {}, 100.0},
        {"coupled 13C", [](dipolar_parameters& p) { select_coupled_nucleus(p, position("13C")); },
         1.07},
        {"coupled replaces a typed value",
         [](dipolar_parameters& p) {
             p.abundance = 50;
             select_coupled_nucleus(p, position("29Si"));
         },
         4.6832},
        {"typed after the coupled selection wins",
         [](dipolar_parameters& p) {
             select_coupled_nucleus(p, position("13C"));
             p.abundance = 50;
         },
         50.0},
        {"observed selection leaves it",
         [](dipolar_parameters& p) {
             p.abundance = 33;
             select_observed_nucleus(p, position("27Al"));
         },
         33.0},
        {"reselecting the coupled nucleus brings it back",
         [](dipolar_parameters& p) {
             select_coupled_nucleus(p, position("1H"));
             p.abundance = 10;
             select_coupled_nucleus(p, position("1H"));
         },
         99.9885},
        {"synthetic nucleus",
         [](dipolar_parameters& p) { select_coupled_nucleus(p, position("3H")); }, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dipolar_parameters p;
        c.steps(p);
        EXPECT_EQ(p.abundance, c.abundance);
    }
}

TEST(DipolarDialogRules, SelectionsStoreTheirPositionOnly) {
    dipolar_parameters p;
    select_observed_nucleus(p, position("19F"));
    EXPECT_EQ(p.observed_nucleus, position("19F"));
    EXPECT_EQ(p.coupled_nucleus, 0);
    EXPECT_EQ(p.gamma_observed, 0.0);  // fetched only when the dialog closes
    select_coupled_nucleus(p, position("27Al"));
    EXPECT_EQ(p.coupled_nucleus, position("27Al"));
    EXPECT_EQ(p.observed_nucleus, position("19F"));
    EXPECT_EQ(p.gamma_coupled, 0.0);
}

TEST(DipolarDialogRules, ClosingFetchesBothGammasAndTheCoupledSpin) {
    const struct {
        const char* observed;
        const char* coupled;
        double gamma_observed, gamma_coupled, spin_coupled;
    } cases[] = {
        {"1H", "1H", 26.7522128, 26.7522128, 0.5},
        {"1H", "27Al", 26.7522128, 6.9762715, 2.5},
        {"27Al", "1H", 6.9762715, 26.7522128, 0.5},
        {"15N", "2H", -2.71261804, 4.10662791, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.observed) + "-" + c.coupled);
        dipolar_parameters p;
        p.gamma_observed = p.gamma_coupled = p.spin_coupled = -99;
        select_observed_nucleus(p, position(c.observed));
        select_coupled_nucleus(p, position(c.coupled));
        finish_dipolar_dialog(p);
        EXPECT_EQ(p.gamma_observed, c.gamma_observed);
        EXPECT_EQ(p.gamma_coupled, c.gamma_coupled);
        EXPECT_EQ(p.spin_coupled, c.spin_coupled);
    }
}

// The closing step runs for OK and for Cancel, so the properties always belong to the
// positions the record holds, also when a front end changed the positions directly.
TEST(DipolarDialogRules, AskTakesTheClosingStepForEitherAnswer) {
    for (dialog_result answer : {dialog_result::ok, dialog_result::cancel}) {
        SCOPED_TRACE(answer == dialog_result::ok ? "OK" : "Cancel");
        scripted_services ui;
        ui.on_dipolar = [answer](dipolar_parameters& p) {
            p.observed_nucleus = position("31P");
            p.coupled_nucleus = position("19F");
            return answer;
        };
        dipolar_parameters p;
        EXPECT_EQ(ask_dipolar_parameters(ui, p), answer);
        EXPECT_EQ(p.gamma_observed, 10.8394);
        EXPECT_EQ(p.gamma_coupled, 25.18148);
        EXPECT_EQ(p.spin_coupled, 0.5);
        EXPECT_EQ(p.abundance, 100.0);  // a position set directly is no selection
    }
}

}  // namespace
}  // namespace orvix
