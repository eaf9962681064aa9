// One piece of a long run: the files it reads, its range, its manifest.
#include "app/piece_run.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "app/cmdline.h"
#include "app/piece.h"
#include "app/video_writer.h"
#include "core/clock.h"
#include "core/fatal.h"
#include "core/file_read.h"
#include "core/script.h"
#include "core/settings.h"
#include "platform/platform.h"
#include "show/show_host.h"

namespace {

struct piece_state {
    int active = 0;
    std::string shown, path;  // the piece as named, and absolute
    piece_manifest manifest;
    std::map<std::string, std::string> files;  // every show file read, with its SHA-256
};

piece_state piece;

// Every whole-file read of the show passes here while a piece renders.
bool note_read(const char* path, std::vector<unsigned char>* bytes) {
    if (!file_read_disk(path, bytes)) return false;
    piece.files[path] = piece_hash(bytes->data(), bytes->size());
    return true;
}

std::string pictures_of(const video_request& video) {
    const video_format* format = video_format_for(video.shown.c_str(), video.lossless);
    if (!format) return "";  // the writer refuses the name with its own message
    std::string text = format->video_name;
    if (format->default_crf >= 0) text += " crf " + std::to_string(video.crf >= 0 ? video.crf : format->default_crf);
    return text;
}

// The piece and its manifest are already on disk, finished from this very
// show with these settings.
bool already_finished() {
    std::vector<unsigned char> bytes;
    if (!file_read_disk(piece_manifest_path(piece.path).c_str(), &bytes)) return false;
    piece_manifest old;
    std::string why;
    if (!piece_manifest_parse(std::string(bytes.begin(), bytes.end()), &old, &why)) return false;
    const piece_manifest& m = piece.manifest;
    if (old.first != m.first || old.end != m.end || old.run_frames != m.run_frames || old.fps != m.fps ||
        old.start != m.start || old.width != m.width || old.height != m.height || old.pictures != m.pictures ||
        old.script != m.script)
        return false;
    long long size = 0;
    return piece_changed_file(old.files).empty() && piece_hash_file(piece.path, &size) == old.checksum &&
           size == old.bytes;
}

}  // namespace

void piece_run_prepare(const cmdline* options) {
    if (!options->has_frames) return;
    piece = piece_state();
    piece.active = 1;
    piece.shown = options->video;
    char folder[4096];
    piece.path = options->video[0] == '/' || !getcwd(folder, sizeof folder)
                     ? std::string(options->video)
                     : std::string(folder) + "/" + options->video;
    piece.manifest.first = options->frame_first;
    piece.manifest.end = options->frame_end;
}

void piece_run_lend(show_host* host) { host->file_read = note_read; }

int piece_run_active() { return piece.active; }

int piece_run_count() { return piece.manifest.end - piece.manifest.first; }

void piece_run_begin(const video_request& video, int fps, int width, int height) {
    piece_manifest& m = piece.manifest;
    m.run_frames = piece_show_frames(fps);
    m.fps = fps;
    m.start = demostart;
    m.width = width;
    m.height = height;
    m.pictures = pictures_of(video);
    m.script = script_path;
    if (m.end > m.run_frames)
        fatal_error("Piece %s: frames %d:%d lie outside the run, whose frames are 0:%d at %d fps", piece.shown.c_str(),
                    m.first, m.end, m.run_frames, fps);
    if (already_finished()) {
        std::printf("Piece %s: frames %d:%d are already rendered from this show with these settings; kept\n",
                    piece.shown.c_str(), m.first, m.end);
        platform_exit(0);
    }
    // The manifest of an older piece goes first: from now on the file
    // under the piece's name is no finished piece until a new one is written.
    if (unlink(piece_manifest_path(piece.path).c_str()) != 0 && errno != ENOENT)
        fatal_error("Piece %s: its old manifest cannot be removed: %s", piece.shown.c_str(), std::strerror(errno));
    clock_set_first_frame(demostart, m.first);
}

void piece_run_finish() {
    piece_manifest& m = piece.manifest;
    m.checksum = piece_hash_file(piece.path, &m.bytes);
    m.files.assign(piece.files.begin(), piece.files.end());
    std::string error = "the piece cannot be read back";
    if (!m.checksum.empty() && piece_write_file(piece_manifest_path(piece.path), piece_manifest_text(m), &error))
        return;
    std::remove(piece.path.c_str());
    fatal_error("Piece %s: its manifest %s %s; the piece was removed", piece.shown.c_str(),
                piece_manifest_path(piece.shown).c_str(), error.c_str());
}

std::string piece_run_summary() {
    const piece_manifest& m = piece.manifest;
    return "frames " + std::to_string(m.first) + ":" + std::to_string(m.end) + " of " + std::to_string(m.run_frames);
}
