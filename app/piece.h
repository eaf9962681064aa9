// Pieces of one long run, rendered apart (on other machines, at other
// times) and joined later: the run's frames counted from its start, and the
// manifest written beside each finished piece. The manifest says which
// frames the piece holds, of which run, in which pictures, and carries a
// checksum of the piece file and of every file the show read, so a join
// can tell a finished piece from a cut-off one and pieces of one version of
// a show from those of another.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct piece_manifest {
    int first = 0, end = 0;    // frames first .. end - 1 of the run
    int run_frames = 0;        // frames of the whole run
    int fps = 0, width = 0, height = 0;
    float start = 0;           // the run's first frame on the demo clock
    std::string pictures;      // codec and quality: "FFV1", "H.264 crf 20"
    std::string script;        // the script, one of `files`
    long long bytes = 0;       // size and SHA-256 of the piece file
    std::string checksum;
    std::vector<std::pair<std::string, std::string>> files;  // show files read, with their SHA-256
};

// "PIECE.manifest": where a finished piece's manifest lies.
std::string piece_manifest_path(const std::string& piece);

// The manifest as text, and read back. Reading fails with "line N: ..."
// in `error` when a line is missing or not understood.
std::string piece_manifest_text(const piece_manifest& m);
bool piece_manifest_parse(const std::string& text, piece_manifest* out, std::string* error);

// Where two pieces disagree on their show: "" when they agree, else what
// differs ("the script" when its name or contents differ, else a file both
// read in other versions). Each piece reads only what its frames need.
std::string piece_show_difference(const piece_manifest& a, const piece_manifest& b);
// The first of the files whose contents differ from their recorded
// checksum now (or that cannot be read), or "" when none does.
std::string piece_changed_file(const std::vector<std::pair<std::string, std::string>>& files);

// SHA-256 of bytes, and of a whole file ("" when it cannot be read).
std::string piece_hash(const void* data, size_t size);
std::string piece_hash_file(const std::string& path, long long* bytes);

// Frames of a run on a fixed step of `fps` from `start`: those whose time
// lies before `end`, as the clock counts them.
int piece_run_frames(float start, float end, int fps);
// The same for the show as read: from demostart to the end of its last
// playing section, or demoend when that comes first.
int piece_show_frames(int fps);

// Writes `text` to `path` as every output file is written: through a
// temporary of its own, renamed over `path` only when it is whole. False
// with the reason in `error`.
bool piece_write_file(const std::string& path, const std::string& text, std::string* error);
