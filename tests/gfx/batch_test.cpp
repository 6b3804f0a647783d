// Batching of consecutive triangle draws: index generation per primitive and the rules for
// when a batch must end.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/render_batch.h"

namespace {

// Records what reaches the device.
class TRecordingDevice : public TRenderDevice {
 public:
  const TDeviceCaps& Caps() const override { return caps; }
  int Width() const override { return 10; }
  int Height() const override { return 10; }
  bool BeginFrame() override { return true; }
  TDeviceResult Present(bool) override { return TDeviceResult::kOk; }
  TDeviceResult CreateSurface(int, int, unsigned, TSurfaceId*) override {
    return TDeviceResult::kFailed;
  }
  void DestroySurface(TSurfaceId) override {}
  bool Upload(TSurfaceId, const uint32_t*, int, int, int) override { return false; }
  bool SurfaceHasAlpha(TSurfaceId) const override { return false; }
  bool SetRenderTarget(TSurfaceId) override { return true; }
  bool SetViewport(const TRect&) override { return true; }
  void ClearDepth(float) override {}
  void ClearColor(uint32_t) override {}
  TDeviceResult Draw(const TDrawState&, int primitive, int kind, const void* vertices, int count,
                     const uint16_t* idx, int indexCount) override {
    ++calls;
    lastPrimitive = primitive;
    lastKind = kind;
    const auto* v = static_cast<const TVertexColored*>(vertices);
    xs.clear();
    for (int i = 0; i < count; ++i) xs.push_back(v[i].x);
    indices.assign(idx, idx + indexCount);
    return TDeviceResult::kOk;
  }
  bool CopyRect(TSurfaceId, const TRect&, TSurfaceId, const TRect&) override { return false; }
  bool ReadPixels(TSurfaceId, const TRect&, uint32_t*) override { return false; }

  TDeviceCaps caps;
  int calls = 0;
  int lastPrimitive = 0;
  int lastKind = -1;
  std::vector<float> xs;
  std::vector<uint16_t> indices;
};

std::vector<TVertexColored> Vertices(int count, float base) {
  std::vector<TVertexColored> v(count);
  for (int i = 0; i < count; ++i) v[i].x = base + static_cast<float>(i);
  return v;
}

TEST(RenderBatchTest, TriangleCounts) {
  EXPECT_EQ(TriangleCount(kTriangleList, 7), 2);
  EXPECT_EQ(TriangleCount(kTriangleFan, 4), 2);
  EXPECT_EQ(TriangleCount(kTriangleStrip, 5), 3);
  EXPECT_EQ(TriangleCount(kTriangleStrip, 2), 0);
  EXPECT_EQ(TriangleCount(kLineList, 6), 0);
  EXPECT_EQ(TriangleCount(kPointList, 6), 0);
}

TEST(RenderBatchTest, FansStripsAndListsBecomeOneIndexedList) {
  TRecordingDevice device;
  TRenderBatch batch;
  batch.Start(TDrawState{}, kVertex2d);
  auto fan = Vertices(4, 0), strip = Vertices(4, 10), list = Vertices(3, 20);
  uint16_t listIndices[3] = {2, 1, 0};
  ASSERT_TRUE(batch.Append(kTriangleFan, fan.data(), 4, nullptr, 0));
  ASSERT_TRUE(batch.Append(kTriangleStrip, strip.data(), 4, nullptr, 0));
  ASSERT_TRUE(batch.Append(kTriangleList, list.data(), 3, listIndices, 3));
  EXPECT_EQ(batch.PendingVertices(), 11);
  ASSERT_EQ(batch.Flush(device), TDeviceResult::kOk);
  EXPECT_EQ(device.calls, 1);
  EXPECT_EQ(device.lastPrimitive, kTriangleList);
  EXPECT_EQ(device.lastKind, kVertex2d);
  EXPECT_EQ(device.xs.size(), 11u);
  EXPECT_EQ(device.xs[4], 10.0f);
  // fan 0-1-2, 0-2-3; strip keeps its winding: 4-5-6, 6-5-7; list reversed: 10-9-8.
  EXPECT_EQ(device.indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 6, 5, 7, 10, 9, 8}));
  EXPECT_TRUE(batch.Empty());
  EXPECT_EQ(batch.Flush(device), TDeviceResult::kOk);
  EXPECT_EQ(device.calls, 1);  // nothing pending, nothing drawn
}

TEST(RenderBatchTest, RefusesWhatItCannotHold) {
  TRenderBatch batch;
  auto v = Vertices(4, 0);
  EXPECT_FALSE(batch.Append(kTriangleFan, v.data(), 4, nullptr, 0));  // not started
  batch.Start(TDrawState{}, kVertex2d);
  uint16_t bad[3] = {0, 1, 4};
  EXPECT_FALSE(batch.Append(kTriangleList, v.data(), 4, bad, 3));
  EXPECT_FALSE(batch.Append(kLineList, v.data(), 4, nullptr, 0));
  EXPECT_FALSE(batch.Append(kTriangleFan, v.data(), 2, nullptr, 0));
  EXPECT_TRUE(batch.Empty());
}

TEST(RenderBatchTest, AcceptsOnlyTheSameStateAndKindWithinSixteenBitIndices) {
  TRenderBatch batch;
  TDrawState state;
  state.texture = 3;
  batch.Start(state, kVertex2d);
  EXPECT_TRUE(batch.Accepts(state, kVertex2d, 4));
  EXPECT_FALSE(batch.Accepts(state, kVertexColored, 4));
  TDrawState other = state;
  other.texture = 4;
  EXPECT_FALSE(batch.Accepts(other, kVertex2d, 4));
  other = state;
  other.blend.dst = TBlendFactor::kOne;
  EXPECT_FALSE(batch.Accepts(other, kVertex2d, 4));
  other = state;
  other.projection.m[0] = 2;
  EXPECT_FALSE(batch.Accepts(other, kVertex2d, 4));
  EXPECT_FALSE(batch.Accepts(state, kVertex2d, 70000));
  std::vector<TVertexColored> many(65532);
  ASSERT_TRUE(batch.Append(kTriangleList, many.data(), 65532, nullptr, 0));
  EXPECT_TRUE(batch.Accepts(state, kVertex2d, 3));
  EXPECT_FALSE(batch.Accepts(state, kVertex2d, 4));
}

}  // namespace
