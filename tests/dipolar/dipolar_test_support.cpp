// Helpers of the dipolar tests.
#include "dipolar_test_support.h"

#include <gtest/gtest.h>

#include "dipolar/nuclei.h"
#include "dipolar/parameters.h"
#include "support/test_support.h"

namespace orvix::test {

dipolar_parameters parameters_for(const std::string& observed, const std::string& coupled) {
    dipolar_parameters p;
    select_observed_nucleus(p, find_nucleus_position(observed).value());
    select_coupled_nucleus(p, find_nucleus_position(coupled).value());
    finish_dipolar_dialog(p);
    return p;
}

moment_run run_moment(const std::string& text, const dipolar_parameters& parameters,
                      int cancel_after) {
    scratch_dir dir;
    write_file(dir.file("input.cry"), text);
    moment_run run;
    {
        auto input = exclusive_file::open_existing(dir.file("input.cry"),
                                                   exclusive_file::access::read_write);
        auto result = exclusive_file::create(dir.file("result.txt"));
        EXPECT_TRUE(input && result);
        int reports = 0;
        const progress_step step = [&](std::uint64_t) { return ++reports != cancel_after; };
        dipolar_input entries;
        run.status = read_dipolar_input(*input, entries);
        if (run.status == dipolar_status::ok && parameters.moment_type == 0)
            run.status = write_powder_sum(entries, parameters, *result, step, &run.total);
        else if (run.status == dipolar_status::ok)
            run.status = write_rotation_pattern(entries, parameters, *result, step);
        result->close();
    }
    run.report = read_file(dir.file("result.txt"));
    return run;
}

std::vector<std::string> report_lines(const std::string& report) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < report.size();) {
        std::size_t end = report.find("\r\n", start);
        if (end == std::string::npos) end = report.size();
        lines.push_back(report.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace orvix::test
