// Collects consecutive triangle draws that share one draw state into a single indexed
// triangle list, so a board of a few hundred sprites costs a handful of device calls.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/render_device.h"

class TRenderBatch {
 public:
  // Whether triangles of this kind and state can join the pending batch.
  bool Accepts(const TDrawState& state, int kind, int vertexCount) const;
  // Starts a new batch (the pending one must have been flushed).
  void Start(const TDrawState& state, int kind);
  // Appends a triangle list, strip or fan (indices optional, 16-bit, into `vertices`).
  // Returns false for other primitives or out-of-range indices (nothing appended).
  bool Append(int primitive, const void* vertices, int vertexCount, const uint16_t* indices,
              int indexCount);
  bool Empty() const { return mIndices.empty(); }
  // Hands the pending triangles to the device and empties the batch.
  TDeviceResult Flush(TRenderDevice& device);
  void Clear();

  int PendingVertices() const { return mVertexCount; }
  int DrawCalls() const { return mDrawCalls; }  // device calls made so far
  void ResetDrawCalls() { mDrawCalls = 0; }

 private:
  TDrawState mState;
  int mKind = -1;
  bool mStarted = false;
  int mVertexCount = 0;
  std::vector<uint8_t> mVertices;
  std::vector<uint16_t> mIndices;
  int mDrawCalls = 0;
};

// Number of triangles a primitive of `count` elements describes (0 for non-triangles).
int TriangleCount(int primitive, int count);
