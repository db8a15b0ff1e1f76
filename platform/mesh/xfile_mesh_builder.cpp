#include "platform/mesh/xfile_mesh_builder.hpp"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kbh {
namespace {

constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

// Bits of a normal component with -0 folded into +0, so that "equal by
// value" also holds for the two zeros and NaNs compare by their bits.
uint32_t ComponentBits(float value) {
  const float folded = value + 0.0f;
  uint32_t bits;
  std::memcpy(&bits, &folded, sizeof bits);
  return bits;
}

bool SameNormal(Vec3 a, Vec3 b) {
  return ComponentBits(a.x) == ComponentBits(b.x) && ComponentBits(a.y) == ComponentBits(b.y) &&
         ComponentBits(a.z) == ComponentBits(b.z);
}

}  // namespace

void XMeshParts::Clear() {
  positions.clear();
  faces.cornerCounts.clear();
  faces.corners.clear();
  hasNormals = false;
  normals.clear();
  normalFaces.cornerCounts.clear();
  normalFaces.corners.clear();
  texCoords.clear();
  hasMaterialList = false;
  materialCount = 0;
  faceMaterials.clear();
}

size_t XMeshBuilder::SplitKeyHash::operator()(const SplitKey& key) const {
  uint64_t h = key.position * 0x9E3779B97F4A7C15ull;
  for (const uint32_t bits : key.normalBits)
    h = (h ^ bits) * 0xFF51AFD7ED558CCDull;
  return static_cast<size_t>(h ^ (h >> 29));
}

XMeshBuilder::XMeshBuilder() {
  frames_.push_back({kNone, MatrixIdentity()});
}

uint32_t XMeshBuilder::AddFrame(uint32_t parent) {
  frames_.push_back({parent, MatrixIdentity()});
  return static_cast<uint32_t>(frames_.size() - 1);
}

void XMeshBuilder::SetFrameMatrix(uint32_t frame, const Matrix& local) {
  frames_[frame].local = local;
}

uint32_t XMeshBuilder::VertexFor(uint32_t position, uint32_t normal, const XMeshParts& mesh,
                                 uint32_t base) {
  uint32_t& first = firstNormalOf_[position];
  if (first == kNone) {
    first = normal;
    vertices_[base + position].normal = mesh.normals[normal];
    return base + position;
  }
  if (first == normal || SameNormal(mesh.normals[first], mesh.normals[normal])) {
    return base + position;
  }
  const Vec3 n = mesh.normals[normal];
  const SplitKey key{position, {ComponentBits(n.x), ComponentBits(n.y), ComponentBits(n.z)}};
  const auto [it, inserted] =
      splitVertices_.try_emplace(key, static_cast<uint32_t>(vertices_.size()));
  if (inserted) {
    MeshVertex copy = vertices_[base + position];
    copy.normal = n;
    vertices_.push_back(copy);
  }
  return it->second;
}

bool XMeshBuilder::AddMesh(const XMeshParts& mesh, uint32_t frame, std::string* error) {
  const size_t faceCount = mesh.faces.cornerCounts.size();
  if (mesh.hasNormals && (mesh.normalFaces.cornerCounts != mesh.faces.cornerCounts)) {
    *error = "the normals' faces do not match the mesh's faces";
    return false;
  }
  // Extra vertices come from corners, so this bounds the vertex count.
  const uint64_t mostVertices =
      uint64_t{vertices_.size()} + mesh.positions.size() + mesh.faces.corners.size();
  if (mostVertices >= kNone) {
    *error = "too many vertices";
    return false;
  }
  uint32_t subsetBase = subsetCount_;
  if (mesh.hasMaterialList) {
    anyMaterialList_ = true;
    if (uint64_t{subsetCount_} + mesh.materialCount >= kNone) {
      *error = "too many materials";
      return false;
    }
    subsetCount_ += mesh.materialCount;
  }

  const uint32_t base = static_cast<uint32_t>(vertices_.size());
  vertices_.resize(base + mesh.positions.size());
  for (size_t i = 0; i < mesh.positions.size(); ++i) {
    MeshVertex& vertex = vertices_[base + i];
    vertex.position = mesh.positions[i];
    if (i < mesh.texCoords.size()) {
      vertex.u = mesh.texCoords[i].x;
      vertex.v = mesh.texCoords[i].y;
    }
  }
  firstNormalOf_.assign(mesh.positions.size(), kNone);
  // A fresh map rather than clear(): clearing touches every bucket a big
  // earlier mesh left behind, which many small meshes would pay again each.
  if (!splitVertices_.empty()) decltype(splitVertices_)().swap(splitVertices_);

  size_t corner = 0;
  for (size_t face = 0; face < faceCount; ++face) {
    const uint32_t cornerCount = mesh.faces.cornerCounts[face];
    faceVertices_.clear();
    for (uint32_t i = 0; i < cornerCount; ++i, ++corner) {
      const uint32_t position = mesh.faces.corners[corner];
      faceVertices_.push_back(
          mesh.hasNormals ? VertexFor(position, mesh.normalFaces.corners[corner], mesh, base)
                          : base + position);
    }
    if (cornerCount < 3) continue;

    uint32_t subset = kNone;
    if (mesh.hasMaterialList && mesh.materialCount > 0) {
      uint32_t material = 0;
      if (face < mesh.faceMaterials.size()) {
        material = mesh.faceMaterials[face];
      } else if (!mesh.faceMaterials.empty()) {
        material = mesh.faceMaterials.back();
      }
      if (material >= mesh.materialCount) {
        *error = "a face names material " + std::to_string(material) + " of " +
                 std::to_string(mesh.materialCount);
        return false;
      }
      subset = subsetBase + material;
    }
    for (uint32_t i = 1; i + 1 < cornerCount; ++i) {
      triangles_.insert(triangles_.end(),
                        {faceVertices_[0], faceVertices_[i], faceVertices_[i + 1]});
      triangleSubsets_.push_back(subset);
    }
  }
  // A vertex no face uses is never lit, but a file written with one normal
  // per vertex should still read back as written.
  if (mesh.hasNormals) {
    const size_t count = std::min(mesh.positions.size(), mesh.normals.size());
    for (size_t i = 0; i < count; ++i) {
      if (firstNormalOf_[i] == kNone) vertices_[base + i].normal = mesh.normals[i];
    }
  }
  ranges_.push_back({base, static_cast<uint32_t>(vertices_.size()), frame});
  return true;
}

bool XMeshBuilder::Finish(MeshData* out, std::string* error) {
  if (triangleSubsets_.empty()) {
    *error = "the file holds no triangles";
    return false;
  }

  for (const MeshRange& range : ranges_) {
    Matrix world = frames_[range.frame].local;
    for (uint32_t f = frames_[range.frame].parent; f != kNone; f = frames_[f].parent) {
      world = MatrixMultiply(world, frames_[f].local);
    }
    // Untransformed meshes keep their normals bit for bit.
    if (IsIdentity(world)) continue;
    for (uint32_t i = range.firstVertex; i < range.endVertex; ++i) {
      MeshVertex& vertex = vertices_[i];
      vertex.position = TransformCoord(vertex.position, world);
      vertex.normal = Normalize(TransformNormal(vertex.normal, world));
    }
  }

  // A file without any material list is one subset, every face in it, as
  // the mesh library whose meaning of the format we keep reports it. Where
  // only some meshes lack a list, their faces belong to no subset.
  if (!anyMaterialList_) {
    subsetCount_ = 1;
    std::fill(triangleSubsets_.begin(), triangleSubsets_.end(), 0u);
  }

  // Stable counting sort by subset; triangles of no subset form a last bucket.
  std::vector<uint32_t> starts(size_t{subsetCount_} + 2, 0);
  for (uint32_t& subset : triangleSubsets_) {
    if (subset == kNone) subset = subsetCount_;
    ++starts[subset + 1];
  }
  for (size_t i = 1; i < starts.size(); ++i)
    starts[i] += starts[i - 1];

  out->subsets.resize(subsetCount_);
  for (uint32_t s = 0; s < subsetCount_; ++s) {
    out->subsets[s] = {starts[s], starts[s + 1] - starts[s]};
  }
  out->indices.resize(triangles_.size());
  for (size_t t = 0; t < triangleSubsets_.size(); ++t) {
    const uint32_t slot = starts[triangleSubsets_[t]]++;
    std::memcpy(&out->indices[size_t{slot} * 3], &triangles_[t * 3], 3 * sizeof(uint32_t));
  }
  out->vertices = std::move(vertices_);
  return true;
}

}  // namespace kbh
