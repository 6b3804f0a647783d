#include "ui/text_bindings.h"

#include "ui/image.h"
#include "ui/text.h"
#include "ui/window_script.h"

namespace {

// Colour tables for "font" keys: Color takes 0..255 components (alpha 1 when left out),
// FColor takes them as given. Defined only where the dialog library has none of its own.
constexpr const char* kColourFunctions =
    "if Color == nil then function Color( r, g, b, a )\n"
    "  if a == nil then a = 1 else a = a / 255 end\n"
    "  return { (r or 0) / 255, (g or 0) / 255, (b or 0) / 255, a }\n"
    "end end\n"
    "if FColor == nil then function FColor( r, g, b, a )\n"
    "  return { r or 0, g or 0, b or 0, a or 1 }\n"
    "end end\n";

}  // namespace

void RegisterTextWindowTypes(TWindowScript& script) {
  script.DoLuaString(kColourFunctions);
  script.AddWindowType("Bitmap", &TImage::Create);
  script.AddWindowType("Text", &TText::Create);
}
