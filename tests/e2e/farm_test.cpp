// Rendering in pieces: the default show planned with --farm and run through
// GNU parallel joins into exactly the file of one run; the Kubernetes plan
// is a job of pieces and a join; every bad join is refused with one line and
// writes nothing; a piece stopped half-way leaves nothing the join takes.
#include <gtest/gtest.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/offline_show.h"

namespace {

namespace fs = std::filesystem;

const std::string source_dir = QUILLON_SOURCE_DIR;

// The default show from 0 to 20 s, small and slow.
const std::string run_options = "--size 96x72 --fps 5 --end 20";

// The video stream's packet times in frames, in file order.
std::vector<int64_t> picture_frames(const std::string& path, int fps) {
    std::vector<int64_t> frames;
    AVFormatContext* file = nullptr;
    if (avformat_open_input(&file, path.c_str(), nullptr, nullptr) < 0) return frames;
    int video = av_find_best_stream(file, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    AVPacket* packet = av_packet_alloc();
    while (video >= 0 && av_read_frame(file, packet) >= 0) {
        if (packet->stream_index == video)
            frames.push_back(av_rescale_q(packet->pts, file->streams[video]->time_base, AVRational{1, fps}));
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&file);
    return frames;
}

int plan_and_run(const temp_dir& dir, const std::string& plan_options, const char* runner, std::string* output) {
    std::string quillon = built_binary("quillon");
    int status = run_command("cd " + dir.path + " && " + quillon + " --farm plan " + plan_options + " " + source_dir,
                             output);
    if (status != 0) return status;
    // From another folder: the plan holds every path it needs.
    return run_command("cd / && " + dir.file("plan/") + runner, output);
}

TEST(farm, pieces_rendered_by_gnu_parallel_join_into_the_file_of_one_run) {
    temp_dir dir;
    std::string output;
    ASSERT_EQ(plan_and_run(dir, "--pieces 4 --video joined.mkv --lossless " + run_options, "parallel.sh", &output), 0)
        << output;
    EXPECT_HAS(output, "Joined 4 pieces into");
    std::string one = "cd " + dir.path + " && " + built_binary("quillon") + " --video one.mkv --lossless ";
    ASSERT_EQ(run_command(one + run_options + " " + source_dir, &output), 0) << output;
    decoded_video joined = decode_video(dir.file("joined.mkv")), whole = decode_video(dir.file("one.mkv"));
    ASSERT_EQ(joined.frames.size(), 100u);
    EXPECT_EQ(whole.frames.size(), joined.frames.size());
    for (size_t k = 0; k < joined.frames.size(); ++k)
        EXPECT_TRUE(joined.frames[k].rgb == whole.frames[k].rgb) << "frame " << k;
    EXPECT_TRUE(joined.samples == whole.samples);

    // The same pieces in H.264, joined into MP4: every frame once, the
    // sound as long as the one run's. Running the plan again keeps the
    // finished pieces and joins again.
    temp_dir lossy;
    std::string plan = "--pieces 3 --video joined.mp4 " + run_options;
    ASSERT_EQ(plan_and_run(lossy, plan, "parallel.sh", &output), 0) << output;
    ASSERT_EQ(plan_and_run(lossy, plan, "parallel.sh", &output), 0) << output;
    EXPECT_HAS(output, "are already rendered from this show with these settings; kept");
    std::string one_mp4 = "cd " + lossy.path + " && " + built_binary("quillon") + " --video one.mp4 ";
    ASSERT_EQ(run_command(one_mp4 + run_options + " " + source_dir, &output), 0) << output;
    std::vector<int64_t> frames = picture_frames(lossy.file("joined.mp4"), 5);
    std::sort(frames.begin(), frames.end());
    ASSERT_EQ(frames.size(), 100u);
    for (size_t k = 0; k < frames.size(); ++k) ASSERT_EQ(frames[k], static_cast<int64_t>(k)) << "frame " << k;
    decoded_video joined_mp4 = decode_video(lossy.file("joined.mp4")), whole_mp4 = decode_video(lossy.file("one.mp4"));
    EXPECT_EQ(joined_mp4.frames.size(), 100u);
    EXPECT_EQ(joined_mp4.samples.size(), whole_mp4.samples.size());
    EXPECT_EQ(joined_mp4.audio_start, whole_mp4.audio_start);
    EXPECT_EQ(joined_mp4.video_start, whole_mp4.video_start);
}

TEST(farm, the_kubernetes_plan_is_an_indexed_job_and_a_join_that_waits) {
    std::string output;
    if (run_command("python3 -c 'import yaml'", &output) != 0) GTEST_SKIP() << "no YAML reader for Python";
    temp_dir dir;
    std::string quillon = built_binary("quillon");
    ASSERT_EQ(run_command("cd " + dir.path + " && " + quillon + " --farm plan --pieces 3 --fps 2 --end 20 " + source_dir,
                          &output),
              0)
        << output;
    const char* check =
        "import sys, yaml\n"
        "pieces, join = yaml.safe_load_all(open(sys.argv[1] + '/kubernetes.yaml'))\n"
        "assert pieces['kind'] == join['kind'] == 'Job'\n"
        "job, pod = pieces['spec'], pieces['spec']['template']['spec']\n"
        "assert job['completionMode'] == 'Indexed' and job['completions'] == 3, job\n"
        "assert pod['containers'][0]['command'][-1] == sys.argv[1] + '/task.sh'\n"
        "join = join['spec']['template']['spec']\n"
        "assert '-ge 3 ]' in join['initContainers'][0]['command'][-1]\n"
        "assert join['containers'][0]['command'][-1] == sys.argv[1] + '/join.sh'\n";
    dir.write("check.py", check);
    EXPECT_EQ(run_command("python3 " + dir.file("check.py") + " " + fs::canonical(dir.file("plan")).string(), &output), 0)
        << output;
}

// A show of 10 frames at 10 fps, 32x24: pieces are cheap.
std::string piece(const temp_dir& dir, const std::string& name, const std::string& frames, const char* more = "") {
    std::string output;
    offline_run(dir, "--video " + name + " --frames " + frames + " --fps 10 --size 32x24 " + more, &output);
    return output;
}

TEST(farm, bad_joins_are_refused_with_one_line_naming_the_piece_and_write_nothing) {
    temp_dir dir;
    offline_show_write(dir, offline_colour_block("1", "0.2", "0.6", "0.9"));
    piece(dir, "a.mkv", "0:5", "--lossless");
    piece(dir, "b.mkv", "5:10", "--lossless");
    piece(dir, "c.mkv", "3:8", "--lossless");
    piece(dir, "h.mkv", "5:10");
    std::string big = piece(dir, "d.mkv", "5:10", "--lossless --size 48x36");
    ASSERT_TRUE(fs::exists(dir.file("d.mkv.manifest"))) << big;
    // The loading phase's pictures are files of the show as much as the script.
    EXPECT_NE(read_file(dir.file("b.mkv.manifest")).find("/loading/back.jpg\n"), std::string::npos);
    fs::copy(dir.file("b.mkv"), dir.file("cut.mkv"));
    fs::copy(dir.file("b.mkv.manifest"), dir.file("cut.mkv.manifest"));
    fs::resize_file(dir.file("cut.mkv"), fs::file_size(dir.file("cut.mkv")) - 100);
    fs::copy(dir.file("b.mkv"), dir.file("unfinished.mkv"));
    // Outside the run: nothing rendered.
    EXPECT_NE(piece(dir, "late.mkv", "8:11", "--lossless")
                  .find("Error: Piece late.mkv: frames 8:11 lie outside the run, whose frames are 0:10 at 10 fps"),
              std::string::npos);
    const char* const rows[][2] = {
        {"a.mkv", "Error: Join: frames 5:10 are missing: no piece holds them (the last is a.mkv, frames 0:5)"},
        {"b.mkv", "Error: Join: frames 0:5 are missing: no piece holds them (the next is b.mkv, frames 5:10)"},
        {"b.mkv c.mkv a.mkv", "Error: Join: piece c.mkv (frames 3:8) overlaps piece a.mkv (frames 0:5)"},
        {"a.mkv d.mkv", "Error: Join: piece d.mkv is 48x36 at 10 fps in FFV1, piece a.mkv is 32x24 at 10 fps in FFV1"},
        {"a.mkv h.mkv", "Error: Join: piece h.mkv is 32x24 at 10 fps in H.264 crf 20, piece a.mkv is 32x24"},
        {"a.mkv cut.mkv", "Error: Join: piece cut.mkv is cut off or changed since it was finished"},
        {"a.mkv unfinished.mkv", "Error: Join: piece unfinished.mkv is not finished: it has no manifest"},
        {"a.mkv gone.mkv", "Error: Join: piece gone.mkv does not exist"},
    };
    std::string output;
    for (const auto& row : rows) {
        EXPECT_EQ(offline_run(dir, std::string("--join out.mkv ") + row[0], &output), 255) << row[0];
        EXPECT_HAS(output, row[1]) << row[0];
    }
    // Another version of the script: its pieces are not joined with the
    // old ones, nor the old ones once the show changed.
    fs::copy(dir.file("b.mkv"), dir.file("b_old.mkv"));
    fs::copy(dir.file("b.mkv.manifest"), dir.file("b_old.mkv.manifest"));
    std::ofstream(dir.file("show/data/script.txt"), std::ios::app) << "; changed\n";
    piece(dir, "b.mkv", "5:10", "--lossless");
    EXPECT_EQ(offline_run(dir, "--join out.mkv a.mkv b.mkv", &output), 255);
    EXPECT_HAS(output, "Error: Join: piece b.mkv comes from another show or script version than piece a.mkv");
    EXPECT_EQ(offline_run(dir, "--join out.mkv a.mkv b_old.mkv", &output), 255);
    EXPECT_HAS(output, "Error: Join: the show changed since piece a.mkv was rendered: data/script.txt differs");
    for (const auto& entry : fs::directory_iterator(dir.path))
        EXPECT_EQ(entry.path().filename().string().rfind("out", 0), std::string::npos) << entry.path();
}

TEST(farm, a_piece_stopped_half_way_leaves_nothing_the_join_would_take) {
    temp_dir dir;
    offline_show_write(dir, offline_colour_block("600", "0", "0", "1"));
    piece(dir, "p.mkv", "0:20", "--lossless");
    ASSERT_TRUE(fs::exists(dir.file("p.mkv.manifest")));
    pid_t pid = fork();
    if (pid == 0) {
        std::string line = offline_command(dir, "--video p.mkv --frames 0:5000 --fps 10 --size 320x240 --lossless") +
                           " > output.txt 2>&1";
        execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Stopped by the scheduler once frames are being written.
    auto writing = [&] {
        for (const auto& entry : fs::directory_iterator(dir.path))
            if (entry.path().filename().string().rfind("p.mkv.part", 0) == 0 && entry.file_size() > 20000) return true;
        return false;
    };
    for (int i = 0; i < 400 && !writing(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    std::string output = read_file(dir.file("output.txt"));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 143) << output;
    EXPECT_HAS(output, "Piece p.mkv stopped after ");
    EXPECT_FALSE(fs::exists(dir.file("p.mkv.manifest")));
    EXPECT_EQ(offline_run(dir, "--join out.mkv p.mkv", &output), 255);
    EXPECT_HAS(output, "Error: Join: piece p.mkv ");
}

}  // namespace
