// Edit mode following a sync-tracker editor: a small editor in the test
// listens, the player connects, asks for its tracks, and follows the keys,
// the cursor, pause and play and the save the editor sends; malformed
// traffic closes the connection with one line, keeps the keys, and the
// player connects again.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cstring>
#include <string>

#include "tests/edit_session.h"

namespace {

// The editor's side: one listening socket, one connection at a time.
struct test_editor {
    int listener = socket(AF_INET, SOCK_STREAM, 0), fd = -1;
    int port = 0;
    test_editor() {
        sockaddr_in at = {};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof at;
        bind(listener, reinterpret_cast<sockaddr*>(&at), size);
        listen(listener, 1);
        getsockname(listener, reinterpret_cast<sockaddr*>(&at), &size);
        port = ntohs(at.sin_port);
    }
    ~test_editor() {
        if (fd >= 0) close(fd);
        close(listener);
    }
    static bool ready(int socket, int seconds) {
        pollfd p = {socket, POLLIN, 0};
        return poll(&p, 1, seconds * 1000) > 0;
    }
    // Takes the player's connection and answers its greeting.
    bool accept_player() {
        if (fd >= 0) close(fd);
        fd = ready(listener, 30) ? accept(listener, nullptr, nullptr) : -1;
        return fd >= 0 && take(19) == "hello, synctracker!" && put("hello, demo!");
    }
    std::string take(size_t count) {
        std::string got;
        char c;
        while (got.size() < count && ready(fd, 10) && recv(fd, &c, 1, 0) == 1) got += c;
        return got;
    }
    bool put(const std::string& bytes) { return send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size()); }
    bool closed_by_player() { return ready(fd, 10) && take(1).empty(); }
};

std::string be32(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }
std::string set_key(uint32_t track, uint32_t row, float value, char interp) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return std::string(1, 0) + be32(track) + be32(row) + be32(bits) + interp;
}
std::string set_row(uint32_t row) { return std::string(1, 3) + be32(row); }
std::string pause_flag(char flag) { return std::string(1, 4) + flag; }

// Asks until the answer to `command` holds `want` (the player takes the
// editor's bytes between frames, the control line maybe first).
bool eventually(edit_run& run, const std::string& command, const std::string& want) {
    for (int tries = 0; tries < 100; ++tries) {
        std::string out = read_file(run.work.file("out"));
        run.send(command);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (read_file(run.work.file("out")).find(want, out.size()) != std::string::npos) return true;
    }
    return false;
}

// A fader whose red follows `pulse` and green `glow`, at 120 bpm: row 8 is 1 s.
const std::string fader = "[efxFader]\nstart 0\nend 8\nlayer 5\nparam @pulse\nparam @glow\nparam 0\nparam 1\n"
                          "param @pulse\nparam @glow\nparam 0\nparam 1\n";

TEST(tracker, the_player_follows_the_editors_keys_cursor_pause_and_save) {
    temp_dir show;
    show.add_font();
    show.write("data/script.txt", "bpm 120\n" + e2e_show(fader));
    show.write("data/tracks/pulse.txt", "0 0.5\n");
    show.write("data/tracks/glow.txt", "0 0.5\n");
    test_editor editor;
    edit_run run(show.path, "--fps 60 --tracker 127.0.0.1:" + std::to_string(editor.port));
    ASSERT_TRUE(editor.accept_player()) << run.err();
    ASSERT_TRUE(editor.put(pause_flag(1) + set_row(8)));
    // A GET_TRACK for each tracked param's track, in the script's order.
    EXPECT_EQ(editor.take(19), std::string(1, 2) + be32(5) + "pulse" + std::string(1, 2) + be32(4) + "glow");
    EXPECT_TRUE(eventually(run, "status", "time 1.000000 frame 0 paused 1")) << run.err();

    // Keys: red 1 from row 0; green linear from 0.5 at row 4 to 1 at row 12.
    editor.put(set_key(0, 0, 1, 0) + set_key(1, 4, 0.5f, 1) + set_key(1, 12, 1, 0));
    ASSERT_TRUE(eventually(run, "track glow", "track glow 0.75 ")) << run.err();
    run.still("keyed.png");
    png_pixels frame = read_png(run.work.file("keyed.png"));
    ASSERT_GT(frame.width, 0);
    EXPECT_EQ(frame.at(frame.width / 2, frame.height / 2)[0], 255);
    EXPECT_NEAR(frame.at(frame.width / 2, frame.height / 2)[1], 191, 1);

    // The control channel edits the same keys.
    run.send("key glow 1 0.2 linear");
    EXPECT_TRUE(eventually(run, "track glow", "track glow 0.200000003 ")) << run.err();
    run.send("unkey glow 2b");
    EXPECT_TRUE(eventually(run, "track glow", "track glow 0.75 ")) << run.err();

    // Saved, the tracks play the same frame in a fresh run.
    editor.put(std::string(1, 5));
    ASSERT_TRUE(edit_run::wait_for(show.file("data/tracks/glow.txt"), 10));
    ASSERT_TRUE(eventually(run, "status", "status ")) << run.err();
    EXPECT_NE(read_file(show.file("data/tracks/glow.txt")).find("3b 1"), std::string::npos);
    EXPECT_TRUE(run.still("saved.png") == edit_run::fresh_frame(run.work.file("fresh"), show.path, "1", 0));

    // Playing, the player sends its rows as they change.
    editor.put(pause_flag(0));
    std::string rows = editor.take(10);
    EXPECT_EQ(rows.substr(0, 1), std::string(1, 3));
    editor.put(pause_flag(1));

    // Malformed traffic: one line each, the keys kept, a new connection.
    std::string flood;
    while (flood.size() < (20u << 20)) flood += pause_flag(1);
    const struct { std::string bytes; const char* line; } bad[] = {
        {std::string(1, 9), "the editor sent unknown command byte 9"},
        {std::string(1, 2) + be32(5000), "the editor sent a name length over 4 KB"},
        {set_key(7, 0, 1, 0), "the editor sent track index 7, never asked for"},
        {flood, "the editor sent more than 8 MB within a second"},
        {std::string(1, 0) + be32(0) + "\1", "the connection ended inside a message"},
    };
    for (const auto& b : bad) {
        editor.put(b.bytes);
        if (b.bytes.size() == 6) shutdown(editor.fd, SHUT_WR);
        EXPECT_TRUE(editor.closed_by_player()) << b.line;
        EXPECT_NE(run.err().find("Tracker: " + std::string(b.line)), std::string::npos) << run.err();
        if (&b == bad) {
            EXPECT_TRUE(eventually(run, "track pulse", "track pulse 1 ")) << "kept while disconnected";
        }
        ASSERT_TRUE(editor.accept_player()) << b.line;
        EXPECT_EQ(editor.take(19).size(), 19u) << "the tracks are asked for again";
    }
    EXPECT_EQ(run.quit(), 0) << run.err();
}

}  // namespace
