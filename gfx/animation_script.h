// TAnimationScript: the script task of an animated sprite. It runs the animation library
// ("ganimationscript"), then the animation's own script, then starts one of its functions
// (normally "DoAnim") as a coroutine that the task resumes on every update pass once the
// time it waits for has come on the sprite's clock. The script's native functions act on
// the sprite; when the sprite goes away the task ends at its next run.
#pragma once

#include <string>

#include "script/script.h"

class TAnimatedSprite;

class TAnimationScript : public TScript {
 public:
  explicit TAnimationScript(TAnimatedSprite* sprite);
  ~TAnimationScript() override;

  // Runs the library and `script`, then starts `function`. False when the script does not
  // compile or has no such function (logged).
  bool Start(const std::string& script, const std::string& function);

  bool DoTask() override;
  bool Animate() override;

  // The sprite is gone: the task ends at its next run and uses no clock any more.
  void Detach();
  void SetPaused(bool paused) { mPaused = paused; }
  bool IsPaused() const { return mPaused; }
  // The coroutine is alive and not paused.
  bool IsPlaying() const;
  // Clock time at which the coroutine is resumed next (-1: on the next pass).
  int WakeTime() const { return mWake; }

 private:
  void BindFunctions();

  // The script's native functions.
  void SetCurrentFrame(int index);
  int WaitLuaNextFrame(lua_State* L);
  void SetAlpha(float alpha);
  void SetLayer(int layer);
  void Pause(bool paused, int which);
  bool IsPlayingWhich(int which);
  bool Load(const std::string& name, const std::string& image, const std::string& mask);
  std::string GetScript();
  int Die(lua_State* L);
  void RemoveSprite();
  int Random(int a, int b);

  // The sprite itself (which -1) or its child sprite number `which`.
  TAnimatedSprite* Target(int which) const;

  TAnimatedSprite* mSprite;
  int mWake = -1;
  bool mPaused = false;
  bool mDead = false;
};
