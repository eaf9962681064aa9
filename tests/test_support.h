// Shared helpers for the tests: temporary folders and files, catching fatal
// errors as exceptions, running the built binaries.
#pragma once

#include "app/cmdline.h"

#include <functional>
#include <stdexcept>
#include <initializer_list>
#include <string>
#include <vector>

// The text holds `part`; a failure shows the whole text.
#define EXPECT_HAS(text, part) EXPECT_NE((text).find(part), std::string::npos) << (text)

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

// The message `call` stops with (the fatal hook made to throw), or "" when
// it returns.
std::string fatal_message(const std::function<void()>& call);

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
    // Copies the generated debug font into the show folder `show` (a path
    // inside this one, ending in '/', or ""): every show that gets past its
    // loading phase loads it.
    void add_font(const std::string& show = "") const;
};

std::string read_file(const std::string& path);
// The names of the entries of a folder, sorted.
std::vector<std::string> folder_names(const std::string& folder);

// Makes `path` the working folder until the object ends.
struct working_folder {
    std::string old;
    explicit working_folder(const std::string& path);
    ~working_folder();
};

// A PNG file read back: its size and RGB rows, top row first; width 0 when
// the file cannot be read.
struct png_pixels {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * width + x)]; }
};
png_pixels read_png(const std::string& path);

// Runs a shell command; returns its exit status and fills `output` with what
// it wrote on stdout and stderr.
// cmdline_parse of "quillon" followed by `args`; the texts the result points
// into live until the next call.
cmdline parse_command_line(std::vector<std::string> args);

int run_command(const std::string& command, std::string* output);

// Path of a built executable (build/quillon, build/quillon-assets, ...).
std::string built_binary(const std::string& name);

// A windowed, silent show of 256 x 256 frames for the player's end-to-end
// tests: seven lines of head, then a loading section on lines 8..16 (the
// generated loading pictures), so the first of `sections` opens on line 17.
// Another `sound` head (sound settings, or none) takes the place of the
// last two lines.
std::string e2e_show(const std::string& sections, const std::string& sound = "snd_enable 0\ngl_info 0\n");
// `count` lines of "param VALUE".
std::string e2e_params(int count, const char* value = "0.5");
// One "string NAME" line per name.
std::string e2e_strings(std::initializer_list<std::string> names);
// A "syncs N" line and its N "sync T" lines.
std::string e2e_syncs(std::initializer_list<const char*> times);

// A show that must stop: the sections after the loading section, and the
// text its run must print.
struct e2e_error_case {
    const char* name;
    std::string sections;
    std::string message;
};
// Plays each case's e2e_show and expects exit status 255 and its message.
// With `in_source` the repository is the show folder (for scenes that read
// fixed data/ paths) and the script is passed with --script; otherwise a
// temporary folder holding the script and the debug font is.
void e2e_expect_errors(const std::vector<e2e_error_case>& cases, bool in_source = false);
// Runs the built player with `arguments` (a show folder, options) and no
// sound device; returns its exit status and fills `output`.
int e2e_play(const std::string& arguments, std::string* output);
