#include "gfx/animated_sprite.h"

#include "frame/application.h"
#include "frame/log.h"
#include "frame/task_list.h"
#include "gfx/animation_script.h"

TAnimatedSprite::TAnimatedSprite() = default;

TAnimatedSprite::~TAnimatedSprite() {
  if (mTask) mTask->Detach();
}

void TAnimatedSprite::SetDrawable(std::shared_ptr<TTexture> drawable) {
  if (drawable && drawable->IsKindOf(TAnimatedTexture::kType)) {
    SetAnimation(std::static_pointer_cast<TAnimatedTexture>(std::move(drawable)));
    return;
  }
  mAnimation.reset();
  TSprite::SetDrawable(std::move(drawable));
}

void TAnimatedSprite::SetAnimation(std::shared_ptr<TAnimatedTexture> animation) {
  mAnimation = std::move(animation);
  mFrame = 0;
  TSprite::SetDrawable(mAnimation);
}

bool TAnimatedSprite::Load(const std::string& name, const std::string& image,
                           const std::string& mask) {
  std::shared_ptr<TAnimatedTexture> animation = LoadAnimatedTexture(name, image, mask);
  SetAnimation(animation);
  return animation != nullptr;
}

void TAnimatedSprite::SetTasks(TTaskList* tasks, TClock* clock) {
  mTasks = tasks;
  mClock = clock;
}

bool TAnimatedSprite::Play(const std::string& function) {
  Stop();
  if (!mAnimation) return false;
  TTaskList* tasks = mTasks;
  if (!tasks && TApplication::Get()) tasks = &TApplication::Get()->GetTaskList();
  if (!tasks) {
    Log("Animated sprite: no task list to run the animation's script on");
    return false;
  }
  auto* task = new TAnimationScript(this);
  task->SetClock(mClock);
  task->SetPaused(mPaused);
  tasks->Add(task);  // the list owns the task from here on
  mTask = task;
  if (!task->Start(mAnimation->Script(), function)) {
    Stop();
    return false;
  }
  return true;
}

void TAnimatedSprite::Stop() {
  if (!mTask) return;
  TAnimationScript* task = mTask;
  mTask = nullptr;
  task->Detach();
}

bool TAnimatedSprite::IsPlaying() const {
  return mTask && mTask->IsPlaying();
}

void TAnimatedSprite::Pause(bool paused) {
  mPaused = paused;
  if (mTask) mTask->SetPaused(paused);
}

bool TAnimatedSprite::SetCurrentFrame(int index) {
  if (!mAnimation || index < -1 || index >= mAnimation->FrameCount()) return false;
  mFrame = index;
  return true;
}

void TAnimatedSprite::TaskGone(TAnimationScript* task) {
  if (mTask == task) mTask = nullptr;
}

void TAnimatedSprite::DrawSelf(const TDrawParams& drawing) {
  if (!mAnimation) {
    TSprite::DrawSelf(drawing);
    return;
  }
  mAnimation->SetCurrentFrame(mFrame);
  mAnimation->Draw(drawing);
}

bool TAnimatedSprite::PictureBox(float* left, float* top, float* width, float* height) const {
  if (!mAnimation) return TSprite::PictureBox(left, top, width, height);
  const TAnimationFrame* frame = mAnimation->Frame(mFrame);
  if (!frame || frame->w <= 0 || frame->h <= 0) return false;
  *width = static_cast<float>(frame->w);
  *height = static_cast<float>(frame->h);
  const unsigned flags = DrawParams().flags;
  if (flags & kDrawCentred) {
    *left = -*width / 2;
    *top = -*height / 2;
    return true;
  }
  *left = flags & kDrawMirrorX ? static_cast<float>(frame->regX) - *width
                               : -static_cast<float>(frame->regX);
  *top = flags & kDrawMirrorY ? static_cast<float>(frame->regY) - *height
                              : -static_cast<float>(frame->regY);
  return true;
}
