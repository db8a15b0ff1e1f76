// The moped the program shows at start-up: installed by the catalogue's
// rules, it must stay inside the turntable camera's picture above the
// interface panel at every turn angle, and within its triangle budget.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "tests/unit/workshop_content/workshop_tree.hpp"
#include "tools/workshop/stage.hpp"

namespace kbh {
namespace {

using testing::Actions;

struct Installed {
  ItemId id;
  Vec3 position;
};

// The start-up install as the program does it: the standard items by their
// category's kind, then every installed part's actions in list order (parts
// that a require brings in are appended and visited too). Paints do not
// move anything and are left out.
std::vector<Installed> InstallStandardParts(DataStore& store) {
  std::vector<Installed> list;
  const auto find = [&](ItemId id) -> Installed* {
    for (Installed& p : list) {
      if (p.id == id) return &p;
    }
    return nullptr;
  };
  for (const CatalogueNode* c = store.first; c; c = c->next) {
    const uint8_t kind = static_cast<uint8_t>(c->id >> 24);
    for (const CatalogueNode* s = c->firstChild; s; s = s->next) {
      const CatalogueNode* t = s->type == NodeType::kItem ? s : s->firstChild;
      for (; t; t = t->next) {
        if (t->type == NodeType::kItem && kind != 2) list.push_back({t->id, {}});
        if (kind != 3) break;
      }
      if (kind != 1) break;
    }
  }
  for (size_t i = 0; i < list.size(); ++i) {
    const ItemId id = list[i].id;
    for (const PartAction* a : Actions(FindById(store, id))) {
      if (a->type == ActionType::kRequire && !find(a->target)) list.push_back({a->target, {}});
      if (a->type == ActionType::kExclude) {
        std::erase_if(list, [&](const Installed& p) { return IdMatches(p.id, a->target); });
      }
      if (a->type == ActionType::kPosition) {
        if (Installed* target = find(a->target)) target->position = a->position;
      }
    }
    for (const Installed& other : list) {
      for (const PartAction* a : Actions(FindById(store, other.id))) {
        if (a->type == ActionType::kPosition && IdMatches(a->target, id)) {
          if (Installed* target = find(id)) target->position = a->position;
        }
      }
    }
  }
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
        ASSERT_TRUE(ProjectToScreen(kTurntableCamera, world, p, &screen));
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
