// TAnimatedSprite: a sprite that shows a flip-book animation and runs the animation's
// script as its own task, so that the script can wait for time to pass between frames.
// Each sprite keeps its own frame; the animation data is shared.
//
// Use from a window:
//   auto sprite = std::make_shared<TAnimatedSprite>();
//   sprite->SetTasks(&modal->Tasks(), &modal->Clock());   // or the application's list
//   sprite->Load("anim/phone/phone.xml");
//   sprite->SetPosition(178, 291);
//   sprite->Play();                                       // runs "DoAnim"
//   in Draw: sprite->Draw();  (inside 2D drawing; position in the window's pixels)
//   sprite->IsPlaying() turns false when the script has finished.
#pragma once

#include <memory>
#include <string>

#include "gfx/animated_texture.h"
#include "gfx/sprite.h"

class TAnimationScript;
class TClock;
class TTaskList;

class TAnimatedSprite : public TSprite {
 public:
  TAnimatedSprite();
  ~TAnimatedSprite() override;

  const char* ClassName() const override { return "TAnimatedSprite"; }
  // An animated texture becomes the sprite's animation; anything else shows as it is.
  void SetDrawable(std::shared_ptr<TTexture> drawable) override;

  // Loads an animation (see LoadAnimatedTexture) and shows its first frame. False, and
  // nothing shown, when it cannot be loaded. A running script keeps running.
  bool Load(const std::string& name, const std::string& image = "", const std::string& mask = "");
  void SetAnimation(std::shared_ptr<TAnimatedTexture> animation);
  const std::shared_ptr<TAnimatedTexture>& Animation() const { return mAnimation; }

  // Where the script task runs and which clock paces it (not owned; both must outlive the
  // sprite's scripts). Without a list the application's task list and time are used.
  void SetTasks(TTaskList* tasks, TClock* clock);

  // Stops any running script and starts the animation's function (normally "DoAnim") as a
  // new script task. False when there is no animation or the script cannot start.
  bool Play(const std::string& function = "DoAnim");
  // Ends the running script; the frame stays where it is.
  void Stop();
  // Whether a script is running and not paused.
  bool IsPlaying() const;
  void Pause(bool paused);
  bool IsPaused() const { return mPaused; }

  // -1 hides the animation; indexes below -1 or not below the frame count are ignored.
  bool SetCurrentFrame(int index);
  int CurrentFrame() const { return mFrame; }

  TAnimationScript* Task() const { return mTask; }

 protected:
  void DrawSelf(const TDrawParams& drawing) override;
  bool PictureBox(float* left, float* top, float* width, float* height) const override;

 private:
  friend class TAnimationScript;
  void TaskGone(TAnimationScript* task);

  std::shared_ptr<TAnimatedTexture> mAnimation;
  int mFrame = 0;
  bool mPaused = false;
  TAnimationScript* mTask = nullptr;  // owned by its task list
  TTaskList* mTasks = nullptr;
  TClock* mClock = nullptr;
};
