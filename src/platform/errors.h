// The ways an action can be ended from deep inside a computation, a reader or a writer. All
// are caught by the action runner, which shows the message; RAII closes the action's files and
// deletes its temporary copy on the way out. No exception reaches a front end.
#pragma once

#include <stdexcept>
#include <string>

namespace orvix {

// A result line could not be written (a full disk): reported as "Error writing file! Disk
// full?" with the file's path as caption.
class write_failure : public std::runtime_error {
  public:
    explicit write_failure(std::string path)
        : std::runtime_error("write failure: " + path), path_(std::move(path)) {}
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The input could not be read on (an I/O error): reported as "Could not read file!" with
// the file's path as caption, never taken for the end of the file.
class read_failure : public std::runtime_error {
  public:
    explicit read_failure(std::string path)
        : std::runtime_error("read failure: " + path), path_(std::move(path)) {}
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Numeric work cannot go on (storage, an eigen-solver that does not converge): the action
// ends with this text in an error box captioned "Orvix".
class action_abort : public std::runtime_error {
  public:
    explicit action_abort(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace orvix
