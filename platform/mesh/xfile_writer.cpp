// WriteXFile: one top-level Mesh with one normal per vertex (the normal faces
// repeat the position faces, so a reader splits no vertex), texture
// coordinates and one neutral material per subset. Floats are written in
// their shortest exact form, so text round-trips bit for bit.
#include <charconv>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "platform/mesh/mszip.hpp"
#include "platform/mesh/xfile.hpp"

namespace kbh {
namespace {

// Diffuse white, no specular power, black specular and emissive colour.
constexpr float kNeutralMaterial[11] = {1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};

// A mesh the format can carry and a reader gives back unchanged: whole
// triangles, indices in range, and subsets that tile the index buffer in
// order (the reader regroups triangles by subset, so any other layout would
// come back different).
bool IsWritable(const MeshData& mesh) {
  const size_t triangleCount = mesh.indices.size() / 3;
  // Counts that a 32-bit list length still covers, with room for the
  // per-face corner counts.
  constexpr size_t kMostItems = std::numeric_limits<uint32_t>::max() / 4;
  if (mesh.vertices.empty() || triangleCount == 0 || mesh.indices.size() % 3 != 0 ||
      mesh.vertices.size() > kMostItems || triangleCount > kMostItems) {
    return false;
  }
  for (const uint32_t index : mesh.indices) {
    if (index >= mesh.vertices.size()) return false;
  }
  if (mesh.subsets.empty()) return true;
  size_t next = 0;
  for (const MeshSubset& subset : mesh.subsets) {
    if (subset.firstTriangle != next) return false;
    next += subset.triangleCount;
  }
  return next == triangleCount;
}

// The subset of each triangle, in index-buffer order.
std::vector<uint32_t> TriangleMaterials(const MeshData& mesh) {
  std::vector<uint32_t> materials;
  materials.reserve(mesh.indices.size() / 3);
  for (uint32_t s = 0; s < mesh.subsets.size(); ++s) {
    materials.insert(materials.end(), mesh.subsets[s].triangleCount, s);
  }
  return materials;
}

void AppendHeader(std::vector<uint8_t>* out, std::string_view format) {
  const std::string header = "xof 0303" + std::string(format) + "0032";
  out->insert(out->end(), header.begin(), header.end());
}

// --- Text ------------------------------------------------------------------

class TextWriter {
 public:
  void Line(std::string_view indent, std::string_view text) {
    out_ += indent;
    out_ += text;
    out_ += '\n';
  }
  void Float(float value) { Append(value); }
  void UInt(size_t value) { Append(value); }
  void Raw(std::string_view text) { out_ += text; }
  std::string& Text() { return out_; }

 private:
  template <class T>
  void Append(T value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, result.ptr);
  }
  std::string out_;
};

// Ends element i of count: ";," between elements, ";;" after the last.
std::string_view ElementEnd(size_t i, size_t count) {
  return i + 1 < count ? ";,\n" : ";;\n";
}

void WriteTextFaces(TextWriter* w, std::string_view indent, const MeshData& mesh) {
  const size_t count = mesh.indices.size() / 3;
  w->Raw(indent);
  w->UInt(count);
  w->Raw(";\n");
  for (size_t t = 0; t < count; ++t) {
    w->Raw(indent);
    w->Raw("3;");
    for (size_t k = 0; k < 3; ++k) {
      w->UInt(mesh.indices[t * 3 + k]);
      if (k < 2) w->Raw(",");
    }
    w->Raw(ElementEnd(t, count));
  }
}

void WriteTextVectors(TextWriter* w, std::string_view indent, const MeshData& mesh,
                      Vec3 MeshVertex::*member) {
  const size_t count = mesh.vertices.size();
  w->Raw(indent);
  w->UInt(count);
  w->Raw(";\n");
  for (size_t i = 0; i < count; ++i) {
    const Vec3 v = mesh.vertices[i].*member;
    w->Raw(indent);
    w->Float(v.x);
    w->Raw(";");
    w->Float(v.y);
    w->Raw(";");
    w->Float(v.z);
    w->Raw(ElementEnd(i, count));
  }
}

std::string TextBody(const MeshData& mesh) {
  TextWriter w;
  // The header is a fixed 16 bytes; the line break only serves people.
  w.Line("", "");
  w.Line("", "Mesh {");
  WriteTextVectors(&w, " ", mesh, &MeshVertex::position);
  WriteTextFaces(&w, " ", mesh);

  w.Line("", "");
  w.Line(" ", "MeshNormals {");
  WriteTextVectors(&w, "  ", mesh, &MeshVertex::normal);
  WriteTextFaces(&w, "  ", mesh);
  w.Line(" ", "}");

  w.Line("", "");
  w.Line(" ", "MeshTextureCoords {");
  w.Raw("  ");
  w.UInt(mesh.vertices.size());
  w.Raw(";\n");
  for (size_t i = 0; i < mesh.vertices.size(); ++i) {
    w.Raw("  ");
    w.Float(mesh.vertices[i].u);
    w.Raw(";");
    w.Float(mesh.vertices[i].v);
    w.Raw(ElementEnd(i, mesh.vertices.size()));
  }
  w.Line(" ", "}");

  if (!mesh.subsets.empty()) {
    const std::vector<uint32_t> materials = TriangleMaterials(mesh);
    w.Line("", "");
    w.Line(" ", "MeshMaterialList {");
    w.Raw("  ");
    w.UInt(mesh.subsets.size());
    w.Raw(";\n  ");
    w.UInt(materials.size());
    w.Raw(";\n");
    for (size_t t = 0; t < materials.size(); ++t) {
      w.Raw("  ");
      w.UInt(materials[t]);
      w.Raw(t + 1 < materials.size() ? ",\n" : ";\n");
    }
    for (size_t s = 0; s < mesh.subsets.size(); ++s) {
      w.Line("  ", "Material {");
      w.Line("   ", "1;1;1;1;;");
      w.Line("   ", "0;");
      w.Line("   ", "0;0;0;;");
      w.Line("   ", "0;0;0;;");
      w.Line("  ", "}");
    }
    w.Line(" ", "}");
  }
  w.Line("", "}");
  return std::move(w.Text());
}

// --- Binary ----------------------------------------------------------------

class BinaryWriter {
 public:
  enum : uint16_t {
    kName = 1,
    kIntegerList = 6,
    kFloatList = 7,
    kOpenBrace = 10,
    kCloseBrace = 11
  };

  void Token(uint16_t token) { U16(token); }
  void Name(std::string_view name) {
    U16(kName);
    U32(static_cast<uint32_t>(name.size()));
    out_.insert(out_.end(), name.begin(), name.end());
  }
  void OpenObject(std::string_view templateName) {
    Name(templateName);
    Token(kOpenBrace);
  }
  void IntegerList(size_t count) {
    U16(kIntegerList);
    U32(static_cast<uint32_t>(count));
  }
  void FloatList(size_t count) {
    U16(kFloatList);
    U32(static_cast<uint32_t>(count));
  }
  void Float(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    U32(bits);
  }
  void U16(uint32_t value) {
    out_.push_back(static_cast<uint8_t>(value));
    out_.push_back(static_cast<uint8_t>(value >> 8));
  }
  void U32(uint32_t value) {
    U16(value & 0xFFFF);
    U16(value >> 16);
  }
  std::vector<uint8_t>& Bytes() { return out_; }

 private:
  std::vector<uint8_t> out_;
};

void WriteBinaryVectors(BinaryWriter* w, const MeshData& mesh, Vec3 MeshVertex::*member) {
  w->IntegerList(1);
  w->U32(static_cast<uint32_t>(mesh.vertices.size()));
  w->FloatList(mesh.vertices.size() * 3);
  for (const MeshVertex& vertex : mesh.vertices) {
    const Vec3 v = vertex.*member;
    w->Float(v.x);
    w->Float(v.y);
    w->Float(v.z);
  }
}

void WriteBinaryFaces(BinaryWriter* w, const MeshData& mesh) {
  const size_t count = mesh.indices.size() / 3;
  w->IntegerList(1 + count * 4);
  w->U32(static_cast<uint32_t>(count));
  for (size_t t = 0; t < count; ++t) {
    w->U32(3);
    for (size_t k = 0; k < 3; ++k)
      w->U32(mesh.indices[t * 3 + k]);
  }
}

std::vector<uint8_t> BinaryBody(const MeshData& mesh) {
  BinaryWriter w;
  w.OpenObject("Mesh");
  WriteBinaryVectors(&w, mesh, &MeshVertex::position);
  WriteBinaryFaces(&w, mesh);

  w.OpenObject("MeshNormals");
  WriteBinaryVectors(&w, mesh, &MeshVertex::normal);
  WriteBinaryFaces(&w, mesh);
  w.Token(BinaryWriter::kCloseBrace);

  w.OpenObject("MeshTextureCoords");
  w.IntegerList(1);
  w.U32(static_cast<uint32_t>(mesh.vertices.size()));
  w.FloatList(mesh.vertices.size() * 2);
  for (const MeshVertex& vertex : mesh.vertices) {
    w.Float(vertex.u);
    w.Float(vertex.v);
  }
  w.Token(BinaryWriter::kCloseBrace);

  if (!mesh.subsets.empty()) {
    const std::vector<uint32_t> materials = TriangleMaterials(mesh);
    w.OpenObject("MeshMaterialList");
    w.IntegerList(2 + materials.size());
    w.U32(static_cast<uint32_t>(mesh.subsets.size()));
    w.U32(static_cast<uint32_t>(materials.size()));
    for (const uint32_t material : materials)
      w.U32(material);
    for (size_t s = 0; s < mesh.subsets.size(); ++s) {
      w.OpenObject("Material");
      w.FloatList(std::size(kNeutralMaterial));
      for (const float value : kNeutralMaterial)
        w.Float(value);
      w.Token(BinaryWriter::kCloseBrace);
    }
    w.Token(BinaryWriter::kCloseBrace);
  }
  w.Token(BinaryWriter::kCloseBrace);
  return std::move(w.Bytes());
}

}  // namespace

std::vector<uint8_t> WriteXFile(const MeshData& mesh, XEncoding encoding) {
  std::vector<uint8_t> out;
  if (!IsWritable(mesh)) return out;

  std::vector<uint8_t> body;
  const bool text = encoding == XEncoding::kText || encoding == XEncoding::kCompressedText;
  if (text) {
    const std::string textBody = TextBody(mesh);
    body.assign(textBody.begin(), textBody.end());
  } else {
    body = BinaryBody(mesh);
  }

  switch (encoding) {
    case XEncoding::kText:
      AppendHeader(&out, "txt ");
      break;
    case XEncoding::kBinary:
      AppendHeader(&out, "bin ");
      break;
    case XEncoding::kCompressedText:
    case XEncoding::kCompressedBinary:
      AppendHeader(&out, text ? "tzip" : "bzip");
      if (!DeflateMsZip(body, &out)) return {};
      return out;
  }
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

}  // namespace kbh
