// The compiled nuclear data table and its look-ups.
#include "dipolar/nuclei.h"

#include <charconv>

namespace orvix {

namespace {

constexpr nucleus table[] = {
#include "nuclei_table.inc"
};

const nucleus* by_number(int number) {
    if (number < 1 || number > static_cast<int>(std::size(table))) return nullptr;
    return &table[number - 1];
}

char ascii_lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    return true;
}

}  // namespace

std::span<const nucleus> nuclei_table() {
    return table;
}

std::vector<std::string> nucleus_list_labels() {
    std::vector<std::string> labels;
    labels.reserve(std::size(table));
    for (const nucleus& n : table) labels.emplace_back(n.label);
    return labels;
}

double nucleus_gamma(int number) {
    const nucleus* n = by_number(number);
    return n != nullptr ? n->gamma : 0.0;
}

double nucleus_spin(int number) {
    const nucleus* n = by_number(number);
    return n != nullptr ? n->spin : 0.0;
}

double nucleus_abundance(int number) {
    const nucleus* n = by_number(number);
    return n != nullptr ? n->abundance : 0.0;
}

std::optional<int> find_nucleus_position(std::string_view text) {
    for (std::size_t i = 0; i < std::size(table); ++i)
        if (equal_ignoring_case(text, table[i].label)) return static_cast<int>(i);
    // Not a label: a list number, digits only.
    int number = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(first, last, number);
    if (first == last || error != std::errc() || end != last) return std::nullopt;
    if (by_number(number) == nullptr) return std::nullopt;
    return number - 1;
}

}  // namespace orvix
