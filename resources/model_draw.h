// Drawing models in immediate mode: sphere-mapped (all faces or a leading
// fraction of each object's faces) or with their own materials. The drawing
// sets no colour, blending, depth or culling state; the sphere-mapped forms
// neither bind nor enable a texture (the caller does both).
#pragma once

#include "resources/model.h"

// Uploads the textures of the most recently loaded model's materials.
void model_upload_textures();
void model_draw_sphere_mapped(const model* m);
// Each object's first trunc(face count x fraction) faces.
void model_draw_partial(const model* m, float fraction);
void model_draw_materials(const model* m);
