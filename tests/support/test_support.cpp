// Shared test helpers.
#include "support/test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "commands/command_table.h"

namespace orvix::test {

namespace fs = std::filesystem;

scratch_dir::scratch_dir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    path_ = fs::temp_directory_path() / ("orvix-test-" + std::to_string(random()));
    fs::create_directories(path_);
}

scratch_dir::~scratch_dir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

std::string data_path(const std::string& relative) {
    return (fs::path(ORVIX_TEST_DATA) / relative).string();
}

std::string read_data(const std::string& relative) {
    return read_file(data_path(relative));
}

std::vector<std::string> temporary_copies() {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
        if (entry.path().filename().string().rfind("orv", 0) == 0 &&
            entry.path().filename().string().rfind("orvix-test-", 0) != 0)
            found.push_back(entry.path().string());
    return found;
}

action_result run_command(int command, services& ui, document_state& doc) {
    const command_row* row = find_command(command);
    if (row == nullptr || row->run == nullptr)
        throw std::logic_error("no action for command " + std::to_string(command));
    return run_command_action(*row, ui, doc);
}

action_result run_on_text(int command, scripted_services& ui, const std::string& editor_text,
                          const std::string& result_path) {
    ui.editor = editor_text;
    ui.save_choices.push_back(result_path);
    document_state doc;
    return run_command(command, ui, doc);
}

cli_run run_cli(const std::vector<std::string>& args, const std::string& input) {
    scratch_dir dir;
    const std::string in_path = dir.file("stdin");
    const std::string out_path = dir.file("stdout");
    const std::string err_path = dir.file("stderr");
    write_file(in_path, input);
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen(in_path.c_str(), "rb", stdin);
        std::freopen(out_path.c_str(), "wb", stdout);
        std::freopen(err_path.c_str(), "wb", stderr);
        std::vector<char*> argv;
        std::string program = ORVIX_CLI_PATH;
        argv.push_back(program.data());
        std::vector<std::string> copies(args);
        for (auto& a : copies) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        std::_Exit(127);
    }
    // A run that hangs is killed and fails its test instead of stopping the suite.
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::seconds(120);
    auto pause = std::chrono::microseconds(500);
    int status = 0;
    cli_run run;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            run.timed_out = true;
            break;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = read_file(out_path);
    run.err = read_file(err_path);
    return run;
}

}  // namespace orvix::test
