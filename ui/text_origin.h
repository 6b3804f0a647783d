// The rotation origin of a text window, one axis at a time, resolved like a window position
// (the encoded layout values) inside the text's own box. Kept apart from ui/layout.h, whose
// alignment names clash with the text layout's.
#pragma once

int ResolveTextOrigin(int pos, int boxSize, bool centre, bool far);
