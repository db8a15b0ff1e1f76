#include "scene/animation.hpp"

#include "workshop/part_mesh.hpp"

namespace kbh {

namespace {

constexpr Vec3 kUp{0.0f, 1.0f, 0.0f};

// from - (from - to) x f, component by component: exactly from at f = 0.
Vec3 Towards(Vec3 from, Vec3 to, float f) {
  return Vec3{from.x - (from.x - to.x) * f, from.y - (from.y - to.y) * f,
              from.z - (from.z - to.z) * f};
}

}  // namespace

void Animation::Start(uint32_t now) {
  start_ = now;
  state_ = AnimationState::kRunning;
}

bool Animation::Advance(uint32_t now) {
  if (state_ != AnimationState::kRunning || mode_ == 0 || duration_ == 0 || start_ == 0) {
    return false;
  }
  const uint32_t elapsed = now - start_;
  if (elapsed < duration_) {
    const float f = static_cast<float>(elapsed) / static_cast<float>(duration_);
    if ((mode_ & kAnimateFadeOut) != 0) SetModelAlpha(1.0f - f);
    if ((mode_ & kAnimateFadeIn) != 0) SetModelAlpha(f);
    if ((mode_ & kAnimateCamera) != 0) {
      view_ = MatrixLookAtLH(Towards(path_.eyeFrom, path_.eyeTo, f),
                             Towards(path_.atFrom, path_.atTo, f), kUp);
    }
    return true;
  }
  state_ = AnimationState::kFinished;
  if ((mode_ & kAnimateFadeOut) != 0) SetModelAlpha(0.0f);
  if ((mode_ & kAnimateFadeIn) != 0) SetModelAlpha(1.0f);
  if ((mode_ & kAnimateCamera) != 0) view_ = MatrixLookAtLH(path_.eyeTo, path_.atTo, kUp);
  endTime_ = now;
  return true;
}

bool Animation::JustFinished() {
  if (state_ != AnimationState::kFinished) return false;
  state_ = AnimationState::kIdle;
  return true;
}

bool Animation::IsRunning() {
  if (state_ == AnimationState::kFinished) state_ = AnimationState::kIdle;
  return state_ == AnimationState::kRunning;
}

ItemId Animation::GetModelId() const {
  return model_ != nullptr ? model_->id : 0;
}

void Animation::ForgetModel(const PartModel* removed) {
  if (removed != nullptr && model_ == removed) model_ = nullptr;
}

void Animation::SetModelAlpha(float alpha) {
  if (model_ != nullptr) SetPartAlpha(model_, alpha);
}

}  // namespace kbh
