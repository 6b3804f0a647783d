// Collects consecutive triangle draws that share one draw state into a single indexed
// triangle list, so a board of a few hundred sprites costs a handful of device calls.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/render_device.h"

class TRenderBatch {
 public:
  // Whether triangles of this kind and state, meant for the device viewport `deviceRect`,
  // can join the pending batch.
  bool Accepts(const TDrawState& state, int kind, int vertexCount,
               const TRect& deviceRect = {}) const;
  // Starts a new batch (the pending one must have been flushed) drawn with the device
  // viewport `deviceRect`.
  void Start(const TDrawState& state, int kind, const TRect& deviceRect = {});
  // Appends a triangle list, strip or fan (indices optional, 16-bit, into `vertices`),
  // moving every vertex by (dx, dy) (kinds 1 and 2: their first two floats are x and y).
  // Returns false for other primitives or out-of-range indices (nothing appended).
  bool Append(int primitive, const void* vertices, int vertexCount, const uint16_t* indices,
              int indexCount, float dx = 0, float dy = 0);
  bool Empty() const { return mIndices.empty(); }
  // Hands the pending triangles to the device and empties the batch.
  TDeviceResult Flush(TRenderDevice& device);
  void Clear();

  int PendingVertices() const { return mVertexCount; }
  // The device viewport the pending triangles are meant for.
  const TRect& DeviceRect() const { return mDeviceRect; }
  int DrawCalls() const { return mDrawCalls; }      // device calls made so far
  int64_t Triangles() const { return mTriangles; }  // triangles handed over so far
  void ResetDrawCalls() { mDrawCalls = 0; }

 private:
  TDrawState mState;
  int mKind = -1;
  TRect mDeviceRect;
  bool mStarted = false;
  int mVertexCount = 0;
  std::vector<uint8_t> mVertices;
  std::vector<uint16_t> mIndices;
  int mDrawCalls = 0;
  int64_t mTriangles = 0;
};

// Number of triangles a primitive of `count` elements describes (0 for non-triangles).
int TriangleCount(int primitive, int count);
