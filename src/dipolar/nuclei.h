// The nuclear data table: every NMR-active nuclide with its spin, gyromagnetic ratio, natural
// abundance and quadrupole moment, compiled into the program from data/nuclei.csv (sources
// beside it).
//
// A nucleus is known to the dialogs by its number, its position in the list plus 1: 1H is
// nucleus number 1. The four operations with capitalised names are the ones the dipolar
// dialog and the second-moment action rely on.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvix {

struct nucleus {
    std::string_view label;    // mass number and element symbol, e.g. "27Al"
    std::string_view element;  // element symbol, e.g. "Al"
    int mass_number;
    double spin;       // spin quantum number I
    double gamma;      // gyromagnetic ratio in 10^7 rad s^-1 T^-1, signed
    double abundance;  // natural abundance in percent, 0 to 100
    // Ground-state electric quadrupole moment Q in fm^2 (1 fm^2 = 0.01 barn), signed; 0 for
    // a spin-1/2 nucleus. Pyykko, Mol. Phys. 116, 1328 (2018), doi:10.1080/00268976.2018.1426131.
    double quadrupole_moment;
};

// The whole table in list order (by atomic number, then mass number; 1H first).
std::span<const nucleus> nuclei_table();

// The labels of the list, in numbering order; both nucleus lists of the dialog are filled
// from it, so position k of either list is nucleus number k + 1.
std::vector<std::string> nucleus_list_labels();

// Properties by nucleus number (1 to the number of list entries). A number outside the list
// answers 0, which no real nucleus has for its gamma or spin.
double nucleus_gamma(int number);
double nucleus_spin(int number);
double nucleus_abundance(int number);

// The list position (counted from 0) of a nucleus given as a label ("27Al", any letter case)
// or as its list number ("18"). Nothing when the text names no nucleus.
std::optional<int> find_nucleus_position(std::string_view label_or_number);

}  // namespace orvix
