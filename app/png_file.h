// PNG files of frames read back from GL: captured frames, edit mode's
// stills and the bench of the encoder all write them here.
#pragma once

#include <cstdint>
#include <string>

// Writes `width` x `height` RGB pixels (rows bottom first, as GL reads them)
// as an 8-bit RGB PNG file, top row first (see output_file.h: a failed write
// leaves nothing, a file already there is replaced whole). 0 when the file
// cannot be written, with the reason in `error`; `replaced` tells whether a
// file of that name was there.
int png_file_write(const char* path, int width, int height, const uint8_t* rgb_bottom_up,
                   std::string* error = nullptr, bool* replaced = nullptr);
