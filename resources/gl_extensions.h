// What the current GL context offers beyond its version.
#pragma once

// 1 when the context's extension string names `name`.
int has_extension(const char* name);
