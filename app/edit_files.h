// The files of the show in edit mode: every file a show generation reads
// (the script, splines, pictures, models, the music) is kept as it was read,
// with its stamp, so the show can be opened again from the versions that
// last opened well while a save on disk is broken, and so a change on disk
// can be seen by comparing stamps.
//
// Watching is a stat poll of the files read, not inotify: editors save by
// writing a new file and renaming it over the old one, which ends an inotify
// watch on the file, and a few dozen stat calls a few times a second cost
// nothing.
#pragma once

#include <string>
#include <vector>

struct show_host;

// Lends the store to the engine: it stands between the readers and the disk.
void edit_files_lend(show_host* host);

// Starts recording an opening: reads come from the disk, or, with
// `from_good`, from the last good versions (the disk for files no good
// opening read).
void edit_files_begin(int from_good);
// The opening succeeded: what it read joins the good versions and is watched.
// Returns 1 when it read a file in another version than the good one.
int edit_files_commit();
// The opening failed: its stamps are still watched, so the broken file is
// not tried again until it changes.
void edit_files_abandon();

// 1 when a file read by the last opening (good or not) has changed on disk
// since (a file that came or went counts).
int edit_files_changed();

// Names of the files watched, sorted.
std::vector<std::string> edit_files_watched();
