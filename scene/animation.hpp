// The timed object behind every motion of the workshop that is not the
// turntable: a part fading out or in (the TuneUp screen's faders) and the
// Spray screen's camera flying to the part chosen for painting.
//
// It reads no clock: every call that depends on time takes the current
// millisecond count (the program's 32-bit tick) from its caller, so a test
// can drive it with any clock, wrap-around included.
//
// The end is noticed one frame late on purpose: the Advance that reaches the
// duration leaves the animation "finished", and only the owner's next
// JustFinished (or IsRunning) turns it idle. An owner that advances first and
// asks afterwards therefore sees the last step drawn before it acts on the end.
#pragma once

#include <cstdint>

#include "catalogue/item_id.hpp"
#include "platform/math/math.hpp"

namespace kbh {

struct PartModel;

enum class AnimationState : int32_t {
  kIdle = -1,
  kFinished = 0,  // reached its end, not yet noticed by the owner
  kRunning = 1,
};

// What an animation does as it advances; the bits combine.
constexpr uint32_t kAnimateFadeOut = 1;
constexpr uint32_t kAnimateFadeIn = 2;
constexpr uint32_t kAnimateCamera = 4;

// The flight of a camera: the look-at point and the eye each move on a
// straight line from their From to their To point.
struct CameraPath {
  Vec3 atFrom;
  Vec3 atTo;
  Vec3 eyeFrom;
  Vec3 eyeTo;
};

class Animation {
 public:
  // Restarts the animation at now, whatever state it was in. The owner sets
  // mode, model and duration first.
  void Start(uint32_t now);
  void SetMode(uint32_t mode) { mode_ = mode; }
  // The model whose alpha a fade sets; null fades nothing. Not owned: the
  // owner must call ForgetModel before the model is destroyed.
  void SetModel(PartModel* model) { model_ = model; }
  void SetDuration(uint32_t milliseconds) { duration_ = milliseconds; }
  void SetPath(const CameraPath& path) { path_ = path; }

  // One step at now: the model's alpha and the camera's view for the time
  // passed since Start (unsigned, so a clock that wrapped is harmless), or
  // their end values once the duration has passed, which also finishes the
  // animation. False, and nothing changed, unless the animation is running
  // and has a mode, a duration and a start other than 0.
  bool Advance(uint32_t now);

  // True once for an animation that finished, which turns it idle.
  bool JustFinished();
  // Running or finished but not yet noticed.
  bool IsActive() const { return state_ != AnimationState::kIdle; }
  // True while running. A finished animation is turned idle by this question
  // too, so it answers false.
  bool IsRunning();
  // Idle at once; the model keeps the alpha it had reached.
  void Stop() { state_ = AnimationState::kIdle; }

  // The faded model's id, 0 without a model.
  ItemId GetModelId() const;
  // Drops the model if it is this one, so that a part about to be removed is
  // never touched again.
  void ForgetModel(const PartModel* removed);

  AnimationState State() const { return state_; }
  uint32_t Mode() const { return mode_; }
  uint32_t Duration() const { return duration_; }
  PartModel* Model() const { return model_; }
  const CameraPath& Path() const { return path_; }
  // The view the camera flight computed last: looking from the eye at the
  // look-at point, y up.
  const Matrix& View() const { return view_; }
  // The clock value at which the animation finished; 0 before it first did.
  uint32_t EndTime() const { return endTime_; }

 private:
  void SetModelAlpha(float alpha);

  uint32_t start_ = 0;  // 0: never started
  uint32_t duration_ = 0;
  AnimationState state_ = AnimationState::kIdle;
  uint32_t mode_ = 0;
  PartModel* model_ = nullptr;
  CameraPath path_;
  Matrix view_ = MatrixIdentity();
  uint32_t endTime_ = 0;
};

}  // namespace kbh
