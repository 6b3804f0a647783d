#include "game/window/editor_prompts.h"

#include <string>

#include "frame/log.h"

void RequestEditorPrompt(std::string_view bodyKey) {
  Log("Editor: prompt %s asked for", std::string(bodyKey).c_str());
}
