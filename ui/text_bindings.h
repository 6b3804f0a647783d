// The dialog scripts' window types of the text and image windows: "Bitmap" (TImage) and
// "Text" (TText). Their script functions (GetLabel, SetLabel, SetBitmap, ImageLoaded) reach
// them through the hooks of ui/widget_hooks.h.
#pragma once

class TWindowScript;

void RegisterTextWindowTypes(TWindowScript& script);
