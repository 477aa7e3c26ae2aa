// Plain records edited by the parameter dialogs. The services interface hands one of these
// to each dialog call; the actions own them (the dipolar record lives for the whole run).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvix {

// Three Euler angles in degrees: rotation about z, then the new y, then the new z.
struct euler_angles {
    double alpha = 0.0;
    double beta = 0.0;
    double gamma = 0.0;
};

// Which old axis (0 = a, 1 = b, 2 = c) the user chose in the rows X, Y and Z.
struct axis_order {
    std::array<int, 3> row = {0, 1, 2};
};

// The dipolar parameter record: initialised once per run, edited in place by its dialog.
struct dipolar_parameters {
    std::int32_t rotation_sense = 0;    // 0 clockwise, 1 anticlockwise
    std::int32_t observed_nucleus = 0;  // list position, counted from 0
    std::int32_t coupled_nucleus = 0;   // list position, counted from 0
    std::int32_t moment_type = 1;       // 0 powder, 1 single crystal
    double abundance = 100.0;           // percent
    double gamma_observed = 0.0;        // 10^7 rad s^-1 T^-1, set when the dialog closes
    double gamma_coupled = 0.0;         // 10^7 rad s^-1 T^-1, set when the dialog closes
    double spin_coupled = 0.0;          // set when the dialog closes
    double alpha = 0.0;                 // degrees
    double beta = 90.0;                 // degrees
    double gamma_start = 0.0;           // degrees
    double gamma_increment = 1.0;       // degrees
    double gamma_end = 180.0;           // degrees
    double phase = 0.0;                 // degrees
    double cutoff = 1000.0;             // Angstrom
};

// One simple symmetry operation: new coordinate k = factor[k] * old[source[k]] + shift[k].
struct symmetry_operation {
    std::int32_t position_count = 1;
    std::int32_t current_position = 1;
    std::array<double, 3> factor = {1.0, 1.0, 1.0};
    std::array<double, 3> shift = {0.0, 0.0, 0.0};
    std::array<std::uint8_t, 3> source = {0, 1, 2};
};

// The block of unit cells: translations from -n to n along each edge.
struct block_record {
    std::int32_t n = 1;
};

// The cluster around one atom: the labels the crystal data holds (each once, in input order,
// filled in by the action before the dialog opens), the label chosen as the centre, and the
// radius in Angstrom.
struct cluster_record {
    std::vector<std::string> labels;
    std::string site;
    double radius = 10.0;
};

// The Tensor Parameters record: what the tensors are, a reference shielding (used for
// shielding tensors only) and the quadrupolar nucleus of EFG tensors.
struct tensor_parameters_record {
    std::int32_t kind = 0;       // 0 shielding, 1 chemical shift, 2 EFG
    bool has_reference = false;  // false: no shifts from a reference
    double reference = 0.0;      // ppm
    std::int32_t nucleus = -1;   // position in the nuclear data table, -1 none
    bool csv = false;            // the CSV table instead of the report (orvix-cli --csv)
};

}  // namespace orvix
