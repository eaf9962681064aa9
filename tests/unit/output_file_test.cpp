// Output files: the temporary beside the final name is created anew, so a
// link or a file already there is never written through or consumed; the
// final name changes only at a commit of a file verified to be the one
// written.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "app/output_file.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(OutputFile, WritesUnderATemporaryOfItsOwnAndReplacesOnlyAtCommit) {
    temp_dir dir;
    dir.write("victim.txt", "keep");
    ASSERT_EQ(symlink("victim.txt", dir.file("out.png.part").c_str()), 0);
    dir.write("out.png", "old");
    output_file a, b;
    std::string error;
    ASSERT_TRUE(output_file_open(&a, dir.file("out.png"), &error)) << error;
    ASSERT_TRUE(output_file_open(&b, dir.file("out.png"), &error)) << error;
    EXPECT_NE(a.part_path, b.part_path);
    EXPECT_EQ(a.part_path.rfind(dir.file("out.png.part-" + std::to_string(getpid()) + "-"), 0), 0u) << a.part_path;
    ASSERT_TRUE(output_file_write(&a, "new", 3, &error));
    EXPECT_EQ(read_file(dir.file("out.png")), "old");
    bool replaced = false;
    ASSERT_TRUE(output_file_commit(&a, &replaced, &error)) << error;
    EXPECT_TRUE(replaced);
    EXPECT_EQ(read_file(dir.file("out.png")), "new");
    // Nothing written: no commit, the file stays.
    EXPECT_FALSE(output_file_commit(&b, &replaced, &error));
    EXPECT_HAS(error, "nothing was written");
    EXPECT_EQ(read_file(dir.file("out.png")), "new");
    EXPECT_EQ(read_file(dir.file("victim.txt")), "keep");
    EXPECT_EQ(folder_names(dir.path), (std::vector<std::string>{"out.png", "out.png.part", "victim.txt"}));

    // A temporary swapped for another file while written is not committed.
    output_file c;
    ASSERT_TRUE(output_file_open(&c, dir.file("fresh.png"), &error));
    ASSERT_TRUE(output_file_write(&c, "mine", 4, &error));
    ASSERT_EQ(unlink(c.part_path.c_str()), 0);
    ASSERT_EQ(symlink("victim.txt", c.part_path.c_str()), 0);
    std::string link = c.part_path;
    EXPECT_FALSE(output_file_commit(&c, &replaced, &error));
    EXPECT_HAS(error, "was replaced or removed");
    EXPECT_FALSE(fs::exists(dir.file("fresh.png")));
    EXPECT_TRUE(fs::is_symlink(link));
    unlink(link.c_str());

    output_file d;
    ASSERT_TRUE(output_file_open(&d, dir.file("gone.png"), &error));
    ASSERT_TRUE(output_file_write(&d, "x", 1, &error));
    output_file_abandon(&d);
    EXPECT_EQ(folder_names(dir.path), (std::vector<std::string>{"out.png", "out.png.part", "victim.txt"}));
}

TEST(OutputFile, SaysWhyAPathCannotTakeAFile) {
    temp_dir dir;
    fs::create_directory(dir.file("folder.png"));
    dir.write("plain", "x");
    const struct { std::string path, reason; } rows[] = {
        {dir.file("folder.png"), "cannot be written: it is a folder"},
        {dir.file("folder.png/"), "cannot be written: it names a folder"},
        {dir.file("no/such.png"), "cannot be written: No such file or directory"},
        {dir.file("plain/x.png"), "cannot be written: Not a directory"},
        {"/proc/x.png", "cannot be written: "},
        {dir.file("fine.png"), ""},
    };
    // The check before the work, or else the opening, says why.
    for (const auto& r : rows) {
        output_file out;
        std::string said = output_file_check(r.path);
        bool opened = said.empty() && output_file_open(&out, r.path, &said);
        EXPECT_EQ(opened, r.reason.empty()) << r.path;
        if (r.reason.empty()) {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_EQ(said.rfind(r.reason, 0), 0u) << r.path << ": " << said;
        }
        output_file_abandon(&out);
    }
    EXPECT_EQ(folder_names(dir.path), (std::vector<std::string>{"folder.png", "plain"}));
}

}  // namespace
