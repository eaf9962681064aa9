// The PNG writer: one frame, fast compression, no time chunk, written under
// a temporary name and renamed once whole.
#include "app/png_file.h"

#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/output_file.h"

// Writes the PNG stream; false when libpng or the file fails.
static bool write_png_stream(FILE* file, int width, int height, const uint8_t* rgb_bottom_up) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    // Fast compression and one cheap row filter: a long capture writes
    // thousands of frames. No time chunk is written, so equal pictures give
    // equal files.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * 3;
    for (int y = height - 1; y >= 0; --y)
        png_write_row(png, const_cast<png_bytep>(rgb_bottom_up + static_cast<size_t>(y) * stride));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(file) == 0 && !std::ferror(file);
}

// The file is written under a temporary name and takes its own only when
// whole, so no cut-off frame is ever left behind.
int png_file_write(const char* path, int width, int height, const uint8_t* rgb_bottom_up, std::string* error,
                   bool* replaced) {
    std::string why;
    output_file out;
    if (!output_file_open(&out, path, &why)) {
        if (error) *error = why;
        return 0;
    }
    int fd = dup(out.fd);
    FILE* file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (!file && fd >= 0) close(fd);
    bool written = file && write_png_stream(file, width, height, rgb_bottom_up);
    int saved = errno;
    if (file && std::fclose(file) != 0) written = false;
    if (!written) {
        output_file_abandon(&out);
        if (error) *error = std::string("cannot be written: ") + std::strerror(saved ? saved : EIO);
        return 0;
    }
    if (output_file_commit(&out, replaced, &why)) return 1;
    if (error) *error = why;
    return 0;
}
