// The engine's dialog vocabulary: the window types every window script knows ("Window",
// "Button", "TextEdit", "Bitmap", "Text") and the constants of the dialog library (message
// types, alignment bits, button kinds, layout codes, setting names). This table is the only
// place the scripts' names of these values are defined; the window script turns it into Lua
// globals before the dialog library's Lua text runs.
#pragma once

#include "ui/dialog_vocabulary.h"

const TDialogVocabulary& EngineVocabulary();
