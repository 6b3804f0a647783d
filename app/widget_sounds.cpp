#include "app/widget_sounds.h"

#include "sound/sound.h"
#include "sound/sound_manager.h"

namespace {

class TWidgetSound : public TPlayableSound {
 public:
  explicit TWidgetSound(std::shared_ptr<TSound> sound) : mSound(std::move(sound)) {}
  void Play() override {
    if (TSoundManager* manager = TSoundManager::Get()) manager->PlayOneShot(mSound);
  }

 private:
  std::shared_ptr<TSound> mSound;
};

}  // namespace

std::shared_ptr<TPlayableSound> TWidgetSounds::GetSound(const std::string& file) {
  std::shared_ptr<TSound> sound = TSound::GetSound(file, true, TSoundLink::kEffectsGroup);
  if (!sound) return nullptr;
  return std::make_shared<TWidgetSound>(std::move(sound));
}
