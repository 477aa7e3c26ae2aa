// Helpers of the dipolar tests.
#include "dipolar_test_support.h"

#include <cmath>
#include <stdexcept>

#include "crystal/records.h"
#include "dipolar/nuclei.h"
#include "dipolar/parameters.h"
#include "platform/c_format.h"
#include "support/test_support.h"

namespace orvix::test {

dipolar_parameters parameters_for(const std::string& observed, const std::string& coupled) {
    dipolar_parameters p;
    select_observed_nucleus(p, find_nucleus_position(observed).value());
    select_coupled_nucleus(p, find_nucleus_position(coupled).value());
    finish_dipolar_dialog(p);
    return p;
}

namespace {

struct files {
    scratch_dir dir;
    std::optional<exclusive_file> input;
    std::optional<exclusive_file> result;

    explicit files(const std::string& text) {
        write_file(dir.file("input.cry"), text);
        input = exclusive_file::open_existing(dir.file("input.cry"),
                                              exclusive_file::access::read_write);
        result = exclusive_file::create(dir.file("result.txt"));
        if (!input || !result) throw std::runtime_error("cannot open the test files");
    }

    std::string close_result() {
        result->close();
        return read_file(dir.file("result.txt"));
    }
};

}  // namespace

moment_run run_moment(const std::string& text, const dipolar_parameters& parameters,
                      int cancel_after) {
    files f(text);
    moment_run run;
    int reports = 0;
    const progress_step step = [&](std::uint64_t) { return ++reports != cancel_after; };
    dipolar_input input;
    run.status = read_dipolar_input(*f.input, input);
    if (run.status == dipolar_status::ok) {
        if (parameters.moment_type == 0) {
            double total = -1;
            run.status = write_powder_sum(input, parameters, *f.result, step, &total);
            run.total = total;
        } else {
            run.status = write_rotation_pattern(input, parameters, *f.result, step);
        }
    }
    run.report = f.close_result();
    return run;
}

// Written from the definition of the pattern, one pass over the file per angle.
std::string reference_pattern(const std::string& text, const dipolar_parameters& p) {
    files f(text);
    exclusive_file& in = *f.input;
    exclusive_file& out = *f.result;
    const double deg = 0.017453292519943;
    const double pi = 3.141592654;
    std::string cell;
    if (!read_cell_line(in, cell) || !is_cartesian_cell(cell)) throw std::logic_error("cell");
    const double sign = p.rotation_sense == 0 ? -1 : 1;
    const double a = p.alpha * deg, b = p.beta * deg;
    const double sa = std::sin(a), ca = std::cos(a), sb = std::sin(b), cb = std::cos(b);
    double g = p.gamma_start;
    int passes = 0;
    if (!(g <= p.gamma_end)) return f.close_result();
    while (true) {
        const double psi = sign * (g + p.phase) * deg;
        const double nx = -cb * ca * std::sin(psi) - sa * std::cos(psi);
        const double ny = ca * std::cos(psi) - cb * sa * std::sin(psi);
        const double nz = sb * std::sin(psi);
        double m2 = 0;
        atom_record first, atom;
        if (!read_atom_line(in, first, true, &out)) throw std::logic_error("no atom");
        while (read_atom_line(in, atom, true, &out)) {
            if (is_origin_label(atom.label)) continue;
            const double dx = static_cast<double>(atom.x) - static_cast<double>(first.x);
            const double dy = static_cast<double>(atom.y) - static_cast<double>(first.y);
            const double dz = static_cast<double>(atom.z) - static_cast<double>(first.z);
            const double r = std::sqrt(dx * dx + dy * dy + dz * dz);
            if (r > std::fabs(p.cutoff) || !(r > 0)) continue;
            double cz = dz / r;
            if (std::fabs(cz) > 1) cz = cz > 0 ? 1.0 : -1.0;
            const double theta = std::acos(cz) / deg * deg;
            double phi = 0;
            if (std::sin(theta) != 0) {
                double cx = dx / (r * std::sin(theta));
                if (std::fabs(cx) > 1) cx = cx > 0 ? 1.0 : -1.0;
                phi = dy >= 0 ? std::acos(cx) / deg * deg : -std::acos(cx) / deg * deg;
            }
            const double u = std::sin(theta) * std::cos(phi) * nx +
                             std::sin(theta) * std::sin(phi) * ny + cz * nz;
            const double d =
                (1 - 3 * u * u) * 167.845 * p.gamma_observed * p.gamma_coupled / (r * r * r);
            const double s = p.spin_coupled;
            double term = p.gamma_coupled == p.gamma_observed
                              ? (s + 1) * (3 * s) * d * d
                              : (s + 1) * (s * 1.3333333333333333) * d * d;
            term = term * pi * pi * (p.abundance * 0.01);
            m2 = m2 + term;
        }
        out.write(c_format("%g    %g\r\n", g, m2));
        ++passes;
        in.rewind();
        g = p.gamma_start + passes * p.gamma_increment;
        if (!(g <= p.gamma_end)) return f.close_result();
    }
}

std::vector<std::string> report_lines(const std::string& report) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < report.size()) {
        std::size_t end = report.find("\r\n", start);
        if (end == std::string::npos) end = report.size();
        lines.push_back(report.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace orvix::test
