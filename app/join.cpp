// Joining pieces: the manifests first, then the pictures packet by packet.
//
// Each piece counts its pictures from 0 in its own file. In the joined file
// piece [first, end) puts its picture k at frame first + k. Decoding times
// are laid out again as one run: packet i of a piece decodes at first + i
// minus the longest reordering delay of any piece, which keeps them rising
// across every seam and never after their picture's own time.
#include "app/join.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/cmdline.h"
#include "app/piece.h"
#include "app/video_writer.h"
#include "core/fatal.h"
#include "core/file_read.h"
#include "core/script.h"
#include "core/settings.h"

namespace fs = std::filesystem;

namespace {

struct join_piece {
    std::string shown, path;  // as named, and absolute
    piece_manifest manifest;
    int delay = 0;            // decoding ahead of display, in frames
};

// The piece file and its one video stream.
struct piece_file {
    AVFormatContext* file = nullptr;
    int stream = -1;
    ~piece_file() { avformat_close_input(&file); }
};

void read_manifest(join_piece* p) {
    std::vector<unsigned char> bytes;
    if (!file_read_disk(piece_manifest_path(p->path).c_str(), &bytes)) {
        if (!fs::exists(p->path)) fatal_error("Join: piece %s does not exist", p->shown.c_str());
        fatal_error("Join: piece %s is not finished: it has no manifest %s", p->shown.c_str(),
                    piece_manifest_path(p->shown).c_str());
    }
    std::string why;
    if (!piece_manifest_parse(std::string(bytes.begin(), bytes.end()), &p->manifest, &why))
        fatal_error("Join: %s: %s", piece_manifest_path(p->shown).c_str(), why.c_str());
    long long size = 0;
    std::string checksum = piece_hash_file(p->path, &size);
    if (checksum.empty()) fatal_error("Join: piece %s cannot be read", p->shown.c_str());
    if (size != p->manifest.bytes)
        fatal_error("Join: piece %s is cut off or changed since it was finished (%lld bytes, %lld when finished)",
                    p->shown.c_str(), size, p->manifest.bytes);
    if (checksum != p->manifest.checksum)
        fatal_error("Join: piece %s changed since it was finished (its checksum differs)", p->shown.c_str());
}

std::string describe(const piece_manifest& m) {
    char text[200];
    std::snprintf(text, sizeof text, "%dx%d at %d fps in %s", m.width, m.height, m.fps, m.pictures.c_str());
    return text;
}

void check_alike(const join_piece& p, const join_piece& first) {
    const piece_manifest &a = p.manifest, &b = first.manifest;
    std::string difference = piece_show_difference(a, b);
    if (difference == "the script")
        fatal_error("Join: piece %s comes from another show or script version than piece %s", p.shown.c_str(),
                    first.shown.c_str());
    if (!difference.empty())
        fatal_error("Join: piece %s was rendered from another version of %s than piece %s", p.shown.c_str(),
                    difference.c_str(), first.shown.c_str());
    if (describe(a) != describe(b))
        fatal_error("Join: piece %s is %s, piece %s is %s", p.shown.c_str(), describe(a).c_str(), first.shown.c_str(),
                    describe(b).c_str());
    if (a.run_frames != b.run_frames || a.start != b.start)
        fatal_error("Join: piece %s belongs to a run of %d frames from %g s, piece %s to one of %d frames from %g s",
                    p.shown.c_str(), a.run_frames, static_cast<double>(a.start), first.shown.c_str(), b.run_frames,
                    static_cast<double>(b.start));
}

// In frame order, every frame of the run held by exactly one piece.
void check_ranges(std::vector<join_piece>* pieces) {
    std::stable_sort(pieces->begin(), pieces->end(), [](const join_piece& a, const join_piece& b) {
        return a.manifest.first < b.manifest.first;
    });
    int next = 0;
    const join_piece* before = nullptr;
    for (const join_piece& p : *pieces) {
        const piece_manifest& m = p.manifest;
        if (m.first > next)
            fatal_error("Join: frames %d:%d are missing: no piece holds them (the next is %s, frames %d:%d)", next,
                        m.first, p.shown.c_str(), m.first, m.end);
        if (m.first < next)
            fatal_error("Join: piece %s (frames %d:%d) overlaps piece %s (frames %d:%d)", p.shown.c_str(), m.first,
                        m.end, before->shown.c_str(), before->manifest.first, before->manifest.end);
        next = m.end;
        before = &p;
    }
    int run = pieces->front().manifest.run_frames;
    if (next < run)
        fatal_error("Join: frames %d:%d are missing: no piece holds them (the last is %s, frames %d:%d)", next, run,
                    before->shown.c_str(), before->manifest.first, before->manifest.end);
    if (next > run)
        fatal_error("Join: piece %s (frames %d:%d) runs past the run's %d frames", before->shown.c_str(),
                    before->manifest.first, before->manifest.end, run);
}

void open_piece(const join_piece& p, piece_file* f) {
    if (avformat_open_input(&f->file, p.path.c_str(), nullptr, nullptr) < 0 || f->file->nb_streams != 1 ||
        f->file->streams[0]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
        fatal_error("Join: piece %s is not a piece this program wrote (one video stream)", p.shown.c_str());
    f->stream = 0;
}

bool same_pictures(const AVCodecParameters* a, const AVCodecParameters* b) {
    return a->codec_id == b->codec_id && a->width == b->width && a->height == b->height &&
           a->extradata_size == b->extradata_size &&
           (a->extradata_size == 0 || std::memcmp(a->extradata, b->extradata, a->extradata_size) == 0);
}

// The picture's frame within its piece.
int64_t frame_of(const piece_file& f, const AVPacket* packet, int fps) {
    if (packet->pts == AV_NOPTS_VALUE) return -1;
    return av_rescale_q_rnd(packet->pts, f.file->streams[f.stream]->time_base, AVRational{1, fps},
                            static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

// Reads the whole piece: one picture for each of its frames, each once, in
// the codec and settings of the first piece.
void scan_piece(join_piece* p, const AVCodecParameters* pictures) {
    piece_file f;
    open_piece(*p, &f);
    if (!same_pictures(f.file->streams[0]->codecpar, pictures))
        fatal_error("Join: piece %s was encoded with other codec settings than the first piece", p->shown.c_str());
    const piece_manifest& m = p->manifest;
    std::vector<char> seen(static_cast<size_t>(m.end - m.first), 0);
    AVPacket* packet = av_packet_alloc();
    int count = 0;
    while (av_read_frame(f.file, packet) >= 0) {
        int64_t k = frame_of(f, packet, m.fps);
        av_packet_unref(packet);
        if (k < 0 || k >= static_cast<int64_t>(seen.size()) || seen[static_cast<size_t>(k)])
            fatal_error("Join: piece %s is damaged: its picture %d has no place of its own among frames %d:%d",
                        p->shown.c_str(), count, m.first, m.end);
        seen[static_cast<size_t>(k)] = 1;
        p->delay = std::max(p->delay, static_cast<int>(count - k));
        count += 1;
    }
    av_packet_free(&packet);
    if (count != m.end - m.first)
        fatal_error("Join: piece %s holds %d pictures; its frames %d:%d need %d", p->shown.c_str(), count, m.first,
                    m.end, m.end - m.first);
}

// Copies a piece's packets, at their place in the run.
void copy_piece(const join_piece& p, int delay) {
    piece_file f;
    open_piece(p, &f);
    AVPacket* packet = av_packet_alloc();
    for (int i = 0; av_read_frame(f.file, packet) >= 0; ++i) {
        packet->pts = p.manifest.first + frame_of(f, packet, p.manifest.fps);
        packet->dts = p.manifest.first + i - delay;
        int ok = video_writer_copy_packet(packet);
        av_packet_unref(packet);
        if (!ok) {
            av_packet_free(&packet);
            video_writer_discard();
            fatal_error("Join: piece %s cannot be copied into the file: %s", p.shown.c_str(), video_writer_failure().c_str());
        }
    }
    av_packet_free(&packet);
}

std::vector<unsigned char> read_soundtrack() {
    std::vector<unsigned char> bytes;
    if (snd_enable && snd_mp3file && !file_read_all(snd_mp3file, &bytes))
        fatal_error("Join: music file %s cannot be opened", snd_mp3file);
    return bytes;
}

}  // namespace

int join_run(const cmdline* options) {
    typedef std::chrono::steady_clock wall_clock;
    wall_clock::time_point began = wall_clock::now();
    std::vector<join_piece> pieces;
    for (const char* name : options->pieces) {
        join_piece p;
        p.shown = name;
        p.path = fs::absolute(name).lexically_normal().string();
        read_manifest(&p);
        pieces.push_back(p);
    }
    for (const join_piece& p : pieces) check_alike(p, pieces.front());
    check_ranges(&pieces);
    video_request out;
    out.shown = options->join;
    out.path = fs::absolute(options->join).lexically_normal().string();
    if (options->show_dir && chdir(options->show_dir) != 0)
        fatal_error("Show folder %s cannot be opened", options->show_dir);
    if (options->script) script_path = options->script;
    read_script();
    const piece_manifest& run = pieces.front().manifest;
    for (const join_piece& p : pieces) {
        std::string changed = piece_changed_file(p.manifest.files);
        if (!changed.empty())
            fatal_error("Join: the show changed since piece %s was rendered: %s differs", p.shown.c_str(),
                        changed.c_str());
    }

    piece_file first;
    open_piece(pieces.front(), &first);
    int delay = 0;
    for (join_piece& p : pieces) {
        scan_piece(&p, first.file->streams[0]->codecpar);
        delay = std::max(delay, p.delay);
    }
    std::vector<unsigned char> soundtrack = read_soundtrack();
    out.width = run.width;
    out.height = run.height;
    out.fps = run.fps;
    out.sound = soundtrack.empty() ? nullptr : soundtrack.data();
    out.sound_size = soundtrack.size();
    out.sound_start_ms = static_cast<int>(run.start * 1000.0f + 0.5f);
    std::string error;
    if (!video_writer_open_copy(out, first.file->streams[0]->codecpar, &error)) fatal_error("%s", error.c_str());
    for (const join_piece& p : pieces) copy_piece(p, delay);
    bool replaced = false;
    if (!video_writer_close(&replaced, &error)) fatal_error("%s", error.c_str());
    std::error_code ignored;
    double megabytes = static_cast<double>(fs::file_size(out.path, ignored)) / 1e6;
    double seconds = std::chrono::duration<double>(wall_clock::now() - began).count();
    std::printf("Joined %zu pieces into %s: %d frames of %dx%d at %d fps, %s%s, %.1f MB, in %.1f s\n", pieces.size(),
                out.shown.c_str(), run.run_frames, run.width, run.height, run.fps, run.pictures.c_str(),
                out.sound ? " with the soundtrack" : "", megabytes, seconds);
    if (replaced) std::printf("(%s replaced the file of that name)\n", out.shown.c_str());
    return 0;
}
