#include "gfx/animated_texture.h"

#include <span>

#include "data/asset_manager.h"
#include "files/file.h"
#include "files/file_system.h"
#include "files/xml_node.h"
#include "frame/log.h"
#include "gfx/formats/animation_anm.h"
#include "gfx/formats/animation_xml.h"

const TAssetType TAnimatedTexture::kType = {"TAnimatedTexture", &TTexture::kType};

TAnimatedTexture::TAnimatedTexture(TAnimationData data, std::shared_ptr<TTexture> sheet)
    : TTexture(nullptr), mData(std::move(data)), mSheet(std::move(sheet)) {}

void TAnimatedTexture::Release() {
  if (mSheet) mSheet->Release();
}

void TAnimatedTexture::Restore() {
  if (mSheet) mSheet->Restore();
}

const TAnimationFrame* TAnimatedTexture::Frame(int index) const {
  if (index < 0 || index >= FrameCount()) return nullptr;
  return &mData.frames[static_cast<size_t>(index)];
}

bool TAnimatedTexture::SetCurrentFrame(int index) {
  if (index < -1 || index >= FrameCount()) return false;
  mCurrent = index;
  return true;
}

int TAnimatedTexture::GetWidth() const {
  const TAnimationFrame* frame = Frame(mCurrent);
  return frame ? frame->w : 0;
}

int TAnimatedTexture::GetHeight() const {
  const TAnimationFrame* frame = Frame(mCurrent);
  return frame ? frame->h : 0;
}

void TAnimatedTexture::Draw(const TDrawParams& drawing) {
  const TAnimationFrame* frame = Frame(mCurrent);
  // An empty frame hides the animation while it is current.
  if (!frame || frame->w <= 0 || frame->h <= 0 || !mSheet) return;
  TRect source{frame->x, frame->y, frame->x + frame->w, frame->y + frame->h};
  if (drawing.flags & kDrawSourceRect) {
    const TRect& part = drawing.source;  // relative to the frame
    source = Intersect(source, TRect{frame->x + part.left, frame->y + part.top,
                                     frame->x + part.right, frame->y + part.bottom});
    if (source.Empty()) return;
  }
  // Where the centre of the drawn part lies relative to the frame's origin point; a mirror
  // flips the picture around that point.
  float cx = static_cast<float>(source.left - frame->x) + source.Width() / 2.0f;
  float cy = static_cast<float>(source.top - frame->y) + source.Height() / 2.0f;
  if (drawing.flags & kDrawCentred) {
    cx -= frame->w / 2.0f;
    cy -= frame->h / 2.0f;
  } else {
    cx -= static_cast<float>(frame->regX);
    cy -= static_cast<float>(frame->regY);
  }
  if (drawing.flags & kDrawMirrorX) cx = -cx;
  if (drawing.flags & kDrawMirrorY) cy = -cy;
  TTransform2d transform{1, 0, 0, 1, cx, cy};
  if (frame->HasTransform()) {
    const auto& m = frame->transform;
    transform = Compose(TTransform2d{m[0], m[1], m[2], m[3], m[4], m[5]}, transform);
  }
  if (drawing.flags & kDrawTransform) transform = Compose(drawing.transform, transform);
  TDrawParams part = drawing;
  part.flags = (drawing.flags & (kDrawMirrorX | kDrawMirrorY)) | kDrawSourceRect | kDrawTransform;
  part.source = source;
  part.transform = transform;
  part.alpha = drawing.alpha * frame->alpha;
  mSheet->Draw(part);
}

std::string DefaultAnimationScript(int frameCount) {
  std::string script = "function DoAnim()\n    delay(60);\n";
  if (frameCount > 0) {
    script += "    frames{";
    for (int i = 1; i <= frameCount; ++i) {
      if (i > 1) script += ',';
      script += std::to_string(i);
    }
    script += "};\n";
  }
  script += "end\n";
  return script;
}

namespace {

// The file the name stands for: itself, or with ".xml" or ".anm" added.
std::string FindAnimationFile(const std::string& name) {
  for (const char* suffix : {"", ".xml", ".anm"}) {
    if (FileExists(name + suffix)) return name + suffix;
  }
  return "";
}

bool ReadAnimationFile(const std::string& file, TAnimationData* data, std::string* error) {
  if (file.find(".xml") != std::string::npos) {
    TXmlNode document;
    document.LoadFile(file);
    return ReadAnimationXml(document, data, error);
  }
  if (file.find(".anm") != std::string::npos) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(file, bytes)) {
      *error = "cannot be read";
      return false;
    }
    return ReadAnimationAnm(std::span<const uint8_t>(bytes), data, error);
  }
  *error = "is neither an .xml nor an .anm animation";
  return false;
}

}  // namespace

std::shared_ptr<TAnimatedTexture> MakeAnimatedTexture(TAnimationData data,
                                                      const std::string& folder,
                                                      const std::string& what) {
  if (!data.hasScript) {
    data.script = DefaultAnimationScript(static_cast<int>(data.frames.size()));
    data.hasScript = true;
  }
  const std::string image = folder + data.imageName;
  std::shared_ptr<TTexture> sheet = data.maskName.empty()
                                        ? GetTexture(image, 0)
                                        : GetTexture(image, folder + data.maskName, false);
  if (!sheet) {
    Log("Animation %s: its image %s cannot be loaded", what.c_str(), image.c_str());
    return nullptr;
  }
  return std::make_shared<TAnimatedTexture>(std::move(data), std::move(sheet));
}

std::shared_ptr<TAnimatedTexture> LoadAnimatedTexture(const std::string& name,
                                                      const std::string& image,
                                                      const std::string& mask) {
  const std::string key = image.empty() && mask.empty() ? name : name + ":" + image + ":" + mask;
  TAssetManager* manager = TAssetManager::Get();
  if (manager) {
    if (auto cached = manager->GetAssetAs<TAnimatedTexture>(key)) return cached;
  }
  const std::string file = FindAnimationFile(name);
  if (file.empty()) {
    Log("Animation %s not found", name.c_str());
    return nullptr;
  }
  TAnimationData data;
  std::string error;
  if (!ReadAnimationFile(file, &data, &error)) {
    Log("Animation %s refused: %s", file.c_str(), error.c_str());
    return nullptr;
  }
  if (!image.empty()) data.imageName = image;
  if (!mask.empty()) data.maskName = mask;
  const size_t slash = file.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? "" : file.substr(0, slash + 1);
  std::shared_ptr<TAnimatedTexture> animation = MakeAnimatedTexture(std::move(data), folder, file);
  if (animation && manager) manager->AddAsset(key, animation);
  return animation;
}
