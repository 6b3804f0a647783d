#include "gfx/formats/animation_anm.h"

#include <bit>
#include <cstring>

namespace {

// Reads little-endian fields from a byte range; the first field that does not fit marks
// the reader failed and every later read answers zero.
class TAnmReader {
 public:
  explicit TAnmReader(std::span<const uint8_t> bytes) : mBytes(bytes) {}

  bool Failed() const { return mFailed; }
  size_t Remaining() const { return mBytes.size() - mPos; }
  const std::string& Problem() const { return mProblem; }

  void Fail(std::string problem) {
    if (!mFailed) mProblem = std::move(problem);
    mFailed = true;
  }

  bool Tag(const char* tag) {
    if (mFailed) return false;
    if (Remaining() < 4 || std::memcmp(mBytes.data() + mPos, tag, 4) != 0) {
      Fail(std::string("expected the tag \"") + tag + "\" at byte " + std::to_string(mPos));
      return false;
    }
    mPos += 4;
    return true;
  }
  bool PeekTag(const char* tag) const {
    return !mFailed && Remaining() >= 4 && std::memcmp(mBytes.data() + mPos, tag, 4) == 0;
  }

  uint32_t U32(const char* what) {
    if (mFailed) return 0;
    if (Remaining() < 4) {
      Fail(std::string("the file ends inside ") + what);
      return 0;
    }
    const uint8_t* p = mBytes.data() + mPos;
    mPos += 4;
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  }
  int32_t I32(const char* what) { return static_cast<int32_t>(U32(what)); }
  float F32(const char* what) { return std::bit_cast<float>(U32(what)); }

  std::string String(const char* what) {
    const uint32_t length = U32(what);
    if (mFailed) return {};
    if (length > Remaining() || length > kMaxAnimationString) {
      Fail(std::string(what) + " claims " + std::to_string(length) + " bytes, " +
           std::to_string(Remaining()) + " are left");
      return {};
    }
    std::string text(reinterpret_cast<const char*>(mBytes.data() + mPos), length);
    mPos += length;
    return text;
  }

  // A count of records that each take at least minSize bytes.
  uint32_t Count(const char* what, uint32_t minSize, uint32_t limit) {
    const uint32_t count = U32(what);
    if (mFailed) return 0;
    if (count > limit || static_cast<uint64_t>(count) * minSize > Remaining()) {
      Fail(std::string(what) + " of " + std::to_string(count) + " does not fit the file");
      return 0;
    }
    return count;
  }

 private:
  std::span<const uint8_t> mBytes;
  size_t mPos = 0;
  bool mFailed = false;
  std::string mProblem;
};

class TAnmWriter {
 public:
  void Tag(const char* tag) { mOut.insert(mOut.end(), tag, tag + 4); }
  void U32(uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) mOut.push_back(static_cast<uint8_t>(v >> shift));
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float v) { U32(std::bit_cast<uint32_t>(v)); }
  void String(const std::string& s) {
    U32(static_cast<uint32_t>(s.size()));
    mOut.insert(mOut.end(), s.begin(), s.end());
  }
  std::vector<uint8_t> Take() { return std::move(mOut); }

 private:
  std::vector<uint8_t> mOut;
};

// Smallest sizes of a frame and an anchor record (empty names, no anchors, no alpha).
constexpr uint32_t kMinFrameBytes = 6 * 4 + 6 * 4 + 4 + 4;
constexpr uint32_t kMinAnchorBytes = 2 * 4 + 4;

}  // namespace

bool ReadAnimationAnm(std::span<const uint8_t> bytes, TAnimationData* out, std::string* error) {
  TAnmReader in(bytes);
  TAnimationData data;
  if (in.Tag("ANIM")) {
    data.packedReserved = in.U32("the header");
    data.packedVersion = in.I32("the header");
    data.name = in.String("the name");
    data.source = in.String("the source");
  }
  const bool hasAlpha = data.packedVersion >= 2;
  if (in.Tag("IMGN")) {
    data.imageRegX = in.I32("the image origin");
    data.imageRegY = in.I32("the image origin");
    data.imageWidth = in.I32("the image size");
    data.imageHeight = in.I32("the image size");
    if (data.packedVersion == 1)
      for (float& value : data.packedImageExtra) value = in.F32("the image record");
    data.imageName = in.String("the image name");
    data.maskName = in.String("the mask name");
  }
  if (in.Tag("FRMS")) {
    const uint32_t count = in.Count("the frame count", kMinFrameBytes, kMaxAnimationFrames);
    data.frames.reserve(count);
    for (uint32_t i = 0; i < count && !in.Failed(); ++i) {
      TAnimationFrame frame;
      frame.regX = in.I32("a frame");
      frame.regY = in.I32("a frame");
      frame.x = in.I32("a frame");
      frame.y = in.I32("a frame");
      frame.w = in.I32("a frame");
      frame.h = in.I32("a frame");
      if (hasAlpha) frame.alpha = in.F32("a frame's alpha");
      for (float& value : frame.transform) value = in.F32("a frame's transform");
      frame.name = in.String("a frame name");
      const uint32_t anchors = in.Count("an anchor count", kMinAnchorBytes, kMaxFrameAnchors);
      frame.anchors.reserve(anchors);
      for (uint32_t a = 0; a < anchors && !in.Failed(); ++a) {
        TAnimationAnchor anchor;
        anchor.x = in.I32("an anchor");
        anchor.y = in.I32("an anchor");
        anchor.name = in.String("an anchor name");
        frame.anchors.push_back(std::move(anchor));
      }
      if (!in.Failed() && (frame.w < 0 || frame.h < 0))
        in.Fail("frame " + std::to_string(i) + " has a negative size");
      data.frames.push_back(std::move(frame));
    }
  }
  // The script section is optional; anything else after the frames is damage.
  if (!in.Failed() && in.Remaining() > 0) {
    if (in.Tag("SCRP")) {
      data.hasScript = true;
      data.script = in.String("the script");
    }
    if (!in.Failed() && in.Remaining() > 0)
      in.Fail(std::to_string(in.Remaining()) + " bytes follow the end of the animation");
  }
  if (in.Failed()) {
    if (error) *error = in.Problem();
    return false;
  }
  *out = std::move(data);
  return true;
}

std::vector<uint8_t> WriteAnimationAnm(const TAnimationData& data) {
  TAnmWriter out;
  out.Tag("ANIM");
  out.U32(data.packedReserved);
  out.I32(data.packedVersion);
  out.String(data.name);
  out.String(data.source);
  out.Tag("IMGN");
  out.I32(data.imageRegX);
  out.I32(data.imageRegY);
  out.I32(data.imageWidth);
  out.I32(data.imageHeight);
  if (data.packedVersion == 1)
    for (float value : data.packedImageExtra) out.F32(value);
  out.String(data.imageName);
  out.String(data.maskName);
  out.Tag("FRMS");
  out.U32(static_cast<uint32_t>(data.frames.size()));
  for (const TAnimationFrame& frame : data.frames) {
    out.I32(frame.regX);
    out.I32(frame.regY);
    out.I32(frame.x);
    out.I32(frame.y);
    out.I32(frame.w);
    out.I32(frame.h);
    if (data.packedVersion >= 2) out.F32(frame.alpha);
    for (float value : frame.transform) out.F32(value);
    out.String(frame.name);
    out.U32(static_cast<uint32_t>(frame.anchors.size()));
    for (const TAnimationAnchor& anchor : frame.anchors) {
      out.I32(anchor.x);
      out.I32(anchor.y);
      out.String(anchor.name);
    }
  }
  if (data.hasScript) {
    out.Tag("SCRP");
    out.String(data.script);
  }
  return out.Take();
}
