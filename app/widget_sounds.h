// The widgets' sounds (button clicks and roll-overs) from the sound subsystem: each file is a
// preloaded sound of the effects group, played through the sound manager so that a click
// plays to its end even when its button goes away with the dialog the click closed.
#pragma once

#include <memory>
#include <string>

#include "ui/sound_player.h"

class TWidgetSounds : public TSoundPlayer {
 public:
  std::shared_ptr<TPlayableSound> GetSound(const std::string& file) override;
};
