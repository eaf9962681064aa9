// The sync-tracker editor client: the message format as pure functions, and
// the connection that edit mode polls between frames. See tracker.h.
#include "app/tracker.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/edit_local.h"
#include "core/clock.h"
#include "core/settings.h"
#include "core/track.h"

// ---------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------

static uint32_t read_be32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           static_cast<uint32_t>(p[3]);
}

static std::string be32(uint32_t v) {
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    return std::string(bytes, 4);
}

long tracker_parse(const unsigned char* bytes, size_t size, size_t tracks_asked, tracker_message* out,
                   std::string* error) {
    // Operand bytes after the command byte.
    static const int lengths[] = {13, 8, 4, 4, 1, 0};
    if (size == 0) return 0;
    *out = {bytes[0], 0, 0, 0, 0, 0};
    if (bytes[0] > TRACKER_SAVE_TRACKS) {
        *error = "unknown command byte " + std::to_string(bytes[0]);
        return -1;
    }
    size_t need = 1 + static_cast<size_t>(lengths[bytes[0]]);
    if (size < need) return 0;
    const unsigned char* p = bytes + 1;
    switch (out->command) {
    case TRACKER_SET_KEY: {
        uint32_t bits = read_be32(p + 8);
        std::memcpy(&out->value, &bits, sizeof out->value);
        out->interp = p[12];
        if (out->interp >= TRACK_INTERPS) *error = "an unknown interpolation " + std::to_string(out->interp);
        else if (!std::isfinite(out->value)) *error = "a key value that is not a finite number";
        [[fallthrough]];  // the track and row are read as DELETE_KEY reads them
    }
    case TRACKER_DELETE_KEY:
        out->track = read_be32(p);
        out->row = read_be32(p + 4);
        if (error->empty() && out->track >= tracks_asked)
            *error = "track index " + std::to_string(out->track) + ", never asked for";
        break;
    case TRACKER_GET_TRACK:
        *error = read_be32(p) > TRACKER_NAME_MAX ? "a name length over 4 KB" : "GET_TRACK, which only the client sends";
        break;
    case TRACKER_SET_ROW: out->row = read_be32(p); break;
    case TRACKER_PAUSE: out->flag = p[0]; break;
    default: break;
    }
    return error->empty() ? static_cast<long>(need) : -1;
}

std::string tracker_get_track(const std::string& name) {
    return std::string(1, TRACKER_GET_TRACK) + be32(static_cast<uint32_t>(name.size())) + name;
}

std::string tracker_set_row(uint32_t row) { return std::string(1, TRACKER_SET_ROW) + be32(row); }

// ---------------------------------------------------------------------------
// The connection
// ---------------------------------------------------------------------------

namespace {

const char GREETING[] = "hello, synctracker!";
const char ANSWER[] = "hello, demo!";

enum link_state { LINK_IDLE, LINK_CONNECTING, LINK_GREETING, LINK_OPEN };

struct tracker_link {
    bool on = false;
    std::string host, port, where;
    int fd = -1;
    link_state state = LINK_IDLE;
    std::chrono::steady_clock::time_point next_try;
    std::string in, out;
    std::vector<std::string> asked;  // track names, by the editor's index
    long long row = -1;              // the row last sent or received
    std::chrono::steady_clock::time_point second;  // start of the second being counted
    size_t second_bytes = 0;                       // bytes received in it
};

tracker_link editor;

script_tempo tempo() { return {bpm, beat_offset}; }

// The line is written before the socket closes, so whoever sees the close
// finds it.
void drop(const char* why) {
    if (why) {
        std::fprintf(stderr, "Tracker: %s; connecting to %s again every second\n", why, editor.where.c_str());
        std::fflush(stderr);
    }
    if (editor.fd >= 0) close(editor.fd);
    editor.fd = -1;
    editor.state = LINK_IDLE;
    editor.in.clear();
    editor.out.clear();
    editor.next_try = std::chrono::steady_clock::now() + std::chrono::seconds(1);
}

void try_connect() {
    if (std::chrono::steady_clock::now() < editor.next_try) return;
    editor.next_try = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(editor.host.c_str(), editor.port.c_str(), &hints, &found) != 0 || !found) return;
    editor.fd = socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (editor.fd >= 0 && connect(editor.fd, found->ai_addr, found->ai_addrlen) != 0 && errno != EINPROGRESS) {
        close(editor.fd);
        editor.fd = -1;
    }
    freeaddrinfo(found);
    if (editor.fd >= 0) editor.state = LINK_CONNECTING;
}

// Once the socket is connected: the greeting goes out.
void finish_connect() {
    pollfd p = {editor.fd, POLLOUT, 0};
    if (poll(&p, 1, 0) <= 0) return;
    int fault = 0;
    socklen_t length = sizeof fault;
    if (getsockopt(editor.fd, SOL_SOCKET, SO_ERROR, &fault, &length) != 0 || fault != 0) return drop(nullptr);
    editor.out = std::string(GREETING, sizeof GREETING - 1);
    editor.state = LINK_GREETING;
}

// Sends what is waiting; a socket that takes nothing more is lost.
void flush() {
    while (!editor.out.empty() && editor.fd >= 0) {
        ssize_t sent = send(editor.fd, editor.out.data(), editor.out.size(), MSG_NOSIGNAL);
        if (sent > 0) editor.out.erase(0, static_cast<size_t>(sent));
        else if (sent < 0 && errno == EAGAIN) return;
        else return drop("the connection was lost");
    }
}

// Reads what has come. 0: the connection flooded (and was dropped); -1: the
// editor closed it; 1: it is open.
int receive() {
    char block[65536];
    for (;;) {
        ssize_t got = recv(editor.fd, block, sizeof block, 0);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) return 1;
        if (got <= 0) return -1;
        auto now = std::chrono::steady_clock::now();
        if (now - editor.second > std::chrono::seconds(1)) {
            editor.second = now;
            editor.second_bytes = 0;
        }
        editor.second_bytes += static_cast<size_t>(got);
        if (editor.second_bytes > TRACKER_FLOOD_BYTES) {
            drop("the editor sent more than 8 MB within a second");
            return 0;
        }
        editor.in.append(block, static_cast<size_t>(got));
    }
}

// Asks for every track of the store not asked for yet; the editor's keys
// replace the track's.
void ask_tracks() {
    for (int i = 0; i < track_count(); ++i) {
        const std::string& name = track_at(i)->name;
        bool asked = false;
        for (const std::string& a : editor.asked) asked = asked || a == name;
        if (asked) continue;
        track_edit_clear(name.c_str());
        editor.asked.push_back(name);
        editor.out += tracker_get_track(name);
        edit_tracks_changed();
    }
}

void apply(const tracker_message& m) {
    double at = track_row_time(m.row, tempo(), rows_per_beat);
    switch (m.command) {
    case TRACKER_SET_KEY:
        track_edit_set(editor.asked[m.track].c_str(), at, m.value, m.interp);
        edit_tracks_changed();
        break;
    case TRACKER_DELETE_KEY:
        track_edit_remove(editor.asked[m.track].c_str(), at);
        edit_tracks_changed();
        break;
    case TRACKER_SET_ROW:
        editor.row = m.row;
        edit_seek(static_cast<float>(at));
        break;
    case TRACKER_PAUSE: edit_set_paused(m.flag != 0); break;
    case TRACKER_SAVE_TRACKS: edit_tracks_save(); break;
    default: break;
    }
}

void take_messages() {
    size_t at = 0;
    for (;;) {
        tracker_message m;
        std::string error;
        long used = tracker_parse(reinterpret_cast<const unsigned char*>(editor.in.data()) + at, editor.in.size() - at,
                                  editor.asked.size(), &m, &error);
        if (used < 0) {
            editor.in.clear();
            return drop(("the editor sent " + error).c_str());
        }
        if (used == 0) break;
        at += static_cast<size_t>(used);
        apply(m);
        if (editor.fd < 0) return;
    }
    editor.in.erase(0, at);
}

void greet() {
    if (editor.in.size() < sizeof ANSWER - 1) return;
    if (editor.in.compare(0, sizeof ANSWER - 1, ANSWER) != 0) return drop("the editor did not answer the greeting");
    editor.in.erase(0, sizeof ANSWER - 1);
    editor.state = LINK_OPEN;
    editor.asked.clear();
    editor.row = -1;
    std::fprintf(stderr, "Tracker: connected to %s\n", editor.where.c_str());
    std::fflush(stderr);
}

// While playing, the editor's cursor follows the show's row.
void send_row() {
    if (edit.paused) return;
    double row = std::floor(track_time_row(demo_time, tempo(), rows_per_beat) + 1e-6);
    if (row < 0 || row > 4e9 || static_cast<long long>(row) == editor.row) return;
    editor.row = static_cast<long long>(row);
    editor.out += tracker_set_row(static_cast<uint32_t>(row));
}

}  // namespace

void tracker_start(const char* where) {
    editor.on = true;
    std::string text = where && *where ? where : "localhost";
    size_t colon = text.rfind(':');
    editor.host = colon == std::string::npos ? text : text.substr(0, colon);
    editor.port = colon == std::string::npos ? std::to_string(TRACKER_DEFAULT_PORT) : text.substr(colon + 1);
    if (editor.host.empty()) editor.host = "localhost";
    editor.where = editor.host + ":" + editor.port;
    editor.next_try = std::chrono::steady_clock::now();
}

void tracker_poll() {
    if (!editor.on) return;
    if (editor.state == LINK_IDLE) try_connect();
    if (editor.state == LINK_CONNECTING) finish_connect();
    if (editor.state == LINK_GREETING || editor.state == LINK_OPEN) {
        flush();
        // What came before the editor closed the connection is still taken.
        int open = editor.fd >= 0 ? receive() : 0;
        if (open != 0 && editor.state == LINK_GREETING) greet();
        if (open != 0 && editor.state == LINK_OPEN) take_messages();
        if (open < 0 && editor.fd >= 0)
            drop(editor.in.empty() ? "the editor closed the connection" : "the connection ended inside a message");
        if (open > 0 && editor.state == LINK_OPEN) {
            ask_tracks();
            send_row();
        }
        flush();
    }
    edit_tracks_redraw();
}

void tracker_stop() {
    if (editor.fd >= 0) close(editor.fd);
    editor = tracker_link();
}
