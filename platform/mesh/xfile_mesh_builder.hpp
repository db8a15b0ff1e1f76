// Turns the Mesh objects of one .x file, as the parser reads them, into the
// single MeshData the program draws. The rules decide the vertex count and the
// subsets the program shows, so they are kept here in one place:
// - meshes are merged in file order, each moved by its accumulated frame
//   matrix (local x parent, row vectors; normals renormalised);
// - every file vertex is kept, used or not (an unused one takes the normal of
//   its own index, if there is one); a position met with several
//   different normal values gets one extra vertex per extra value, placed
//   after that mesh's file vertices in order of first use;
// - faces of more than three corners are fanned (0,1,2), (0,2,3) ...;
// - each material slot of each mesh's material list is one subset, in file
//   order; a face-material list shorter than the face list repeats its last
//   entry; triangles are grouped by subset, file order kept within one.
//   Triangles of meshes without a material list belong to no subset and
//   follow all the others in the index buffer.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/math/math.hpp"
#include "platform/mesh/mesh_data.hpp"

namespace kbh {

// Faces as the file stores them: a corner count per face, then all corner
// indices one after another.
struct XFaceList {
  std::vector<uint32_t> cornerCounts;
  std::vector<uint32_t> corners;
};

// One Mesh object as read, indices already checked against their arrays.
struct XMeshParts {
  std::vector<Vec3> positions;
  XFaceList faces;

  bool hasNormals = false;
  std::vector<Vec3> normals;
  XFaceList normalFaces;

  // One pair per position at most; positions beyond it get (0, 0).
  std::vector<Vec2> texCoords;

  bool hasMaterialList = false;
  uint32_t materialCount = 0;
  std::vector<uint32_t> faceMaterials;

  // Empties every array but keeps its capacity for the next mesh.
  void Clear();
};

class XMeshBuilder {
 public:
  // The frame every top-level mesh hangs from: identity, no parent.
  static constexpr uint32_t kRootFrame = 0;

  XMeshBuilder();

  uint32_t AddFrame(uint32_t parent);
  void SetFrameMatrix(uint32_t frame, const Matrix& local);

  // False, with the reason, when the mesh's face lists do not fit together.
  bool AddMesh(const XMeshParts& mesh, uint32_t frame, std::string* error);

  // Applies the frame matrices and groups the triangles; *out receives the
  // result. False for a file that holds no triangle at all.
  bool Finish(MeshData* out, std::string* error);

 private:
  struct Frame {
    uint32_t parent;
    Matrix local;
  };
  struct MeshRange {
    uint32_t firstVertex;
    uint32_t endVertex;
    uint32_t frame;
  };
  struct SplitKey {
    uint32_t position;
    uint32_t normalBits[3];
    bool operator==(const SplitKey&) const = default;
  };
  struct SplitKeyHash {
    size_t operator()(const SplitKey& key) const;
  };

  uint32_t VertexFor(uint32_t position, uint32_t normal, const XMeshParts& mesh, uint32_t base);

  std::vector<Frame> frames_;
  std::vector<MeshRange> ranges_;
  std::vector<MeshVertex> vertices_;
  // Three indices per triangle in file order, and each one's subset.
  std::vector<uint32_t> triangles_;
  std::vector<uint32_t> triangleSubsets_;
  uint32_t subsetCount_ = 0;
  bool anyMaterialList_ = false;

  // Scratch of the mesh being added.
  std::vector<uint32_t> firstNormalOf_;
  std::unordered_map<SplitKey, uint32_t, SplitKeyHash> splitVertices_;
  std::vector<uint32_t> faceVertices_;
};

}  // namespace kbh
