// Helpers shared by the tests: scratch folders, whole-file reads and writes, running an
// action through the scripted services.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "actions/action_protocol.h"
#include "commands/command_table.h"
#include "platform/scripted_services.h"

namespace orvix::test {

// A fresh folder under the temporary directory, removed with everything in it at the end.
class scratch_dir {
  public:
    scratch_dir();
    ~scratch_dir();
    scratch_dir(const scratch_dir&) = delete;
    scratch_dir& operator=(const scratch_dir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);

// Turns "\n" line ends into "\r\n" (for writing test inputs and expectations readably).
std::string crlf(const std::string& text);

// The path of a file under tests/data, and the bytes of that file.
std::string data_path(const std::string& relative);
std::string read_data(const std::string& relative);

// Files in the temporary directory whose names begin with "orv" (temporary copies).
std::vector<std::string> temporary_copies();

// Runs the action of `command` with the given scripted services and document.
action_result run_command(int command, services& ui, document_state& doc);

// Starts orvix-cli with the arguments in a child process that first runs `prepare` (its
// folder, streams, environment); answers the child's process id.
pid_t start_cli(const std::vector<std::string>& args, const std::function<void()>& prepare);

}  // namespace orvix::test
