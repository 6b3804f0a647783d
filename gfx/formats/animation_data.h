// The data of a flip-book animation as its files hold it: one image with every frame, the
// frame list (each frame's rectangle in the image, its origin point, alpha, an optional 2D
// transform and named anchors) and the Lua script that paces the frames. Both file forms,
// the XML description and the packed ".anm", read into and write from this one structure,
// so a file converted from one form to the other describes the same animation.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TAnimationAnchor {
  std::string name;
  int x = 0;
  int y = 0;
  bool operator==(const TAnimationAnchor&) const = default;
};

struct TAnimationFrame {
  // A first transform value of kNoTransform means the frame has no transform of its own.
  static constexpr float kNoTransform = -10000000.0f;

  std::string name;
  int x = 0, y = 0, w = 0, h = 0;  // rectangle in the image, pixels
  int regX = 0, regY = 0;          // origin point, relative to the rectangle
  float alpha = 1.0f;
  // a, b, c, d, tx, ty: x' = a*x + c*y + tx, y' = b*x + d*y + ty.
  std::array<float, 6> transform = {kNoTransform, 0, 0, 0, 0, 0};
  std::vector<TAnimationAnchor> anchors;

  bool HasTransform() const { return transform[0] != kNoTransform; }
  bool operator==(const TAnimationFrame&) const = default;
};

struct TAnimationData {
  // The packed form's current version: 2 stores each frame's alpha, 1 did not (and carried
  // four unused floats after the image size).
  static constexpr int32_t kPackedVersion = 2;

  std::string name;
  std::string source;
  std::string imageName;  // relative to the animation file's folder
  std::string maskName;   // "" when the image carries its own alpha
  int imageRegX = 0, imageRegY = 0;
  int imageWidth = 0, imageHeight = 0;
  std::vector<TAnimationFrame> frames;
  bool hasScript = false;  // a file without a script gets a generated one when loaded
  std::string script;

  // Fields of the packed form that nothing reads, kept so that a packed file written back
  // is byte for byte the file that was read.
  uint32_t packedReserved = 0;
  int32_t packedVersion = kPackedVersion;
  std::array<float, 4> packedImageExtra = {0, 0, 0, 0};

  int MaxFrameWidth() const;
  int MaxFrameHeight() const;
  bool operator==(const TAnimationData&) const = default;
};

// The largest counts and lengths either reader accepts. They are far above anything an
// animation needs and keep a damaged count from asking for gigabytes.
constexpr uint32_t kMaxAnimationFrames = 65536;
constexpr uint32_t kMaxFrameAnchors = 1024;
constexpr uint32_t kMaxAnimationString = 1u << 20;
