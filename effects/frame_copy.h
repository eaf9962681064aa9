// Feedback textures for the effects that post-process the picture: a texture
// the size of the render target, and the copy of the frame drawn so far into
// it.
#pragma once

// A gl_rttWidth x gl_rttHeight RGB texture (3 components) with the given
// upload options, uploaded; returns its texture index.
int frame_copy_create(int options);

// Binds `texture` and copies the lower-left corner of the colour buffer into
// it at (0, 0), level 0: the render target's pixels, cut to the texture's
// and the window's size so the copy never reads outside the drawable.
void frame_copy_take(int texture);
// 1 when a copy into `texture` fills it exactly with the whole render
// target, so that drawn over the target at its own size each texel lands
// on the pixel it came from.
int frame_copy_is_whole(int texture);

// How many frames a picture fed back with `gain` (the share of one frame's
// picture that the next one passes on) still changes a bit of a picture of
// `pixels` pixels: 0 for no gain, INT_MAX for one that hardly fades. An
// earlier difference of up to 255 levels shrinks by the gain every frame;
// once below a level it still flips the rounding of a pixel with a chance
// of about the gain each frame, so of `pixels` pixels about pixels x gain^n
// differ n frames later. The count is the frames in which 255 x pixels
// shrinks below one, and half as many again: the copy is filtered, so a
// difference also reaches the pixels around it (the slowest case measured
// on the default show took 1.3 times the plain count).
int frame_copy_fade_frames(double gain, double pixels);
