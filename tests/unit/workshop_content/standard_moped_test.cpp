// The moped the program shows at start-up: installed by the catalogue's
// rules, it must stay inside the turntable camera's picture above the
// interface panel at every turn angle, and within its triangle budget.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/gpu/recording_device.hpp"
#include "scene/stage.hpp"
#include "tests/unit/gfx/log_capture.hpp"
#include "tests/unit/workshop_content/workshop_tree.hpp"
#include "workshop/installed_parts.hpp"

namespace kbh {
namespace {

struct Installed {
  ItemId id;
  Vec3 position;
};

// The start-up install as the program does it, on the recording device.
std::vector<Installed> InstallStandardParts(DataStore& store) {
  testing::LogCapture log;
  GraphicsDevice graphics{log.Log()};
  EXPECT_TRUE(graphics.InitGraphicsDevice([] { return std::make_unique<RecordingSystem>(); }, 1024,
                                          768, 32));
  InstalledPartList parts{graphics, ProgramDir{KBH_WORKSHOP_DIR}};
  parts.LoadStandardParts(store);
  std::vector<Installed> list;
  for (PartModel* model = parts.ScanFirst(); model; model = parts.ScanNext())
    list.push_back({model->id, model->position});
  return list;
}

TEST(StandardMoped, StaysInTheTurntablePictureAtEveryAngle) {
  DataStore store;
  ASSERT_TRUE(LoadDataStore(testing::WorkshopPath("data/firstData.khb"), store));
  const std::vector<Installed> parts = InstallStandardParts(store);
  ASSERT_GE(parts.size(), 15u);

  size_t triangles = 0;
  float top = 1e9f, bottom = -1e9f, left = 1e9f, right = -1e9f;
  for (const Installed& part : parts) {
    SCOPED_TRACE(::testing::Message() << std::hex << part.id);
    MeshData mesh;
    ASSERT_TRUE(testing::LoadWorkshopMesh(part.id, &mesh));
    triangles += mesh.indices.size() / 3;
    Vec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    for (const MeshVertex& v : mesh.vertices) {
      lo = {std::min(lo.x, v.position.x), std::min(lo.y, v.position.y),
            std::min(lo.z, v.position.z)};
      hi = {std::max(hi.x, v.position.x), std::max(hi.y, v.position.y),
            std::max(hi.z, v.position.z)};
    }
    // The scene draws each part at its file coordinates moved by its
    // position, then turns the whole moped about the vertical axis.
    for (int step = 0; step < 48; ++step) {
      const Matrix world =
          MatrixMultiply(MatrixTranslation(part.position.x, part.position.y, part.position.z),
                         MatrixRotationY(static_cast<float>(step) * 2.0f * 3.14159265f / 48.0f));
      for (int corner = 0; corner < 8; ++corner) {
        const Vec3 p{corner & 1 ? hi.x : lo.x, corner & 2 ? hi.y : lo.y, corner & 4 ? hi.z : lo.z};
        Vec2 screen;
        ASSERT_TRUE(ProjectToScreen(kTuneUpCamera, world, p, &screen));
        top = std::min(top, screen.y);
        bottom = std::max(bottom, screen.y);
        left = std::min(left, screen.x);
        right = std::max(right, screen.x);
      }
    }
  }
  EXPECT_GE(top, 130.0f);
  EXPECT_LE(bottom, static_cast<float>(kPanelTopRow));
  EXPECT_GE(left, 0.0f);
  EXPECT_LE(right, 1024.0f);
  EXPECT_LT(triangles, 60000u);
}

TEST(StandardMoped, HasSensibleProportions) {
  // About 280 units long, centred on the origin, wheels on the floor.
  DataStore store;
  ASSERT_TRUE(LoadDataStore(testing::WorkshopPath("data/firstData.khb"), store));
  Vec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
  for (const Installed& part : InstallStandardParts(store)) {
    MeshData mesh;
    ASSERT_TRUE(testing::LoadWorkshopMesh(part.id, &mesh));
    for (const MeshVertex& v : mesh.vertices) {
      const Vec3 p = v.position + part.position;
      lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
      hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
  }
  EXPECT_NEAR(hi.x - lo.x, 285.0f, 15.0f);
  EXPECT_NEAR((hi.x + lo.x) * 0.5f, 0.0f, 6.0f);
  EXPECT_NEAR((hi.z + lo.z) * 0.5f, 0.0f, 6.0f);
  EXPECT_NEAR(lo.y, kFloorY, 0.5f);
  EXPECT_NEAR(hi.y, 155.0f, 10.0f);
}

}  // namespace
}  // namespace kbh
