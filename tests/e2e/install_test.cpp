// The installed player: installed into a temporary prefix, the prefix moved,
// and run from an unrelated folder. It finds its data beside itself, plays
// the default show when the folder has none, makes a new show that passes
// --check and plays (edit mode too), lends its font to a show without one, and names its data
// folder when that is gone. `--new` refuses a folder that holds anything.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "tests/test_support.h"

namespace {

// Runs `command` in `folder`; the exit status, with all output in `out`.
int run_in(const std::string& folder, const std::string& command, std::string* out) {
    return run_command("export SDL_AUDIODRIVER=dummy; cd '" + folder + "' && " + command, out);
}

const std::string SHORT = " --fps 5 --end 1 ";

TEST(install, moved_prefix_plays_makes_shows_and_names_its_missing_data) {
    temp_dir root;
    std::string out;
    ASSERT_EQ(run_command("cmake --install " QUILLON_BINARY_DIR " --prefix " + root.file("p"), &out), 0) << out;
    ASSERT_EQ(std::rename(root.file("p").c_str(), root.file("moved").c_str()), 0);
    const std::string quillon = root.file("moved/bin/quillon");
    // The manual pages, written from the usage texts and the tables.
    std::string page = read_file(root.file("moved/share/man/man1/quillon.1"));
    EXPECT_EQ(page.rfind(".TH QUILLON 1", 0), 0u);
    for (const char* text : {".B \\-\\-new DIR\n", ".B \\-\\-start TIME\nbegin at", ".SH SECTION TYPES"})
        EXPECT_HAS(page, text) << text;
    EXPECT_HAS(read_file(root.file("moved/share/man/man1/quillon-modelinfo.1")), ".SH SYNOPSIS\n.B quillon\\-modelinfo");
    EXPECT_HAS(read_file(root.file("moved/share/man/man1/quillon-brightframes.1")), ".B \\-\\-frames DIR");
    EXPECT_EQ(run_command(root.file("moved/bin/quillon-brightframes") + " --help", &out), 0) << out;
    root.write("elsewhere/.keep", "");
    const std::string elsewhere = root.file("elsewhere");

    EXPECT_EQ(run_in(elsewhere, quillon + " --capture ../c1" + SHORT, &out), 0) << out;
    EXPECT_HAS(out, "playing the default show from " + root.file("moved/share/quillon"));
    EXPECT_EQ(read_file(root.file("c1/frame_000004.png")).rfind("\x89PNG", 0), 0u);

    EXPECT_EQ(run_in(elsewhere, quillon + " --new s", &out), 0) << out;
    EXPECT_EQ(run_in(elsewhere, quillon + " --check s", &out), 0) << out;
    EXPECT_EQ(run_in(elsewhere, "printf 'status\\nquit\\n' | " + quillon + " --edit --control - s", &out), 0) << out;
    EXPECT_HAS(out, " error 0");
    EXPECT_EQ(run_in(elsewhere, quillon + " --capture ../c2" + SHORT + "s", &out), 0) << out;
    EXPECT_EQ(read_file(root.file("c2/frame_000004.png")).rfind("\x89PNG", 0), 0u);

    // A show of its own without a font: the engine's is used.
    std::string data = root.file("moved/share/quillon/data");
    for (const char* picture : {"/loading/back.jpg", "/loading/front.jpg"})
        root.write(std::string("bare/data") + picture, read_file(data + picture));
    root.write("bare/data/script.txt",
               "gl_fullscreen 0\n[loading]\nstart 0\nend 1\nstring data/loading/back.jpg\n"
               "string data/loading/front.jpg\nparam 1\nparam 1\nparam 1\nparam 1\n[lines]\nstart 0\nend 1\n[EOF]\n");
    EXPECT_EQ(run_in(elsewhere, quillon + " --capture ../c3" + SHORT + "../bare", &out), 0) << out;

    ASSERT_EQ(std::rename(data.c_str(), root.file("hidden").c_str()), 0);
    EXPECT_EQ(run_in(elsewhere, quillon + " ../bare", &out), 255);
    EXPECT_HAS(out, "Error: The show has no data/fonts/font.tga and the engine's data folder " +
                        root.file("moved/share/quillon") + " is missing or damaged");
    EXPECT_EQ(run_in(elsewhere, quillon, &out), 255);
    EXPECT_HAS(out, "data folder " + root.file("moved/share/quillon") + " with the default show is missing");
}

TEST(install, new_refuses_a_folder_that_holds_anything) {
    temp_dir root;
    root.write("full/keep.txt", "mine");
    root.write("file", "mine");
    std::string out;
    for (const char* target : {"full", "file"}) {
        EXPECT_EQ(run_in(root.path, built_binary("quillon") + " --new " + target, &out), 255) << target;
        EXPECT_HAS(out, std::string("Error: ") + target + " already exists and is not an empty folder");
    }
    EXPECT_EQ(read_file(root.file("full/keep.txt")), "mine");
    EXPECT_EQ(read_file(root.file("file")), "mine");
    root.write("empty/.x", "");
    std::remove(root.file("empty/.x").c_str());
    EXPECT_EQ(run_in(root.path, built_binary("quillon") + " --new empty --bpm 90 --length 8", &out), 0) << out;
    EXPECT_HAS(read_file(root.file("empty/data/script.txt")), "90 beats per minute, 12 beats (8 s)");
    EXPECT_EQ(run_in(root.path, "ls -A | tr '\\n' ' '", &out), 0);
    EXPECT_EQ(out, "empty file full ");  // no temporary folder left beside
    // The folder takes the umask, or keeps an empty folder's own mode.
    struct stat info;
    ASSERT_EQ(stat(root.file("empty").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755u);
    EXPECT_EQ(run_in(root.path, "umask 027; " + built_binary("quillon") + " --new masked --length 2", &out), 0) << out;
    ASSERT_EQ(stat(root.file("masked").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0750u);
    // A disk that fills: the reason, and nothing left behind.
    EXPECT_EQ(run_in(root.path, "ulimit -f 200; trap '' XFSZ; " + built_binary("quillon") + " --new big --length 600",
                     &out),
              255);
    EXPECT_HAS(out, "cannot be written: File too large");
    EXPECT_HAS(out, "quillon: --new: nothing was written");
    EXPECT_EQ(run_in(root.path, "ls -A | tr '\\n' ' '", &out), 0);
    EXPECT_EQ(out, "empty file full masked ");
}

}  // namespace
