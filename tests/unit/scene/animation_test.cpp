// The animation's timing on a clock the test turns by hand; no device at all.
#include "scene/animation.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "workshop/part_mesh.hpp"

namespace kbh {
namespace {

// A part whose mesh exists only in memory: enough for fades, which only
// touch the materials.
std::unique_ptr<PartModel> MakePart(ItemId id, float alpha, uint32_t subsets = 2) {
  auto model = std::make_unique<PartModel>();
  model->id = id;
  model->mesh = std::make_unique<MeshRecord>();
  model->mesh->subsetCount = subsets;
  model->mesh->materials.resize(subsets);
  model->mesh->factors.resize(subsets);
  SetPartAlpha(model.get(), alpha);
  return model;
}

float AlphaOf(const PartModel& model, uint32_t subset = 0) {
  return model.mesh->materials[subset].diffuse.a;
}

Animation Fade(uint32_t mode, uint32_t duration, PartModel* model, uint32_t start) {
  Animation animation;
  animation.SetMode(mode);
  animation.SetDuration(duration);
  animation.SetModel(model);
  animation.Start(start);
  return animation;
}

TEST(AnimationTest, FadeSetsTheAlphaOfEverySubsetFromTheTimePassed) {
  struct Case {
    const char* name;
    uint32_t mode;
    uint32_t duration;
    uint32_t start;
    uint32_t now;
    float alpha;
  };
  const Case cases[] = {
      {"fade in, halfway", kAnimateFadeIn, 500, 1000, 1250, 0.5f},
      {"fade out, halfway", kAnimateFadeOut, 500, 1000, 1250, 0.5f},
      {"fade in, a fifth", kAnimateFadeIn, 500, 1000, 1100, 0.2f},
      {"fade out, a fifth", kAnimateFadeOut, 500, 1000, 1100, 0.8f},
      {"fade in, at its start", kAnimateFadeIn, 500, 1000, 1000, 0.0f},
      {"fade out, at its start", kAnimateFadeOut, 500, 1000, 1000, 1.0f},
      {"1 ms fade in the millisecond it started", kAnimateFadeIn, 1, 1000, 1000, 0.0f},
      // The clock wrapped 200 ms after the start: 250 ms have passed.
      {"across the clock's wrap", kAnimateFadeIn, 500, 0xFFFFFF38u, 50, 0.5f},
      {"fade in with the camera", kAnimateFadeIn | kAnimateCamera, 500, 1000, 1250, 0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<PartModel> part = MakePart(0x01030101, 0.3f);
    Animation animation = Fade(c.mode, c.duration, part.get(), c.start);
    EXPECT_TRUE(animation.Advance(c.now));
    EXPECT_FLOAT_EQ(AlphaOf(*part, 0), c.alpha);
    EXPECT_FLOAT_EQ(AlphaOf(*part, 1), c.alpha);
    EXPECT_EQ(animation.State(), AnimationState::kRunning);
  }
}

TEST(AnimationTest, TheEndIsNoticedOnceAndOneFrameAfterTheLastStep) {
  for (uint32_t mode : {kAnimateFadeIn, kAnimateFadeOut}) {
    SCOPED_TRACE(mode);
    const float endAlpha = mode == kAnimateFadeIn ? 1.0f : 0.0f;
    std::unique_ptr<PartModel> part = MakePart(0x01030101, 0.5f);
    Animation animation = Fade(mode, 500, part.get(), 1000);

    // The owner's frame: notice the end first, then advance.
    EXPECT_FALSE(animation.JustFinished());
    EXPECT_TRUE(animation.Advance(1499));
    EXPECT_NE(AlphaOf(*part), endAlpha);

    EXPECT_FALSE(animation.JustFinished());
    EXPECT_TRUE(animation.Advance(1503));  // a frame that overshoots the end
    EXPECT_EQ(AlphaOf(*part), endAlpha);
    EXPECT_EQ(animation.State(), AnimationState::kFinished);
    EXPECT_TRUE(animation.IsActive());
    EXPECT_EQ(animation.EndTime(), 1503u);

    // The next frame learns of it, once.
    EXPECT_TRUE(animation.JustFinished());
    EXPECT_FALSE(animation.IsActive());
    EXPECT_FALSE(animation.JustFinished());
    SetPartAlpha(part.get(), 0.25f);
    EXPECT_FALSE(animation.Advance(1600));
    EXPECT_EQ(AlphaOf(*part), 0.25f);
  }
}

TEST(AnimationTest, OneMillisecondFadeEndsAtTheNextAdvance) {
  // What the TuneUp screen uses for a part without a model, so the exchange
  // follows at once; a part without mesh is simply not faded.
  for (bool withMesh : {true, false}) {
    SCOPED_TRACE(withMesh);
    std::unique_ptr<PartModel> part = MakePart(0x00040201, 1.0f);
    if (!withMesh) part->mesh.reset();
    Animation animation = Fade(kAnimateFadeOut, 1, part.get(), 7000);
    EXPECT_TRUE(animation.Advance(7000));
    EXPECT_EQ(animation.State(), AnimationState::kRunning);
    EXPECT_TRUE(animation.Advance(7001));
    EXPECT_TRUE(animation.JustFinished());
    EXPECT_EQ(animation.GetModelId(), 0x00040201u);
    if (withMesh) {
      EXPECT_EQ(AlphaOf(*part), 0.0f);
    }
  }
}

TEST(AnimationTest, DoesNothingUnlessRunningWithModeDurationAndStart) {
  struct Case {
    const char* name;
    uint32_t mode;
    uint32_t duration;
    bool started;
    uint32_t start;
  };
  const Case cases[] = {
      {"never started", kAnimateFadeIn, 500, false, 0},
      {"started at clock value 0", kAnimateFadeIn, 500, true, 0},
      {"no duration", kAnimateFadeIn, 0, true, 1000},
      {"no mode", 0, 500, true, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<PartModel> part = MakePart(0x01030101, 0.7f);
    Animation animation;
    animation.SetMode(c.mode);
    animation.SetDuration(c.duration);
    animation.SetModel(part.get());
    if (c.started) animation.Start(c.start);
    EXPECT_FALSE(animation.Advance(1250));
    EXPECT_FALSE(animation.Advance(5000));
    EXPECT_EQ(AlphaOf(*part), 0.7f);
    EXPECT_EQ(animation.State(), c.started ? AnimationState::kRunning : AnimationState::kIdle);
  }
}

TEST(AnimationTest, IsRunningAnswersFalseForAFinishedAnimationAndTurnsItIdle) {
  Animation animation = Fade(kAnimateFadeIn, 500, nullptr, 1000);
  EXPECT_TRUE(animation.IsRunning());
  EXPECT_TRUE(animation.Advance(1500));
  EXPECT_TRUE(animation.IsActive());
  EXPECT_FALSE(animation.IsRunning());
  EXPECT_FALSE(animation.IsActive());
  EXPECT_FALSE(animation.JustFinished());  // the end was taken by IsRunning

  // Start restarts it from any state.
  animation.Start(2000);
  EXPECT_TRUE(animation.IsRunning());
  animation.Stop();
  EXPECT_FALSE(animation.IsActive());
}

TEST(AnimationTest, AForgottenModelIsNeitherFadedNorNamed) {
  std::unique_ptr<PartModel> part = MakePart(0x02050101, 1.0f);
  std::unique_ptr<PartModel> other = MakePart(0x02050102, 1.0f);
  Animation animation = Fade(kAnimateFadeOut, 500, part.get(), 1000);
  EXPECT_EQ(animation.GetModelId(), 0x02050101u);
  animation.ForgetModel(other.get());
  animation.ForgetModel(nullptr);
  EXPECT_EQ(animation.GetModelId(), 0x02050101u);

  animation.ForgetModel(part.get());
  EXPECT_EQ(animation.GetModelId(), 0u);
  EXPECT_TRUE(animation.Advance(1250));  // still times, touches nothing
  EXPECT_EQ(AlphaOf(*part), 1.0f);
}

}  // namespace
}  // namespace kbh
