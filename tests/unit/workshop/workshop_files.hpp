// Small workshop folders for the workshop and scene tests: meshes written
// as .mxa files, pictures and cube maps as DDS, catalogues built in code.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/data_store.hpp"
#include "catalogue/part_files.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/mesh/xfile.hpp"
#include "tests/support/box_mesh.hpp"
#include "tests/support/temp_dir.hpp"

namespace kbh::testing {

inline void WriteBytes(const TempDir& dir, const std::string& relative,
                       const std::vector<uint8_t>& bytes) {
  ASSERT_FALSE(bytes.empty()) << relative;
  WriteFileBytes(dir.Path() / relative, std::string(bytes.begin(), bytes.end()));
}

// The part's model file.
inline void WriteModel(const TempDir& dir, ItemId id, const MeshData& mesh) {
  WriteBytes(dir, PartFileRelativePath(kPartModel, id), WriteXFile(mesh, XEncoding::kText));
}

inline Image SolidPicture(int width, int height, uint32_t argb) {
  return {width, height, FMT_A8R8G8B8, std::vector<uint32_t>(size_t(width) * height, argb)};
}

// The six faces in DDS order (+X, -X, +Y, -Y, +Z, -Z), each one colour.
inline void WriteCubeMap(const TempDir& dir, const std::string& relative,
                         const uint32_t (&faceColors)[6]) {
  CubeImage cube{4, FMT_X8R8G8B8, {}};
  for (int face = 0; face < 6; ++face)
    cube.faces[face].assign(16, faceColors[face]);
  WriteBytes(dir, relative, EncodeCubeDds(cube, FMT_X8R8G8B8));
}

// Catalogue actions built in code; position and paint matter only to their
// own action types.
inline std::unique_ptr<PartAction> Action(ActionType type, ItemId target, Vec3 position = {},
                                          PaintPayload paint = {}) {
  auto action = std::make_unique<PartAction>();
  action->type = type;
  action->target = target;
  action->position = position;
  action->paint = paint;
  return action;
}
inline std::unique_ptr<PartAction> PositionAction(ItemId target, Vec3 position) {
  return Action(ActionType::kPosition, target, position);
}
inline std::unique_ptr<PartAction> PaintAction(ItemId target, uint32_t colour, uint8_t finish) {
  return Action(ActionType::kPaint, target, {}, {colour, finish});
}

// Gives node a record holding actions, in order.
template <typename... Actions>
void GiveActions(CatalogueNode* node, Actions... actions) {
  auto record = std::make_unique<PartRecord>();
  (AppendAction(record->actions, std::move(actions)), ...);
  ASSERT_TRUE(AttachRecord(node, std::move(record)));
}

}  // namespace kbh::testing
