// Reading and parsing control commands. A named pipe opened without
// blocking reads nothing (rather than its end) while no writer has it open,
// so an editor can come and go; standard input ends once.
#include "app/edit_control.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "core/nearest.h"

namespace {

bool parse_count(const std::string& word, int* out) {
    if (word.empty()) return false;
    char* end = nullptr;
    long value = std::strtol(word.c_str(), &end, 10);
    if (*end || value < -100000 || value > 100000 || value == 0) return false;
    *out = static_cast<int>(value);
    return true;
}

// A seek or loop time in any of the script's forms; the reason when it is none.
bool parse_time(const std::string& word, const script_tempo& tempo, float* out, std::string* why) {
    const char* fault = script_time_read(word.c_str(), tempo, out, nullptr);
    if (fault) *why = word + ": " + fault;
    return !fault;
}

edit_command bad(const std::string& error) {
    edit_command c = {EDIT_BAD, 0, 0, 0, "", error};
    return c;
}

}  // namespace

edit_command edit_command_parse(const std::string& line, const script_tempo& tempo) {
    std::istringstream in(line);
    std::string verb, first, second, extra;
    in >> verb >> first >> second >> extra;
    edit_command c = {EDIT_NONE, 0, 0, 0, "", ""};
    if (verb.empty()) return c;
    static const struct { const char* verb; edit_command_kind kind; int words; } plain[] = {
        {"pause", EDIT_PAUSE, 0}, {"play", EDIT_PLAY, 0}, {"reload", EDIT_RELOAD, 0},
        {"status", EDIT_STATUS, 0}, {"quit", EDIT_QUIT, 0}, {"timeline", EDIT_TIMELINE, 0}, {"seek", EDIT_SEEK, 1},
        {"step", EDIT_STEP, 1}, {"still", EDIT_STILL, 1}, {"shot", EDIT_SHOT, 1}, {"key", EDIT_KEY, 1},
        {"loop", EDIT_LOOP, 2},
    };
    int words = !first.empty() + !second.empty() + !extra.empty();
    for (const auto& p : plain) {
        if (verb != p.verb) continue;
        c.kind = p.kind;
        if (c.kind == EDIT_LOOP && words == 1 && first == "off") c.kind = EDIT_LOOP_OFF;
        else if (words != p.words) return bad("'" + verb + "' takes " + std::to_string(p.words) + " value(s)");
        break;
    }
    if (c.kind == EDIT_NONE) {
        std::vector<const char*> verbs;
        for (const auto& p : plain) verbs.push_back(p.verb);
        return bad("unknown command '" + verb + "'" + nearest_hint(verb.c_str(), verbs.data(), int(verbs.size())));
    }
    std::string why;
    if (c.kind == EDIT_SEEK && !parse_time(first, tempo, &c.a, &why)) return bad("seek " + why);
    if (c.kind == EDIT_STEP && !parse_count(first, &c.frames))
        return bad("step needs a whole number of frames other than 0, not '" + first + "'");
    if (c.kind == EDIT_LOOP && !(parse_time(first, tempo, &c.a, &why) && parse_time(second, tempo, &c.b, &why)))
        return bad("loop " + why);
    if (c.kind == EDIT_STILL || c.kind == EDIT_SHOT || c.kind == EDIT_KEY) c.text = first;
    return c;
}

bool edit_channel_open(edit_channel* channel, const char* path) {
    channel->buffer.clear();
    channel->ended = false;
    channel->is_stdin = std::strcmp(path, "-") == 0;
    channel->fd = channel->is_stdin ? STDIN_FILENO : open(path, O_RDONLY | O_NONBLOCK);
    if (channel->fd < 0) return false;
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

void edit_channel_close(edit_channel* channel) {
    if (channel->fd >= 0 && !channel->is_stdin) close(channel->fd);
    channel->fd = -1;
}
