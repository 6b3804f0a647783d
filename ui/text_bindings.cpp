#include "ui/text_bindings.h"

#include "ui/image.h"
#include "ui/text.h"
#include "ui/window_script.h"

void RegisterTextWindowTypes(TWindowScript& script) {
  script.AddWindowType("Bitmap", &TImage::Create);
  script.AddWindowType("Text", &TText::Create);
}
