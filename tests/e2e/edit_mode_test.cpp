// Edit mode driven through its control channel (its seeks are held to the
// whole run's frames in whole_run_test): an edit shows at the same moment, a
// broken save keeps the last good show and prints its error, a mended one
// shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/edit_session.h"

namespace {

namespace fs = std::filesystem;

const std::string source = QUILLON_SOURCE_DIR;

std::string captured(const temp_dir& dir, const std::string& show, const std::string& start, int frame) {
    static int runs = 0;
    return edit_run::fresh_frame(dir.file("capture_" + std::to_string(++runs)), show, start, frame);
}

// A fader covering the picture in one colour from 0 to 10 s.
std::string colour_show(const char* rgb) {
    return e2e_show(std::string("[efxFader]\nstart 0\nend 10\nlayer 5\n") + "param " + rgb + "\nparam 1\nparam " + rgb +
                    "\nparam 1\n");
}

std::string with_pictures(const std::string& script, const temp_dir& dir) {
    std::string text = script;
    const std::string from = source + "/data/loading/";
    for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), dir.path + "/");
    return text;
}

TEST(edit_mode, follows_edits_and_keeps_the_last_good_show_through_broken_ones) {
    temp_dir show;
    show.add_font();
    for (const char* name : {"back.jpg", "front.jpg"}) show.write(name, read_file(source + "/data/loading/" + name));
    const std::string red = "1\nparam 0\nparam 0", green = "0\nparam 1\nparam 0", blue = "0\nparam 0\nparam 1";
    show.write("data/script.txt", with_pictures(colour_show(red.c_str()), show));
    edit_run run(show.path, "--fps 60");
    run.send("pause");
    run.send("seek 2");
    std::string first = run.still("red.png");

    // An edited param, reloaded: the same moment, as a fresh start draws it.
    show.write("data/script.txt", with_pictures(colour_show(green.c_str()), show));
    run.send("reload");
    std::string edited = run.still("green.png");
    EXPECT_TRUE(edited != first);
    EXPECT_TRUE(edited == captured(run.work, show.path, "2", 0));

    // A script error and a half-written picture: the frame stays, the error is
    // printed; the picture written whole again is taken without a reload.
    const struct { const char* name; const char* file; std::string content; const char* error; } broken[] = {
        {"script", "data/script.txt", e2e_show("[nosuchtype]\n"), "Error: Script: section 'nosuchtype' not found, line 17"},
        {"picture", "front.jpg", read_file(source + "/data/loading/front.jpg").substr(0, 300), "front.jpg"},
    };
    for (const auto& b : broken) {
        std::string good = read_file(show.file(b.file));
        show.write(b.file, b.content);
        run.send("reload");
        EXPECT_TRUE(run.still(std::string("broken_") + b.name + ".png") == edited) << b.name;
        EXPECT_EQ(run.status("error"), "1") << b.name;
        EXPECT_NE(run.err().find(b.error), std::string::npos) << b.name << run.err();
        show.write(b.file, good);
        std::this_thread::sleep_for(std::chrono::milliseconds(800));  // the watch looks a few times a second
        EXPECT_EQ(run.status("error"), "0") << b.name;
    }

    // A mended script with a new colour, seen by the watch alone.
    show.write("data/script.txt", with_pictures(colour_show(blue.c_str()), show));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    EXPECT_TRUE(run.still("blue.png") == captured(run.work, show.path, "2", 0));
    EXPECT_EQ(run.quit(), 0) << run.err();
}

}  // namespace
