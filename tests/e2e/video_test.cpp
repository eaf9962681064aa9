// The player's --video runs on small shows, decoded again with the FFmpeg
// libraries: a lossless file holds exactly the frames and the sound that
// --capture writes; lossy files have the right length, rate, size and
// colours; bad names and paths fail cleanly; a run stopped by a signal or a
// fatal error leaves a file that plays, and says so.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/capture.h"
#include "tests/offline_show.h"

namespace {

namespace fs = std::filesystem;

const std::string data_dir = std::string(QUILLON_SOURCE_DIR) + "/data";

// A camera flying past particles: every frame differs from the one before.
std::string moving_sections(const char* end) {
    return std::string("[genCamera]\nstart 0\nend ") + end + "\nparam 60\nparam 0.1\nparam 100\nspline " + data_dir +
           "/splines/front_camera.txt 0.5\n[genParticletex]\nstart 0\nend " + end + "\nlayer 1\nstring " +
           data_dir + "/textures/emblem.tga\nstring " + data_dir +
           "/textures/spark.tga\nparam 0.06\nparam 0.05\nparam 4\nparam 0\nparam 0\nparam 0\nparam 0.2\nparam 1\n";
}

// The size of the temporary a run writes FILE under (0: none yet).
uintmax_t part_size(const temp_dir& dir, const std::string& file) {
    for (const auto& entry : fs::directory_iterator(dir.path))
        if (entry.path().filename().string().rfind(file + ".part-", 0) == 0) return entry.file_size();
    return 0;
}

TEST(video, lossless_file_holds_the_captured_frames_and_sound_exactly) {
    temp_dir dir;
    offline_show_write(dir, moving_sections("0.5"));
    std::string output;
    // An odd size: the RGB codec takes it as it is.
    ASSERT_EQ(offline_run(dir, "--capture frames --fps 20 --size 97x71", &output), 0) << output;
    dir.write("archive.mkv", "an older video");
    ASSERT_EQ(offline_run(dir, "--video archive.mkv --lossless --fps 20 --size 97x71", &output), 0) << output;
    EXPECT_HAS(output, "Wrote archive.mkv: 11 frames of 97x71 at 20 fps");
    EXPECT_HAS(output, "(archive.mkv replaced the file of that name)");
    EXPECT_EQ(part_size(dir, "archive.mkv"), 0u) << "a temporary was left behind";
    decoded_video video = decode_video(dir.file("archive.mkv"));
    ASSERT_EQ(video.frames.size(), 11u);
    for (size_t k = 0; k < video.frames.size(); ++k) {
        png_pixels png = read_png(dir.file("frames/" + capture_frame_name(static_cast<int>(k))));
        ASSERT_EQ(png.width, 97);
        EXPECT_TRUE(video.frames[k].rgb == png.rgb) << "frame " << k;
    }
    std::string wav = read_file(dir.file("frames/audio.wav")).substr(44);
    ASSERT_EQ(wav.size(), 11u * 2205u * 4u);
    EXPECT_EQ(video.sample_rate, 44100);
    EXPECT_TRUE(std::string(reinterpret_cast<const char*>(video.samples.data()), 2 * video.samples.size()) == wav);
}

TEST(video, lossy_files_have_the_length_rate_size_and_colours_of_the_show) {
    for (const char* name : {"clip.mp4", "clip.webm"}) {
        SCOPED_TRACE(name);
        temp_dir dir;
        // An orange cover over the whole band, 64x36 frames at 25 fps from 0
        // to 0.4 s: ten frames, a video of exactly 0.4 s.
        offline_show_write(dir, offline_colour_block("2", "0.9", "0.5", "0.1"));
        std::string output;
        ASSERT_EQ(offline_run(dir, "--capture frames --fps 25 --size 64x36 --end 0.4", &output), 0) << output;
        ASSERT_EQ(offline_run(dir, std::string("--video ") + name + " --fps 25 --size 64x36 --end 0.4", &output), 0)
            << output;
        decoded_video video = decode_video(dir.file(name));
        ASSERT_TRUE(video.opened);
        EXPECT_EQ(video.frames.size(), 10u);
        EXPECT_EQ(video.fps_num * 1.0 / video.fps_den, 25.0);
        EXPECT_EQ(video.width, 64);
        EXPECT_EQ(video.height, 36);
        ASSERT_GT(video.sample_rate, 0);
        double seconds = video.samples.size() / 2.0 / video.sample_rate;
        // Opus's decoder does not tell its frame size: 20 ms.
        double one_frame = video.audio_frame_size ? video.audio_frame_size * 1.0 / video.sample_rate : 0.02;
        EXPECT_NEAR(seconds, 0.4, one_frame);
        EXPECT_NEAR(video.audio_start, video.video_start, one_frame);
        double png_mean[3], video_mean[3];
        picture_mean(read_png(dir.file("frames/frame_000000.png")), png_mean);
        picture_mean(video.frames[0], video_mean);
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(video_mean[c], png_mean[c], 3.0) << "channel " << c;
    }
}

TEST(video, bad_names_paths_and_failures_say_what_and_leave_no_broken_file) {
    temp_dir dir;
    offline_show_write(dir, offline_colour_block("0.5", "1", "0", "0"));
    dir.write("keep.mp4", "an older video");
    fs::create_directory(dir.file("d.mp4"));
    const char* const rows[][3] = {
        {"", "--video clip.avi",
         "Error: Video file clip.avi: the extension names no container this program writes (use .mp4, .mkv or "
         ".webm)\n"},
        {"", "--video clip.mp4 --lossless", "Error: Video file clip.mp4: --lossless writes .mkv files only\n"},
        // A folder of that name fails before the first frame is drawn.
        {"", "--video d.mp4", "Error: Video file d.mp4 cannot be written: it is a folder\n"},
        // A run that fails before its first frame leaves an older file alone.
        {"", "--video keep.mp4 --script no_such.txt", "Error: Script not found"},
        // The file outgrows what the system allows.
        {"ulimit -f 4; trap '' XFSZ; ", "--video big.mkv --lossless --size 320x240",
         "Video file big.mkv cannot be finished (File too large); the unfinished file was removed\n"},
    };
    for (const auto& row : rows) {
        std::string output;
        EXPECT_EQ(run_command(row[0] + offline_command(dir, row[1]), &output), 255) << row[1] << "\n" << output;
        EXPECT_HAS(output, row[2]) << row[1];
    }
    EXPECT_EQ(folder_names(dir.path), (std::vector<std::string>{"d.mp4", "keep.mp4", "show"}));
    EXPECT_EQ(read_file(dir.file("keep.mp4")), "an older video");
}

TEST(video, a_run_stopped_by_a_signal_or_an_error_leaves_a_file_that_plays) {
    temp_dir dir;
    offline_show_write(dir, offline_colour_block("600", "0", "0", "1"));
    pid_t pid = fork();
    if (pid == 0) {
        std::string line = offline_command(dir, "--video long.mp4 --fps 25 --size 64x36") + " > output.txt 2>&1";
        execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Stopped once frames are being written.
    for (int i = 0; i < 200 && part_size(dir, "long.mp4") <= 2000; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    std::string output = read_file(dir.file("output.txt"));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 130) << status << "\n" << output;
    size_t at = output.find("Stopped by SIGINT after ");
    ASSERT_NE(at, std::string::npos) << output;
    int frames = std::atoi(output.c_str() + at + 24);
    decoded_video video = decode_video(dir.file("long.mp4"));
    EXPECT_GT(frames, 0);
    EXPECT_EQ(static_cast<int>(video.frames.size()), frames);
    ASSERT_GT(video.sample_rate, 0);
    EXPECT_NEAR(video.samples.size() / 2.0 / video.sample_rate, frames / 25.0, 1024.0 / video.sample_rate);

    // The macro box needs a camera; without one, its first frame at 0.3 s is
    // a fatal error, after the six frames before it.
    offline_show_write(dir, offline_colour_block("1", "0", "0", "1") + "[genMacroBox]\nstart 0.3\nend 1\nlayer 1\nstring " +
                                data_dir + "/textures/nebula.jpg\n");
    ASSERT_EQ(offline_run(dir, "--video cut.mkv --fps 20 --size 64x36", &output), 255);
    EXPECT_HAS(output, "cut.mkv holds the 6 frames written before the error below and plays\n"
                       "Error: genMacroBox: section at line 30 needs a genCamera section drawn before it");
    EXPECT_EQ(decode_video(dir.file("cut.mkv")).frames.size(), 6u);
}

}  // namespace
