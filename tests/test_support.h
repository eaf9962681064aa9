// Shared helpers for the tests: temporary folders and files, catching fatal
// errors as exceptions, running the built binaries.
#pragma once

#include <stdexcept>
#include <string>

// Thrown by the fatal hook that catch_fatal() installs.
struct fatal_exception : std::runtime_error {
    explicit fatal_exception(const std::string& message) : std::runtime_error(message) {}
};

// Installs a fatal hook that throws fatal_exception instead of exiting, for
// the lifetime of the object.
struct catch_fatal {
    catch_fatal();
    ~catch_fatal();
};

// A fresh empty folder under the system's temporary folder, removed with the
// object.
struct temp_dir {
    std::string path;
    temp_dir();
    ~temp_dir();
    // Writes `content` to path/name (creating parent folders); returns the
    // full path.
    std::string write(const std::string& name, const std::string& content) const;
    std::string file(const std::string& name) const { return path + "/" + name; }
    // Copies the generated debug font into the folder: every show that gets
    // past its loading phase loads it.
    void add_font() const;
};

std::string read_file(const std::string& path);

// Runs a shell command; returns its exit status and fills `output` with what
// it wrote on stdout and stderr.
int run_command(const std::string& command, std::string* output);

// Path of a built executable (build/quillon, build/quillon-assets, ...).
std::string built_binary(const std::string& name);

// A windowed, silent show of 256 x 256 frames for the player's end-to-end
// tests: seven lines of head, then a loading section on lines 8..16 (the
// generated loading pictures), so the first of `sections` opens on line 17.
std::string e2e_show(const std::string& sections);
// `count` lines of "param 0.5".
std::string e2e_params(int count);
// Runs the built player with `arguments` (a show folder, options) and no
// sound device; returns its exit status and fills `output`.
int e2e_play(const std::string& arguments, std::string* output);
