// Tracks in edit mode: the control commands that read and edit them, the
// redraw an edit asks for, and saving the edited tracks as text files.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "app/edit_local.h"
#include "app/output_file.h"
#include "core/clock.h"
#include "core/settings.h"
#include "core/track.h"
#include "show/feedback_snapshot.h"

namespace {

bool tracks_changed = false;

script_tempo tempo() { return {bpm, beat_offset}; }

void report(const std::string& message) {
    std::fprintf(stderr, "Edit: %s\n", message.c_str());
    std::fflush(stderr);
}

// A track about to be edited is read from its file first, so its other
// keys are kept; a track without a file starts empty. False (reported) for
// a computed track or a broken file.
bool editable(const std::string& name) {
    track_ref ref;
    std::string error;
    if (!track_resolve(name.c_str(), tempo(), rows_per_beat, &ref, &error)) {
        if (error.compare(0, 6, "track ") == 0 && error.find("not found: there is neither") != std::string::npos)
            return true;
        report(error.empty() ? "track '" + name + "' cannot be read" : error);
        return false;
    }
    if (ref.family) report("track '" + name + "' is computed and has no keys");
    return !ref.family;
}

bool time_of(const std::string& text, double* out) {
    script_time t = script_time_parse(text.c_str(), tempo(), SCRIPT_TIME_POINT);
    if (t.status != SCRIPT_TIME_OK) {
        report(edit_quote(text) + " is not a time" + (t.error ? std::string(": ") + t.error : ""));
        return false;
    }
    *out = t.seconds;
    return true;
}

bool write_track(const track& t, std::string* error) {
    mkdir("data", 0777);
    mkdir("data/tracks", 0777);
    std::string text = track_format_text(t, tempo());
    output_file out;
    if (!output_file_open(&out, t.path, error)) return false;
    if (!output_file_write(&out, text.data(), text.size(), error)) {
        output_file_abandon(&out);
        return false;
    }
    return output_file_commit(&out, nullptr, error);
}

}  // namespace

// Pictures kept before an edit are never shown after it.
void edit_tracks_changed() {
    tracks_changed = true;
    feedback_snapshot_forget();
}

// Playing, the next frame shows an edit; paused, the frame is drawn again
// by opening the show again where it is, as a fresh start there would draw it.
void edit_tracks_redraw() {
    if (!tracks_changed) return;
    tracks_changed = false;
    if (edit.paused) edit_open_at(demo_time);
}

void edit_tracks_save() {
    int written = 0;
    for (int i = 0; i < track_count(); ++i) {
        track& t = *track_at(i);
        if (!t.live) continue;
        std::string error;
        if (!write_track(t, &error)) {
            report("track " + t.path + ": " + error);
            continue;
        }
        file_stamp_disk(t.path.c_str(), &t.stamp);
        ++written;
    }
    std::fprintf(stderr, "Edit: %d track file%s written\n", written, written == 1 ? "" : "s");
    std::fflush(stderr);
}

void edit_track_command(const edit_command& c) {
    double at = 0;
    if (c.kind == EDIT_TRACK) {
        track_ref ref;
        std::string error;
        if (!track_resolve(c.text.c_str(), tempo(), rows_per_beat, &ref, &error))
            return report(error.empty() ? "track '" + c.text + "' cannot be read" : error);
        std::printf("track %s %.9g time %.6f\n", c.text.c_str(), static_cast<double>(track_ref_value(ref, demo_time)),
                    static_cast<double>(demo_time));
        std::fflush(stdout);
        return;
    }
    if (!time_of(c.when, &at) || !editable(c.text)) return;
    if (c.kind == EDIT_TRACK_KEY) track_edit_set(c.text.c_str(), at, c.a, c.interp);
    else if (!track_edit_remove(c.text.c_str(), at)) return report("track '" + c.text + "' has no key at " + c.when);
    edit_tracks_changed();
    edit_tracks_redraw();
}
