// What the running show generation owns: the objects its loaders allocated,
// each with the call that releases it.
//
// Loaders hand over what they allocate (instance blocks, models, skyboxes,
// cameras, particle pools); the show runtime releases it all when it releases
// the generation (see show/generation.h). A program that never releases a
// generation loses nothing by it.
#pragma once

// Hands `object` to the running generation: `release(object)` is called when
// the generation is released, newest object first.
void generation_own(void* object, void (*release)(void*));

// Objects handed over and not yet released.
int generation_size();

// Releases every object handed over, newest first, and empties the list.
void generation_release_owned();
