// Small vectors of floats: positions, offsets and colours handed between the particle
// system, its renderer and the game.
#pragma once

struct TVec2 {
  float x = 0, y = 0;
};

struct TVec3 {
  float x = 0, y = 0, z = 0;
};

struct TVec4 {
  float x = 0, y = 0, z = 0, w = 0;
};
