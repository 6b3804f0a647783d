#include "gfx/render_batch.h"

#include <cstring>

namespace {
constexpr int kMaxBatchVertices = 65535;
}

int TriangleCount(int primitive, int count) {
  switch (primitive) {
    case kTriangleList:
      return count / 3;
    case kTriangleStrip:
    case kTriangleFan:
      return count >= 3 ? count - 2 : 0;
    default:
      return 0;
  }
}

bool TRenderBatch::Accepts(const TDrawState& state, int kind, int vertexCount,
                           const TRect& deviceRect) const {
  return mStarted && kind == mKind && mVertexCount + vertexCount <= kMaxBatchVertices &&
         deviceRect == mDeviceRect && state == mState;
}

void TRenderBatch::Start(const TDrawState& state, int kind, const TRect& deviceRect) {
  Clear();
  mState = state;
  mKind = kind;
  mDeviceRect = deviceRect;
  mStarted = true;
}

bool TRenderBatch::Append(int primitive, const void* vertices, int vertexCount,
                          const uint16_t* indices, int indexCount, float dx, float dy) {
  int elements = indices ? indexCount : vertexCount;
  int triangles = TriangleCount(primitive, elements);
  if (!mStarted || !vertices || vertexCount <= 0 || triangles == 0) return false;
  if (vertexCount > kMaxBatchVertices - mVertexCount) return false;
  if (indices) {
    for (int i = 0; i < indexCount; ++i)
      if (indices[i] >= vertexCount) return false;
  }
  auto element = [&](int i) -> uint16_t {
    return static_cast<uint16_t>(mVertexCount + (indices ? indices[i] : i));
  };
  size_t start = mIndices.size();
  mIndices.resize(start + static_cast<size_t>(triangles) * 3);
  uint16_t* out = mIndices.data() + start;
  for (int t = 0; t < triangles; ++t) {
    switch (primitive) {
      case kTriangleList:
        *out++ = element(t * 3), *out++ = element(t * 3 + 1), *out++ = element(t * 3 + 2);
        break;
      case kTriangleStrip:  // keep the winding of every other triangle
        if (t % 2 == 0)
          *out++ = element(t), *out++ = element(t + 1), *out++ = element(t + 2);
        else
          *out++ = element(t + 1), *out++ = element(t), *out++ = element(t + 2);
        break;
      default:  // fan
        *out++ = element(0), *out++ = element(t + 1), *out++ = element(t + 2);
        break;
    }
  }
  size_t bytes = static_cast<size_t>(vertexCount) * kVertexStride;
  size_t oldSize = mVertices.size();
  mVertices.resize(oldSize + bytes);
  uint8_t* added = mVertices.data() + oldSize;
  std::memcpy(added, vertices, bytes);
  if (dx != 0 || dy != 0) {
    for (int i = 0; i < vertexCount; ++i) {
      float xy[2];
      uint8_t* vertex = added + static_cast<size_t>(i) * kVertexStride;
      std::memcpy(xy, vertex, sizeof xy);
      xy[0] += dx;
      xy[1] += dy;
      std::memcpy(vertex, xy, sizeof xy);
    }
  }
  mVertexCount += vertexCount;
  return true;
}

TDeviceResult TRenderBatch::Flush(TRenderDevice& device) {
  TDeviceResult result = TDeviceResult::kOk;
  if (!mIndices.empty()) {
    result = device.Draw(mState, kTriangleList, mKind, mVertices.data(), mVertexCount,
                         mIndices.data(), static_cast<int>(mIndices.size()));
    ++mDrawCalls;
    mTriangles += static_cast<int64_t>(mIndices.size() / 3);
  }
  Clear();
  return result;
}

void TRenderBatch::Clear() {
  mVertices.clear();
  mIndices.clear();
  mVertexCount = 0;
  mStarted = false;
  mKind = -1;
}
