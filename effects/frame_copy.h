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
