// orvix-cli end to end: every case of the transcripts under tests/data/transcripts runs the
// program in a folder of its own and compares the exact bytes of standard output, standard
// error, the result files and the exit status, and that no temporary copy is left behind.
//
// A transcript is a list of cases; '#' lines are comments. Each case is
//   case NAME
//   run ARG...              arguments split at spaces; @data/REL is a copy of tests/data/REL
//                           in the case's folder (orvix-cli holds its input exclusively, and
//                           cases run side by side)
//   file NAME [< REL]       a file in the case's folder; it must be unchanged afterwards
//   stdin [< REL]           standard input (none: empty)
//   stdout [< REL]          expected standard output (none: empty)
//   stderr [< REL]          expected standard error (none: empty)
//   stdout-head, stderr-head    the stream begins with these bytes (help, long tables)
//   stdout-to PATH          standard output goes to PATH (/dev/full), expected empty
//   result NAME [< REL]     a file the run must leave with these bytes
//   absent NAME             a file the run must not leave
//   status N                expected exit status (none: 0)
// "< REL" takes the bytes of tests/data/REL; otherwise the bytes are the lines that follow:
//   "| TEXT" is TEXT and CR LF, ": TEXT" is TEXT and LF, ". TEXT" is TEXT alone.
// In TEXT and in arguments \r, \n, \s (a space), \\ and \xHH stand for those bytes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <utility>

#include "support/test_support.h"

namespace orvix {
namespace {

namespace fs = std::filesystem;

struct transcript_case {
    std::string name;
    std::string error;  // a transcript the loader could not read
    std::vector<std::string> args;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::pair<std::string, std::string>> results;
    std::vector<std::string> absent;
    std::string input, out, err;
    bool out_is_head = false, err_is_head = false;
    std::string out_to;  // where standard output goes instead of a file compared
    int status = 0;
};

// A failing case is named, not dumped as bytes.
void PrintTo(const transcript_case& c, std::ostream* os) {
    *os << c.name;
}

std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        const char c = text[++i];
        if (c == 'r')
            out.push_back('\r');
        else if (c == 'n')
            out.push_back('\n');
        else if (c == 's')
            out.push_back(' ');
        else if (c == 'x' && i + 2 < text.size()) {
            out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else
            out.push_back(c);
    }
    return out;
}

// The bytes of a file under tests/data; a name that is not there makes the case fail.
std::string data_file(const std::string& relative, transcript_case& c, const std::string& where) {
    if (!fs::is_regular_file(test::data_path(relative))) c.error = where + ": no file " + relative;
    return test::read_data(relative);
}

void load_transcript(const fs::path& path, std::vector<transcript_case>& cases) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::string* body = nullptr;  // where "|", ":" and "." lines go
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::string where = path.filename().string() + ":" + std::to_string(number);
        if ((line[0] == '|' || line[0] == ':' || line[0] == '.') &&
            (line.size() == 1 || line[1] == ' ')) {
            if (body == nullptr) {
                cases.back().error = where + ": text outside a block";
                continue;
            }
            body->append(unescape(line.size() > 2 ? line.substr(2) : ""));
            if (line[0] == '|') body->append("\r\n");
            if (line[0] == ':') body->append("\n");
            continue;
        }
        std::istringstream words(line);
        std::string keyword, name, from, relative;
        words >> keyword;
        if (keyword == "case") {
            transcript_case c;
            std::getline(words >> std::ws, c.name);
            c.name = path.stem().string() + "_" + c.name;
            for (char& ch : c.name)
                if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
            cases.push_back(std::move(c));
            body = nullptr;
            continue;
        }
        if (cases.empty()) {
            cases.emplace_back().name = path.stem().string() + "_header";
            cases.back().error = where + ": no case yet";
            continue;
        }
        transcript_case& c = cases.back();
        if (keyword == "run") {
            for (std::string arg; words >> arg;) {
                if (arg.rfind("@data/", 0) == 0) {
                    const std::string copy = fs::path(arg).filename().string();
                    c.files.emplace_back(copy, data_file(arg.substr(6), c, where));
                    arg = copy;
                }
                c.args.push_back(unescape(arg));
            }
            body = nullptr;
            continue;
        }
        if (keyword == "status") {
            words >> c.status;
            continue;
        }
        if (keyword == "file" || keyword == "result" || keyword == "absent") words >> name;
        if (keyword == "stdout-to") words >> c.out_to;
        if (keyword == "absent") {
            c.absent.push_back(name);
            continue;
        }
        if (keyword == "stdout-head") c.out_is_head = true;
        if (keyword == "stderr-head") c.err_is_head = true;
        if (keyword == "file") {
            body = &c.files.emplace_back(name, "").second;
        } else if (keyword == "result") {
            body = &c.results.emplace_back(name, "").second;
        } else if (keyword == "stdin") {
            body = &c.input;
        } else if (keyword.rfind("stdout", 0) == 0) {
            body = &c.out;
        } else if (keyword.rfind("stderr", 0) == 0) {
            body = &c.err;
        } else {
            c.error = where + ": unknown keyword " + keyword;
            body = nullptr;
            continue;
        }
        if (words >> from >> relative && from == "<") *body = data_file(relative, c, where);
    }
}

std::vector<transcript_case> all_cases() {
    std::vector<transcript_case> cases;
    std::set<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(test::data_path("transcripts")))
        if (entry.path().extension() == ".txt") paths.insert(entry.path());
    for (const fs::path& path : paths) load_transcript(path, cases);
    return cases;
}

struct cli_run {
    int status = -1;
    std::string out, err;
};

// Runs orvix-cli in `folder` with standard input, output and error in files beside it.
cli_run run_cli_in(const std::string& folder, const std::string& streams,
                   const transcript_case& c) {
    test::write_file(streams + "/in", c.input);
    const pid_t child = test::start_cli(c.args, [&] {
        if (::chdir(folder.c_str()) != 0) std::_Exit(126);
        std::freopen((streams + "/in").c_str(), "rb", stdin);
        std::freopen((c.out_to.empty() ? streams + "/out" : c.out_to).c_str(), "wb", stdout);
        std::freopen((streams + "/err").c_str(), "wb", stderr);
    });
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::read_file(streams + "/out"),
            test::read_file(streams + "/err")};
}

class Transcript : public testing::TestWithParam<transcript_case> {};

TEST_P(Transcript, Runs) {
    const transcript_case& c = GetParam();
    ASSERT_EQ(c.error, "");
    test::scratch_dir folder, streams;
    for (const auto& [name, bytes] : c.files) test::write_file(folder.file(name), bytes);
    const cli_run run = run_cli_in(folder.path().string(), streams.path().string(), c);
    EXPECT_EQ(c.out_is_head ? run.out.substr(0, c.out.size()) : run.out, c.out);
    EXPECT_EQ(c.err_is_head ? run.err.substr(0, c.err.size()) : run.err, c.err);
    EXPECT_EQ(run.status, c.status);
    std::set<std::string> changed;
    for (const auto& result : c.results) changed.insert(result.first);
    for (const auto& [name, bytes] : c.files) {
        if (changed.count(name) == 0) {
            EXPECT_EQ(test::read_file(folder.file(name)), bytes) << name;
        }
    }
    for (const auto& [name, bytes] : c.results) {
        EXPECT_TRUE(fs::exists(folder.file(name))) << name;
        EXPECT_EQ(test::read_file(folder.file(name)), bytes) << name;
    }
    for (const auto& name : c.absent) EXPECT_FALSE(fs::exists(folder.file(name))) << name;
    EXPECT_EQ(test::temporary_copies(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Cli, Transcript, testing::ValuesIn(all_cases()),
                         [](const testing::TestParamInfo<transcript_case>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace orvix
