// genPathway: a glowing trail along a spline path. An emitter runs along the
// section's first spline and wakes one particle of a fixed pool per 1/rate
// seconds at its path point; each woken particle drifts off under its own
// small random acceleration and fades very slowly, so the path stays visible
// as a loose ribbon of additive sprites.
//
// String 0: the sprite. Params: the emission rate (particles per second; the
// pool holds duration x rate), the sprite half edge, its colour r g b. Spline
// 0: the path, its first three channels the emitter position, run at the
// spline's own time.
//
// Leaves behind: blending off with (GL_SRC_ALPHA, GL_ONE) as the blend
// factors, texturing on, polygons filled on both sides, depth writes on, the
// modelview as the current matrix mode.
#pragma once

#include "core/section_reads.h"

#include "effects/particles.h"
#include "resources/spline.h"

// Seconds a particle lives: longer than any section, so none dies.
static const float PATHWAY_LIFE = 1000.0f;

// Its params, by the names its declaration binds (the lake's rain binds
// its own the same way); read as the section is set up.
struct pathway_values {
    float rate;  // particles per second
    float size;  // sprite half edge
    float red, green, blue;
};

struct pathway_instance {
    int sprite;               // texture index
    float emitter[3];         // the last path point evaluated
    float previous_time;      // local time of the previous render; 0 before the first
    int next_particle;        // pool index the emission walk handles next
    particle_system* particles;
};

// Particles in the pool of a section lasting `duration` at `rate` per
// second: the product truncated, 0 when it is not positive.
int pathway_pool_size(float duration, float rate);

// The initial state of every particle: at the origin, colour (r, g, b, 1),
// dead, life PATHWAY_LIFE, at rest, an acceleration drawn z, y, x, each a
// sign draw and a magnitude draw below 100 times 0.002. Attaches no texture.
void pathway_fill(particle_system* system, float r, float g, float b);

// The emission walk at local time t: the walk starts at particle 0 and wakes
// each dead particle j it passes at the path point of time (j + 1) / rate,
// moving on while j / rate (summed in single precision) is not past t and the
// pool lasts. Nothing is woken for t below 0. The path holds its last key
// past its end.
void pathway_emit(pathway_instance* instance, const spline* path, float rate, float t);
// One pass of the trail in the current view, between a push and a pop of the
// modelview: the emission walk at t (after which texturing is on and
// polygons are filled), one step of motion since the last pass, `settle` (when
// given) applied to the moved particles, then the sprites added.
void pathway_pass(pathway_instance* instance, const spline* path, float rate, float t,
                  void (*settle)(particle_system*));
// The same pass without the drawing: the walk, the step of motion, `settle`.
void pathway_step(pathway_instance* instance, const spline* path, float rate, float t,
                  void (*settle)(particle_system*));

void pathway_init();
void pathway_render();
// A frame of the trail's motion at the section's local time, undrawn.
void pathway_advance();

// What its sections carry: the declaration the section type table points at.
extern const section_reads pathway_reads;
