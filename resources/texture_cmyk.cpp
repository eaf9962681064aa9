// JPEG pictures stored as CMYK, as print tools write them: decoded here with
// libjpeg into RGB, since the picture loader hands their four ink channels
// back as if they were red, green, blue and alpha.
//
// Inks are subtractive: red = (1 - cyan)(1 - black). Pictures with the
// Adobe marker store every ink inverted (0 is full ink), as the tools that
// write that marker do; the others store them plainly.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "core/fatal.h"
#include "resources/image_check.h"
#include "resources/image_convert.h"
#include "resources/texture.h"
#include "resources/texture_decode.h"

void image_cmyk_to_rgb(const unsigned char* cmyk, int count, int inverted, unsigned char* rgb) {
    for (int i = 0; i < count; ++i, cmyk += 4, rgb += 3) {
        int k = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            int ink = inverted ? cmyk[c] : 255 - cmyk[c];
            rgb[c] = static_cast<unsigned char>((ink * k + 127) / 255);
        }
    }
}

namespace {

struct jpeg_failure {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

void on_jpeg_error(j_common_ptr info) {
    jpeg_failure* failure = reinterpret_cast<jpeg_failure*>(info->err);
    info->err->format_message(info, failure->message);
    std::longjmp(failure->back, 1);
}

}  // namespace

int texture_decode_cmyk_jpeg(texture* t, const unsigned char* data, size_t size, const char* name) {
    jpeg_decompress_struct info;
    jpeg_failure failure;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = on_jpeg_error;
    std::vector<unsigned char> row;
    if (setjmp(failure.back)) {
        jpeg_destroy_decompress(&info);
        fatal_error("Error loading texture %s: %s", name, failure.message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space != JCS_CMYK && info.jpeg_color_space != JCS_YCCK) {
        jpeg_destroy_decompress(&info);
        return 0;
    }
    if (const char* fault = image_check_sides(static_cast<int>(info.image_width), static_cast<int>(info.image_height))) {
        jpeg_destroy_decompress(&info);
        fatal_error("Error loading texture %s: %s", name, fault);
    }
    info.out_color_space = JCS_CMYK;
    jpeg_start_decompress(&info);
    t->width = static_cast<int>(info.output_width);
    t->height = static_cast<int>(info.output_height);
    t->components = 3;
    t->pixel_format = GL_RGB;
    int pitch = image_row_bytes(t->width, 3);
    t->pixels = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(pitch) * t->height + 1, 1));
    if (!t->pixels) {
        jpeg_destroy_decompress(&info);
        fatal_error("Out of memory loading texture %s", name);
    }
    row.resize(static_cast<size_t>(t->width) * 4);
    while (info.output_scanline < info.output_height) {
        unsigned char* line = row.data();
        unsigned char* out = t->pixels + static_cast<size_t>(info.output_scanline) * pitch;
        jpeg_read_scanlines(&info, &line, 1);
        image_cmyk_to_rgb(line, t->width, info.saw_Adobe_marker, out);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return 1;
}
