// Edit mode through file faults and hostile control lines: a picture that
// breaks while the show plays elsewhere, a steps or loop far past the show,
// still and shot names, writers that leave a line unfinished. The player
// must keep running and say what is wrong, once.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/edit_session.h"

namespace {

namespace fs = std::filesystem;

const std::string source = QUILLON_SOURCE_DIR;

// A picture from 0 to 4 s (data/pic.jpg), a fader from 4 to 10 s.
void write_show(const temp_dir& show) {
    show.add_font();
    show.write("data/pic.jpg", read_file(source + "/data/loading/front.jpg"));
    show.write("data/script.txt", e2e_show("[gen3Dimage]\nstart 0\nend 4\nstring data/pic.jpg\n" + e2e_params(7) +
                                           "[efxFader]\nstart 4\nend 10\n" + e2e_params(8, "0")));
}

size_t count_of(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(edit_faults, a_file_broken_after_its_section_was_left_never_ends_the_session) {
    const std::string pic = read_file(source + "/data/loading/front.jpg");
    const struct {
        const char* name;
        void (*breaks)(const temp_dir&, const std::string&);
        const char* error;
    } cases[] = {
        {"removed", [](const temp_dir& d, const std::string&) { fs::remove(d.file("data/pic.jpg")); }, "pic.jpg"},
        {"truncated", [](const temp_dir& d, const std::string& p) { d.write("data/pic.jpg", p.substr(0, 200)); },
         "pic.jpg"},
        {"data moved", [](const temp_dir& d, const std::string&) { fs::rename(d.file("data"), d.file("gone")); },
         "Script not found"},
        // A picture no good opening read (the section is not loaded at 9 s):
        // shown where the show last opened.
        {"never read",
         [](const temp_dir& d, const std::string&) {
             std::string script = read_file(d.file("data/script.txt"));
             d.write("data/script.txt", script.replace(script.find("pic.jpg"), 7, "new.jpg"));
         },
         "the show cannot open at 1.000 s; shown at 9.000 s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        temp_dir show;
        write_show(show);
        edit_run run(show.path, "--fps 10");
        run.send("pause");
        run.send("seek 9");
        EXPECT_EQ(run.status("error"), "0");
        c.breaks(show, pic);
        run.send("reload");
        run.send("seek 1");
        EXPECT_EQ(run.status("error"), "1") << run.err();
        std::this_thread::sleep_for(std::chrono::milliseconds(700));  // the watch retries a few times a second
        run.send("step 1");
        EXPECT_NE(run.status_line(), "") << run.err();
        std::string err = run.err();
        EXPECT_NE(err.find(c.error), std::string::npos) << err;
        EXPECT_EQ(count_of(err, "Error: "), 1u) << err;
        EXPECT_EQ(run.quit(), 0) << err;
    }
}

TEST(edit_faults, steps_loops_stills_and_control_lines_stay_within_bounds) {
    temp_dir show, started;
    write_show(show);
    // Still names resolve from where quillon started, not from the show.
    started.write("old.png", "an older picture");
    fs::create_directory(started.file("folder.png"));
    working_folder here(started.path);
    edit_run run(show.path, "--fps 10");
    run.send("pause");
    run.send("step 100000");  // clamped to the show's end, a hundred frames
    EXPECT_NEAR(std::stod(run.status("time")), 10.0, 0.11);
    run.send("seek 5");
    for (const char* loop : {"loop -5 -1", "loop 1e30 2e30"}) run.send(loop);
    run.send("play");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(run.status("loop"), "off");
    run.send("still old.png");
    run.send("still folder.png");
    EXPECT_NE(run.status_line(), "");
    EXPECT_EQ(read_file(started.file("old.png")).substr(1, 3), "PNG");
    // A writer that leaves without a line end, then one with a long, raw line.
    run.send("pause");
    close(run.pipe_fd);
    run.pipe_fd = -1;
    for (const std::string& text : {std::string("2"), "seek \x1b[2J" + std::string(5000, 'z') + "\n"}) {
        int fd = open(run.work.file("control").c_str(), O_WRONLY);
        ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        if (text.size() > 1) run.pipe_fd = fd;
        else close(fd);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    EXPECT_EQ(run.quit(), 0);
    std::string err = run.err();
    for (const std::string& message : std::vector<std::string>{
             "the loop from -5.000 s to -1.000 s is empty within the show (0.000 to 10.000 s)",
             "Edit: loop '1e30': a time must be at most 100000 seconds (in 'loop 1e30 2e30')",
             "Edit: still old.png replaced the file of that name",
             "Edit: still folder.png cannot be written: it is a folder",
             "Edit: '2' has no line end; its writer closed the channel, so it is dropped",
             "seek '\\x1b[2J" + std::string(76, 'z') + "'... (5004 bytes): a time is seconds (12.5), beats (16b) or "
                 "bar:beat (8:2) (in 'seek \\x1b[2J" + std::string(71, 'z') + "'... (5009 bytes))",
         })
        EXPECT_NE(err.find(message), std::string::npos) << message << "\n" << err.substr(0, 2000);
    EXPECT_EQ(err.find("2pause"), std::string::npos);
    EXPECT_LT(err.size(), 2000u);
}

}  // namespace
