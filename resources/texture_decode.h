// Decoding an image into a texture record, apart from the GL upload: the
// file's bytes go through SDL_image, then the pixels are converted to the
// layout the record hands to GL. No GL call, so the fuzz harness and the
// tests run it without a context.
#pragma once

#include <cstddef>

struct texture;

// Decodes the `size` bytes of an image file at `data` into `t`: width,
// height, pixels, components and pixel format; `t->name` is left alone.
// `type` is the decoder's format hint (the file's extension; TGA files carry
// no signature and are only recognised through it), `kind` the image kind
// that picks the pixel format. Bytes that fail the header checks of
// image_check.h or do not decode, an unknown kind, or a picture without
// pixels or beyond the size limit are a fatal error naming `name`.
void texture_decode(texture* t, const unsigned char* data, size_t size, const char* type, int kind,
                    const char* name);

// A JPEG of CMYK (or YCCK) inks decoded into `t` as RGB, the inks inverted
// when the file has the Adobe marker. 0, with `t` untouched, for a JPEG of
// any other colour space; undecodable bytes are a fatal error naming `name`.
int texture_decode_cmyk_jpeg(texture* t, const unsigned char* data, size_t size, const char* name);

// `count` CMYK pixels (4 bytes each; `inverted`: 0 is full ink) as RGB.
void image_cmyk_to_rgb(const unsigned char* cmyk, int count, int inverted, unsigned char* rgb);
