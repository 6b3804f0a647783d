#include "gfx/formats/animation_xml.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "files/xml_node.h"

namespace {

// Integer attributes read like the C library's atoi, without its overflow: leading blanks,
// a sign and digits; anything else reads as 0. Values beyond 32 bits saturate.
int IntAttribute(const TXmlNode& node, std::string_view name, int fallback = 0) {
  if (!node.HasAttribute(name)) return fallback;
  const std::string text = node.GetAttribute(name);
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int>(value);
}

float FloatAttribute(const TXmlNode& node, std::string_view name, float fallback) {
  if (!node.HasAttribute(name)) return fallback;
  return std::strtof(node.GetAttribute(name).c_str(), nullptr);
}

// Six numbers separated by blanks.
bool ParseTransform(const std::string& text, std::array<float, 6>* out) {
  const char* p = text.c_str();
  for (float& value : *out) {
    char* end = nullptr;
    value = std::strtof(p, &end);
    if (end == p) return false;
    p = end;
  }
  return true;
}

std::string FloatText(float value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
  return buffer;
}

bool Refuse(std::string* error, std::string reason) {
  if (error) *error = std::move(reason);
  return false;
}

}  // namespace

bool ReadAnimationXml(const TXmlNode& document, TAnimationData* out, std::string* error) {
  const TXmlNode* sequence = document.FindChild("sequence");
  if (!sequence) return Refuse(error, "no <sequence> element");
  const TXmlNode* img = sequence->FindChild("img");
  if (!img) return Refuse(error, "no <img> element");
  TAnimationData data;
  data.name = sequence->GetAttribute("name");
  data.source = sequence->GetAttribute("source");
  data.imageName = img->GetAttribute("name");
  data.maskName = img->GetAttribute("mask");
  data.imageRegX = IntAttribute(*img, "regx");
  data.imageRegY = IntAttribute(*img, "regy");
  data.imageWidth = IntAttribute(*img, "w");
  data.imageHeight = IntAttribute(*img, "h");
  if (const TXmlNode* list = sequence->FindChild("framelist")) {
    TAnimationFrame previous;
    for (const auto& child : list->Children()) {
      if (child->GetName() != "frame") continue;
      if (data.frames.size() >= kMaxAnimationFrames)
        return Refuse(error, "more than " + std::to_string(kMaxAnimationFrames) + " frames");
      const TXmlNode& node = *child;
      const std::string number = std::to_string(data.frames.size());
      TAnimationFrame frame;
      frame.name = node.GetAttribute("name");
      frame.x = IntAttribute(node, "x");
      frame.y = IntAttribute(node, "y");
      frame.w = IntAttribute(node, "w");
      frame.h = IntAttribute(node, "h");
      if (frame.w < 0 || frame.h < 0)
        return Refuse(error, "frame " + number + " has a negative size");
      frame.alpha = FloatAttribute(node, "alpha", 1.0f);
      frame.regX = IntAttribute(node, "regx", previous.regX);
      frame.regY = IntAttribute(node, "regy", previous.regY);
      frame.transform = previous.transform;
      if (node.HasAttribute("xform") &&
          !ParseTransform(node.GetAttribute("xform"), &frame.transform))
        return Refuse(error, "frame " + number + ": \"xform\" needs six numbers");
      for (const auto& anchorNode : node.Children()) {
        if (anchorNode->GetName() != "anchor") continue;
        if (frame.anchors.size() >= kMaxFrameAnchors)
          return Refuse(error, "frame " + number + " has too many anchors");
        frame.anchors.push_back(TAnimationAnchor{anchorNode->GetAttribute("name"),
                                                 IntAttribute(*anchorNode, "x"),
                                                 IntAttribute(*anchorNode, "y")});
      }
      previous = frame;
      data.frames.push_back(std::move(frame));
    }
  }
  if (const TXmlNode* script = sequence->FindChild("script")) {
    data.hasScript = true;
    data.script = script->GetAttribute("luascript");
  }
  *out = std::move(data);
  return true;
}

bool ReadAnimationXml(std::string_view text, TAnimationData* out, std::string* error) {
  TXmlNode document;
  document.Parse(text);
  return ReadAnimationXml(document, out, error);
}

std::string WriteAnimationXml(const TAnimationData& data) {
  TXmlNode sequence("sequence");
  sequence.SetAttribute("name", data.name);
  sequence.SetAttribute("source", data.source);
  TXmlNode* img = sequence.AddChild("img");
  img->SetAttribute("regx", data.imageRegX);
  img->SetAttribute("regy", data.imageRegY);
  img->SetAttribute("w", data.imageWidth);
  img->SetAttribute("h", data.imageHeight);
  img->SetAttribute("name", data.imageName);
  if (!data.maskName.empty()) img->SetAttribute("mask", data.maskName);
  TXmlNode* list = sequence.AddChild("framelist");
  TAnimationFrame previous;
  for (const TAnimationFrame& frame : data.frames) {
    TXmlNode* node = list->AddChild("frame");
    node->SetAttribute("x", frame.x);
    node->SetAttribute("y", frame.y);
    node->SetAttribute("w", frame.w);
    node->SetAttribute("h", frame.h);
    node->SetAttribute("name", frame.name);
    if (frame.alpha != 1.0f) node->SetAttribute("alpha", FloatText(frame.alpha));
    node->SetAttribute("regx", frame.regX);
    node->SetAttribute("regy", frame.regY);
    // Written whenever it differs from what the frame would inherit; "none" is written as
    // its marker value when a frame without a transform follows one with a transform.
    if (frame.transform != previous.transform) {
      std::string text;
      for (float value : frame.transform) {
        if (!text.empty()) text += ' ';
        text += FloatText(value);
      }
      node->SetAttribute("xform", text);
    }
    for (const TAnimationAnchor& anchor : frame.anchors) {
      TXmlNode* a = node->AddChild("anchor");
      a->SetAttribute("name", anchor.name);
      a->SetAttribute("x", anchor.x);
      a->SetAttribute("y", anchor.y);
    }
    previous = frame;
  }
  if (data.hasScript) sequence.AddChild("script")->SetAttribute("luascript", data.script);
  return sequence.ToString();
}
