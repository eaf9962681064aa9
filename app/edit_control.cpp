// Reading and parsing control commands. A named pipe opened without
// blocking reads nothing (rather than its end) while no writer has it open,
// so an editor can come and go; standard input ends once.
#include "app/edit_control.h"

#include <fcntl.h>
#include <poll.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "core/nearest.h"

#include "core/track.h"

namespace {

bool parse_number(const std::string& word, float* out) {
    if (word.empty()) return false;
    char* end = nullptr;
    float value = std::strtof(word.c_str(), &end);
    if (*end || !std::isfinite(value)) return false;
    *out = value;
    return true;
}

bool parse_count(const std::string& word, int* out) {
    if (word.empty()) return false;
    char* end = nullptr;
    long value = std::strtol(word.c_str(), &end, 10);
    if (*end || value < -100000 || value > 100000 || value == 0) return false;
    *out = static_cast<int>(value);
    return true;
}

bool ends_with_png(const std::string& name) {
    return name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".png") == 0;
}

edit_command bad(const std::string& error) {
    edit_command c = {EDIT_BAD, 0, 0, 0, "", error, "", 0};
    return c;
}

// `key NAME TIME VALUE [interp]` and `unkey NAME TIME`; `words` are the
// words after the verb.
edit_command track_edit(const std::string words[5], int count, bool unkey) {
    edit_command c = {unkey ? EDIT_TRACK_UNKEY : EDIT_TRACK_KEY, 0, 0, 0, words[0], "", words[1], TRACK_STEP};
    if (unkey) return count == 2 ? c : bad("unkey takes a track name and a time");
    if (count < 3 || count > 4) return bad("key takes a key name, or a track name, a time, a value and an interpolation");
    if (!parse_number(words[2], &c.a)) return bad("a key's value is a number, not " + edit_quote(words[2]));
    if (count == 4 && (c.interp = track_interp_find(words[3].c_str())) < 0)
        return bad("unknown interpolation " + edit_quote(words[3]) + " (step, linear, smooth or ramp)");
    return c;
}

}  // namespace

std::string edit_quote(const std::string& text) {
    enum { SHOWN = 80 };
    std::string quoted = "'";
    for (size_t i = 0; i < text.size() && i < SHOWN; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\' || c == '\'') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", c);
            quoted += code;
        } else {
            quoted += static_cast<char>(c);
        }
    }
    quoted += "'";
    if (text.size() > SHOWN) quoted += "... (" + std::to_string(text.size()) + " bytes)";
    return quoted;
}

// A seek or loop time in any of the script's forms; the reason when it is none.
static bool parse_time(const std::string& word, const script_tempo& tempo, float* out, std::string* why) {
    const char* fault = script_time_read(word.c_str(), tempo, out, nullptr);
    if (fault) *why = edit_quote(word) + ": " + fault;
    return !fault;
}

edit_command edit_command_parse(const std::string& line, const script_tempo& tempo) {
    std::istringstream in(line);
    std::string verb, words[5];
    in >> verb >> words[0] >> words[1] >> words[2] >> words[3] >> words[4];
    const std::string &first = words[0], &second = words[1];
    edit_command c = {EDIT_NONE, 0, 0, 0, "", "", "", 0};
    if (verb.empty()) return c;
    int count = 0;
    while (count < 5 && !words[count].empty()) ++count;
    if ((verb == "key" && count > 1) || verb == "unkey") return track_edit(words, count, verb == "unkey");
    static const struct { const char* verb; edit_command_kind kind; int words; } plain[] = {
        {"pause", EDIT_PAUSE, 0}, {"play", EDIT_PLAY, 0}, {"reload", EDIT_RELOAD, 0},
        {"status", EDIT_STATUS, 0}, {"quit", EDIT_QUIT, 0}, {"timeline", EDIT_TIMELINE, 0}, {"seek", EDIT_SEEK, 1},
        {"step", EDIT_STEP, 1}, {"still", EDIT_STILL, 1}, {"shot", EDIT_SHOT, 1}, {"key", EDIT_KEY, 1},
        {"loop", EDIT_LOOP, 2}, {"track", EDIT_TRACK, 1},
    };

    for (const auto& p : plain) {
        if (verb != p.verb) continue;
        c.kind = p.kind;
        if (c.kind == EDIT_LOOP && count == 1 && first == "off") c.kind = EDIT_LOOP_OFF;
        else if (count != p.words) return bad("'" + verb + "' takes " + std::to_string(p.words) + " value(s)");
        break;
    }
    if (c.kind == EDIT_NONE) {
        std::vector<const char*> verbs;
        for (const auto& p : plain) verbs.push_back(p.verb);
        return bad("unknown command " + edit_quote(verb) + nearest_hint(verb.c_str(), verbs.data(), int(verbs.size())));
    }
    std::string why;
    if (c.kind == EDIT_SEEK && !parse_time(first, tempo, &c.a, &why)) return bad("seek " + why);
    if (c.kind == EDIT_STEP && !parse_count(first, &c.frames))
        return bad("step needs a whole number of frames other than 0, not " + edit_quote(first));
    if (c.kind == EDIT_LOOP && !(parse_time(first, tempo, &c.a, &why) && parse_time(second, tempo, &c.b, &why)))
        return bad("loop " + why);
    if ((c.kind == EDIT_STILL || c.kind == EDIT_SHOT) && !ends_with_png(first))
        return bad(verb + " writes PNG files only: name it FILE.png, not " + edit_quote(first));
    if (c.kind == EDIT_STILL || c.kind == EDIT_SHOT || c.kind == EDIT_KEY || c.kind == EDIT_TRACK) c.text = first;
    return c;
}

bool edit_channel_open(edit_channel* channel, const char* path) {
    channel->buffer.clear();
    channel->ended = false;
    channel->is_stdin = std::strcmp(path, "-") == 0;
    channel->fd = channel->is_stdin ? STDIN_FILENO : open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (channel->fd < 0) return false;
    struct stat info;
    if (fstat(channel->fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        close(channel->fd);
        channel->fd = -1;
        errno = EISDIR;
        return false;
    }
    int flags = fcntl(channel->fd, F_GETFL);
    fcntl(channel->fd, F_SETFL, flags | O_NONBLOCK);
    return true;
}

bool edit_channel_next(edit_channel* channel, std::string* line) {
    for (;;) {
        size_t end = channel->buffer.find('\n');
        if (end != std::string::npos) {
            *line = channel->buffer.substr(0, end);
            channel->buffer.erase(0, end + 1);
            if (!line->empty() && line->back() == '\r') line->pop_back();
            return true;
        }
        if (channel->fd < 0 || channel->ended) return false;
        char block[4096];
        ssize_t got = read(channel->fd, block, sizeof block);
        if (got > 0) {
            channel->buffer.append(block, static_cast<size_t>(got));
            continue;
        }
        // A writer of a pipe that leaves with a line unfinished: the part
        // is dropped, not joined to the next writer's first line.
        if (got == 0 && !channel->is_stdin && !channel->buffer.empty()) {
            channel->dropped.swap(channel->buffer);
            channel->buffer.clear();
            return false;
        }
        // The last line of standard input may lack its line end.
        if (got == 0 && channel->is_stdin) {
            channel->ended = true;
            if (channel->buffer.empty()) return false;
            channel->buffer += '\n';
            continue;
        }
        return false;
    }
}

bool edit_channel_waiting(const edit_channel* channel) {
    if (channel->buffer.find('\n') != std::string::npos) return true;
    if (channel->fd < 0 || channel->ended) return false;
    pollfd ready = {channel->fd, POLLIN, 0};
    return poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN);
}

void edit_channel_close(edit_channel* channel) {
    if (channel->fd >= 0 && !channel->is_stdin) close(channel->fd);
    channel->fd = -1;
}
