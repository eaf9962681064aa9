// The engine's own data folder: the font, the default show with its assets
// and the example scripts, installed as PREFIX/share/quillon beside
// PREFIX/bin/quillon. It is found from where the running binary lies, so a
// moved prefix still works; the build tree has build/share/quillon, which
// leads to the source tree's data.
#pragma once

#include <string>

struct cmdline;

// The folder for the binary at `exe` (its own path): share/quillon in the
// folder above the binary's (PREFIX/bin -> PREFIX/share/quillon) when that
// exists, else share/quillon beside the binary when that exists, else the
// first (the one an installed binary expects).
std::string data_folder_for(const std::string& exe);

// The folder for the running binary (through /proc/self/exe).
std::string data_folder_find();

// Makes the engine's folder the fallback for what a show lacks: its font,
// and, when the command line names no show or script and the working folder
// has no data/script.txt, the whole show (said in one line on stderr). Stops
// with an error naming the folder when the folder is needed and is missing
// or damaged.
void data_folder_apply(cmdline* options);
