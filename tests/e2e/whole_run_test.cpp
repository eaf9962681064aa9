// One picture per moment: the default show captured once from its start at
// a small size and a low rate, then opened at many moments, by a started
// capture and by edit mode's seek, must draw exactly that capture's frame.
// The moments cover every section type, the frame-to-frame ones (feedback
// meshes, the column's reflection, the lake's rain, the trail of sprites,
// the particle pools, the radial blur), starts and ends of sections and
// phases, and the moment before the show's end.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>

#include "tests/edit_session.h"

namespace {

const std::string source = QUILLON_SOURCE_DIR;
const int fps = 4;
const std::string picture = "--size 96x72 --rtt 128x128 --fps " + std::to_string(fps);

std::string frame_file(const std::string& folder, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", frame);
    return folder + name;
}

// The whole run's frame shown at `seconds` (a time on its grid).
int frame_at(double seconds) { return static_cast<int>(std::lround(seconds * fps)); }

struct whole_run : testing::Test {
    static temp_dir* work;
    static std::string whole;

    static void SetUpTestSuite() {
        work = new temp_dir;
        whole = work->file("whole");
        std::string output;
        int status = e2e_play("--capture " + whole + " " + picture + " " + source, &output);
        ASSERT_EQ(status, 0) << output;
    }
    static void TearDownTestSuite() { delete work; }
};
temp_dir* whole_run::work = nullptr;
std::string whole_run::whole;

// One moment in each type's span (the type shown first), then starts and
// ends: of the show, of a mesh (34, 40), of a rain (66), a caption's hold.
const char* const moments[] = {
    "0.25",    // genCamera, genMacroBox, efxFader, just after loading
    "10",      // genParticletex
    "13.75",   // paintex painting, its sparks
    "20.5",    // gears
    "27",      // gen3DS, efxRadialBlur
    "34",      // efxRenderMesh's first frame, genEnvironment
    "36.5",    // efxRenderMesh's trails
    "38.75",   // the second mesh, fed back since 37
    "40",      // knots' first frame, the mesh's end
    "47.25",   // knots' last phase, its camera from the second
    "51",      // flash
    "57",      // 3Dbuilder
    "63.5",    // genWireframe under a mesh and a blur
    "66",      // thelake's first frame
    "71.25",   // its rain
    "85.75",   // genPathway, gen3Dimage, a mesh
    "89.5",    // columna's first reflections, begun after the mesh's last frame
    "91",      // columna, its reflection of the frame before
    "97.5",    // meditation
    "102.75",  // paintex holding its caption
    "108",     // redsun
    "115",     // loop
    "121",     // paranoia, the builder's point size
    "126.5",   // flare, lines, paintex
    "131",     // particletitle
    "146.25",  // the last particle picture under a blur
    "152.5",   // logofinal, lines
    "159.75",  // titulo, the last frame
};

TEST_F(whole_run, a_started_capture_draws_the_whole_runs_frame) {
    for (const char* t : {"36.5", "47.25", "71.25", "91"}) {
        std::string folder = work->file(std::string("start_") + t), output;
        std::string end = std::to_string(std::stod(t) + 0.1);
        int status =
            e2e_play("--capture " + folder + " " + picture + " --start " + t + " --end " + end + " " + source, &output);
        ASSERT_EQ(status, 0) << output;
        std::string first = read_file(frame_file(folder, 0));
        ASSERT_FALSE(first.empty()) << t;
        EXPECT_TRUE(first == read_file(frame_file(whole, frame_at(std::stod(t))))) << "--start " << t;
    }
}

TEST_F(whole_run, a_seek_draws_the_whole_runs_frame) {
    edit_run run(source, picture + " --mute");
    run.send("pause");
    for (const char* t : moments) {
        run.send(std::string("seek ") + t);
        std::string still = run.still(std::string("seek_") + t + ".png");
        ASSERT_FALSE(still.empty()) << t << run.err();
        EXPECT_TRUE(still == read_file(frame_file(whole, frame_at(std::stod(t))))) << "seek " << t;
    }
    // Stepping back opens the show a frame earlier; forward draws on.
    run.send("seek 38.75");
    run.send("step -3");
    EXPECT_TRUE(run.still("back.png") == read_file(frame_file(whole, frame_at(38))));
    run.send("step 2");
    EXPECT_TRUE(run.still("on.png") == read_file(frame_file(whole, frame_at(38.5))));
    EXPECT_EQ(run.quit(), 0) << run.err();
}

// Inside a fed-back picture a seek shows a first picture at once and draws
// the exact frame in the idle turns that follow, standing at the moment
// asked for all the while.
TEST_F(whole_run, a_seek_shows_the_exact_frame_after_its_first_picture) {
    edit_run run(source, picture + " --mute");
    run.send("pause");
    run.send("seek 36.5");
    std::string line = run.status_line();
    EXPECT_EQ(edit_run::field(line, "exact"), "0") << line;
    for (int turn = 0; turn < 600 && edit_run::field(line, "exact") != "1"; ++turn) {
        EXPECT_EQ(edit_run::field(line, "time"), "36.500000") << line;
        line = run.status_line();
    }
    EXPECT_EQ(edit_run::field(line, "exact"), "1") << line;
    EXPECT_TRUE(run.still("exact.png") == read_file(frame_file(whole, frame_at(36.5))));
    EXPECT_EQ(run.quit(), 0) << run.err();
}

// Near a moment drawn before, a seek puts the fed-back pictures kept there
// back and is exact at once; before it, where the replay's frames still
// carry their empty start, it is not.
TEST_F(whole_run, a_seek_near_a_drawn_moment_is_exact_at_once) {
    edit_run run(source, picture + " --mute");
    run.send("pause");
    for (auto seeks : {std::make_tuple("36.5", "36", "1"), {"91.5", "91.25", "0"}, {"91", "91.5", "1"}}) {
        std::string near = std::get<1>(seeks);
        run.send(std::string("seek ") + std::get<0>(seeks));
        run.still("drawn_" + near + ".png");
        run.send("seek 10");
        run.send("seek " + near);
        EXPECT_EQ(run.status("exact"), std::get<2>(seeks)) << near;
        std::string still = run.still("near_" + near + ".png");
        EXPECT_TRUE(still == read_file(frame_file(whole, frame_at(std::stod(near))))) << near;
    }
    run.send("key unused_track 1 1");  // an edit empties them: opened again at 91.5, not exact at once
    EXPECT_EQ(run.status("exact"), "0");
    EXPECT_EQ(run.quit(), 0) << run.err();
}

}  // namespace
