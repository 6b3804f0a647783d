// The Lua libraries of animation and particle scripts, compiled by the interpreter's own
// compiler (lua50 -c) when the program is built and compiled in (see gfx/CMakeLists.txt;
// the sources are gfx/scripts/animation.lua and gfx/scripts/particles.lua).
#pragma once

#include <cstddef>
#include <cstdint>

// The chunk "ganimationscript": delay, frames, fadeout, run, ... for animation scripts.
const uint8_t* AnimationChunkData();
size_t AnimationChunkSize();

// The chunk "particles.lua": expression values, Init, Anim, the renderer's members, ...
const uint8_t* ParticleChunkData();
size_t ParticleChunkSize();
