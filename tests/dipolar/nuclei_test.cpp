// The compiled nuclear data table against its CSV source, and the four look-ups.
#include "dipolar/nuclei.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "platform/scan.h"

namespace orvix {
namespace {

struct csv_row {
    std::string symbol, element;
    int mass_number = 0;
    double spin = 0, gamma = 0, abundance = 0, quadrupole_moment = 0;
};

double csv_number(const std::string& field) {
    std::string_view rest(field);
    double value = 0;
    EXPECT_TRUE(scan_double(rest, value) && rest.empty()) << field;
    return value;
}

// Reads the CSV the table was generated from, independently of the generator.
std::vector<csv_row> read_csv() {
    std::ifstream in(ORVIX_NUCLEI_CSV);
    EXPECT_TRUE(in.good()) << ORVIX_NUCLEI_CSV;
    std::vector<csv_row> rows;
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line,
              "symbol,element,mass_number,spin,gamma_1e7_rad_per_s_T,natural_abundance_percent,"
              "quadrupole_moment_fm2");
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::vector<std::string> fields;
        std::stringstream split(line);
        std::string field;
        while (std::getline(split, field, ',')) fields.push_back(field);
        EXPECT_EQ(fields.size(), 7u) << line;
        if (fields.size() != 7) continue;
        rows.push_back({fields[0], fields[1], std::stoi(fields[2]), csv_number(fields[3]),
                        csv_number(fields[4]), csv_number(fields[5]), csv_number(fields[6])});
    }
    return rows;
}

TEST(NucleiTable, EqualsTheCsvRowForRow) {
    const std::vector<csv_row> rows = read_csv();
    const auto table = nuclei_table();
    ASSERT_EQ(table.size(), rows.size());
    ASSERT_EQ(rows.size(), 120u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].symbol);
        EXPECT_EQ(table[i].label, rows[i].symbol);
        EXPECT_EQ(table[i].element, rows[i].element);
        EXPECT_EQ(table[i].mass_number, rows[i].mass_number);
        // Bit for bit: the compiler and the reader round the same decimal text.
        EXPECT_EQ(table[i].spin, rows[i].spin);
        EXPECT_EQ(table[i].gamma, rows[i].gamma);
        EXPECT_EQ(table[i].abundance, rows[i].abundance);
        EXPECT_EQ(table[i].quadrupole_moment, rows[i].quadrupole_moment);
    }
}

TEST(NucleiTable, LookUpsAreNumberedFromOne) {
    const auto table = nuclei_table();
    const std::vector<std::string> labels = nucleus_list_labels();
    ASSERT_EQ(labels.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(labels[i]);
        const int number = static_cast<int>(i) + 1;
        EXPECT_EQ(labels[i], table[i].label);
        EXPECT_EQ(nucleus_gamma(number), table[i].gamma);
        EXPECT_EQ(nucleus_spin(number), table[i].spin);
        EXPECT_EQ(nucleus_abundance(number), table[i].abundance);
    }
}

// Published values (IUPAC 2001) the dialog's users rely on, looked up by label.
TEST(NucleiTable, KnownNuclei) {
    struct known {
        const char* label;
        int number;  // 0: not checked
        double spin, gamma, abundance;
    };
    const known cases[] = {
        {"1H", 1, 0.5, 26.7522128, 99.9885}, {"2H", 2, 1.0, 4.10662791, 0.0115},
        {"13C", 0, 0.5, 6.728284, 1.07},     {"15N", 0, 0.5, -2.71261804, 0.368},
        {"19F", 0, 0.5, 25.18148, 100},      {"27Al", 0, 2.5, 6.9762715, 100},
        {"29Si", 0, 0.5, -5.319, 4.6832},    {"31P", 0, 0.5, 10.8394, 100},
        {"207Pb", 0, 0.5, 5.67603, 22.1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto position = find_nucleus_position(c.label);
        ASSERT_TRUE(position.has_value());
        if (c.number != 0) {
            EXPECT_EQ(*position + 1, c.number);
        }
        EXPECT_EQ(nucleus_spin(*position + 1), c.spin);
        EXPECT_EQ(nucleus_gamma(*position + 1), c.gamma);
        EXPECT_EQ(nucleus_abundance(*position + 1), c.abundance);
    }
}

TEST(NucleiTable, NumbersOutsideTheListAnswerZero) {
    const int count = static_cast<int>(nuclei_table().size());
    for (int number : {0, -1, count + 1, 1000}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(nucleus_gamma(number), 0.0);
        EXPECT_EQ(nucleus_spin(number), 0.0);
        EXPECT_EQ(nucleus_abundance(number), 0.0);
    }
    EXPECT_NE(nucleus_gamma(count), 0.0);
}

TEST(NucleiTable, FindsLabelsInAnyCaseAndListNumbers) {
    const int al = *find_nucleus_position("27Al");
    struct lookup {
        const char* text;
        std::optional<int> position;
    };
    const lookup cases[] = {
        {"1H", 0},    {"1h", 0}, {"27AL", al}, {"27al", al}, {"1", 0},
        {"120", 119}, {"0", {}}, {"121", {}},  {"", {}},     {"27 Al", {}},
        {"Al27", {}}, {"H", {}}, {"+1", {}},   {"1.0", {}},  {"99X", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(find_nucleus_position(c.text), c.position);
    }
}

// Typing a label in any letter case must find one nucleus only.
TEST(NucleiTable, LabelsDifferEvenIgnoringCase) {
    std::set<std::string> seen;
    for (const auto& n : nuclei_table()) {
        std::string lower(n.label);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(lower).second) << n.label;
    }
}

}  // namespace
}  // namespace orvix
