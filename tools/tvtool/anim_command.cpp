// tvtool anim IN [OUT]: reads an animation in either form (".xml", plain or compressed,
// or packed ".anm"), prints a summary of it, and with OUT writes it in the form OUT's
// extension names. Converting a packed file to XML and back gives the same bytes.
#include <cstdio>
#include <span>
#include <string>

#include "gfx/formats/animation_anm.h"
#include "gfx/formats/animation_xml.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/tool_io.h"

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void PrintSummary(const TAnimationData& data) {
  std::printf("name \"%s\", source \"%s\"\n", data.name.c_str(), data.source.c_str());
  std::printf("image %s (%d x %d, origin %d, %d)%s%s\n", data.imageName.c_str(), data.imageWidth,
              data.imageHeight, data.imageRegX, data.imageRegY,
              data.maskName.empty() ? "" : ", mask ", data.maskName.c_str());
  std::printf("%zu frames, largest %d x %d\n", data.frames.size(), data.MaxFrameWidth(),
              data.MaxFrameHeight());
  for (size_t i = 0; i < data.frames.size(); ++i) {
    const TAnimationFrame& f = data.frames[i];
    std::printf("  %3zu %-16s %4d,%-4d %3d x %-3d origin %d,%d", i + 1, f.name.c_str(), f.x, f.y,
                f.w, f.h, f.regX, f.regY);
    if (f.alpha != 1.0f) std::printf(" alpha %g", static_cast<double>(f.alpha));
    if (f.HasTransform()) {
      std::printf(" xform");
      for (float v : f.transform) std::printf(" %g", static_cast<double>(v));
    }
    for (const TAnimationAnchor& a : f.anchors) std::printf(" @%s=%d,%d", a.name.c_str(), a.x, a.y);
    std::printf("\n");
  }
  if (data.hasScript)
    std::printf("script:\n%s%s", data.script.c_str(),
                data.script.empty() || data.script.back() == '\n' ? "" : "\n");
  else
    std::printf("no script (every frame in order, 60 ms each)\n");
}

int RunAnim(const TToolArguments& args) {
  if (args.positional.empty() || args.positional.size() > 2) return ToolUsage("anim");
  const std::string& in = args.positional[0];
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadDiskFile(in, bytes, error)) return ToolError("anim", error);
  TAnimationData data;
  const bool packed = EndsWith(in, ".anm");
  const bool read =
      packed ? ReadAnimationAnm(std::span<const uint8_t>(bytes), &data, &error)
             : ReadAnimationXml(
                   std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                   &data, &error);
  if (!read) return ToolError("anim", in + ": " + error);
  PrintSummary(data);
  if (args.positional.size() == 1) return 0;
  const std::string& out = args.positional[1];
  std::vector<uint8_t> written;
  if (EndsWith(out, ".anm")) {
    written = WriteAnimationAnm(data);
  } else if (EndsWith(out, ".xml")) {
    const std::string text = WriteAnimationXml(data);
    written.assign(text.begin(), text.end());
  } else {
    return ToolError("anim", out + ": the output must end in .xml or .anm");
  }
  if (!WriteDiskFile(out, written, error)) return ToolError("anim", error);
  return 0;
}

const TCommandRegistration kAnim{
    "anim", "IN [OUT]",
    "summarise an animation (.xml or .anm); with OUT convert it to the other form", &RunAnim};

}  // namespace
