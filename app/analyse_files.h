// Writing what --analyse found into the show: the tempo into the script's
// head, the onsets into a track file. Each file is written whole to a
// temporary beside it and renamed over it, after the old version has been
// kept as FILE~; on any fault nothing of the show has changed.
#pragma once

#include <string>

#include "app/music_analysis.h"

// Writes the show's files; a fault (a refused tempo, a file that cannot be
// written) is fatal, with the script untouched.
void analyse_write_show(const music_analysis& a, const std::string& script, const std::string& music,
                        const std::string& track, bool force);

// Replaces `path` with `bytes`, keeping what was there as `path`~ when
// `backup`. False with the reason in `error`; then `path` is as it was.
bool analyse_replace_file(const std::string& path, const std::string& bytes, bool backup, std::string* error);
