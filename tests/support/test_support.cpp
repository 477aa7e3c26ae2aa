// Shared test helpers.
#include "support/test_support.h"

#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

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

pid_t start_cli(const std::vector<std::string>& args, const std::function<void()>& prepare) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    prepare();
    std::string program = ORVIX_CLI_PATH;
    std::vector<std::string> copies(args);
    std::vector<char*> argv{program.data()};
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    std::_Exit(127);
}

}  // namespace orvix::test
