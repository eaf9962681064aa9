// Drives the built player in edit mode through its control channel: the
// player runs in the background with a named pipe for its commands and
// files for its standard output and error; the test writes commands, waits
// for the stills and status lines they produce, and ends the run with quit.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/test_support.h"

struct edit_run {
    temp_dir work;
    pid_t pid = -1;
    int pipe_fd = -1;
    int status_lines = 0;

    // Starts `quillon --edit OPTIONS SHOW` (SHOW: a show folder).
    edit_run(const std::string& show, const std::string& options) {
        signal(SIGPIPE, SIG_IGN);  // a player that died is reported by the checks, not by a signal
        std::string pipe = work.file("control");
        mkfifo(pipe.c_str(), 0600);
        pid = start_player("--edit --control " + pipe + " " + options + " " + show, work.file("out"), work.file("err"));
        pipe_fd = open(pipe.c_str(), O_WRONLY);  // waits for the player to open its end
    }
    ~edit_run() {
        stop(pid);
        if (pipe_fd >= 0) close(pipe_fd);
    }

    // The built player with `arguments` in the background, its output to
    // files; its process id.
    static pid_t start_player(const std::string& arguments, const std::string& out, const std::string& err) {
        std::string command =
            "exec env SDL_AUDIODRIVER=dummy " + built_binary("quillon") + " " + arguments + " >" + out + " 2>" + err;
        pid_t child = fork();
        if (child == 0) {
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return child;
    }
    static void stop(pid_t child) {
        if (child <= 0) return;
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }

    // Frame `frame` of a fresh `--capture --start START` run of `show` at
    // 60 fps, into `folder`: the run is stopped once the next frame has been
    // begun, since frames are written in order.
    static std::string fresh_frame(const std::string& folder, const std::string& show, const std::string& start,
                                   int frame) {
        pid_t child = start_player("--capture " + folder + " --start " + start + " " + show, folder + ".out",
                                   folder + ".err");
        char name[32];
        std::snprintf(name, sizeof name, "/frame_%06d.png", frame + 1);
        bool written = wait_for(folder + name);
        stop(child);
        std::snprintf(name, sizeof name, "/frame_%06d.png", frame);
        return written ? read_file(folder + name) : "";
    }

    void send(const std::string& line) {
        std::string text = line + "\n";
        if (write(pipe_fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) perror("control");
    }

    // Waits up to `seconds` for `path` to exist.
    static bool wait_for(const std::string& path, double seconds = 60) {
        auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!std::filesystem::exists(path)) {
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    // Asks for a still (or, with "shot", the window as shown); returns its
    // bytes ("" when none came).
    std::string still(const std::string& name, const std::string& verb = "still") {
        std::string path = work.file(name);
        send(verb + " " + path);
        return wait_for(path) ? read_file(path) : "";
    }

    // Asks for the status; returns its line ("" when none came).
    std::string status_line() {
        send("status");
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        for (;;) {
            std::string out = read_file(work.file("out")), line;
            size_t at = 0;
            int seen = 0;
            for (size_t found; (found = out.find("status ", at)) != std::string::npos && out.find('\n', found) != std::string::npos; ++seen) {
                line = out.substr(found, out.find('\n', found) - found);
                at = found + 1;
            }
            if (seen > status_lines) {
                status_lines = seen;
                return line;
            }
            if (std::chrono::steady_clock::now() > until) return "";
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    // The value after `key` in a status line.
    static std::string field(const std::string& line, const std::string& key) {
        size_t at = line.find(" " + key + " ");
        if (at == std::string::npos) return "";
        at += key.size() + 2;
        return line.substr(at, line.find(' ', at) - at);
    }

    // Asks for the status; returns the value after `key` in its line.
    std::string status(const std::string& key) { return field(status_line(), key); }

    std::string err() const { return read_file(work.file("err")); }

    // Sends quit; returns the exit status.
    int quit() {
        send("quit");
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};
