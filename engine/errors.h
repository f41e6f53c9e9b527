// Typed failures of the engine. A run that cannot go on throws one of these;
// the program's general error report shows what() to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace taskloom {

class TaskloomError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be read, written, opened or found.
class FileError : public TaskloomError {
public:
    FileError(std::string file, std::string reason, const std::string& action = "cannot open")
        : TaskloomError(action + " \"" + file + "\": " + reason),
          file_(std::move(file)),
          reason_(std::move(reason)) {}
    const std::string& file() const { return file_; }
    const std::string& reason() const { return reason_; }

private:
    std::string file_;
    std::string reason_;
};

// A script line that a command cannot carry out (a number that does not
// convert, a line that would type more keys than can be held, ...).
class ScriptError : public TaskloomError {
public:
    using TaskloomError::TaskloomError;
};

// The clips buffer cannot take a clip: it would grow past its size limit.
class ClipsFullError : public TaskloomError {
public:
    using TaskloomError::TaskloomError;
};

// The clipboard stayed open in another program however long we waited.
class ClipboardError : public TaskloomError {
public:
    using TaskloomError::TaskloomError;
};

}  // namespace taskloom
