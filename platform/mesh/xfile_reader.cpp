// ReadXFile: the header, the MSZIP unpacking, and one parser over either
// lexer. The parser knows the templates that carry geometry (Frame,
// FrameTransformMatrix, Mesh, MeshNormals, MeshTextureCoords,
// MeshMaterialList and the Material slots in it) and skips everything else
// whole, template declarations included, by matching braces.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/mesh/mszip.hpp"
#include "platform/mesh/xfile.hpp"
#include "platform/mesh/xfile_lexer.hpp"
#include "platform/mesh/xfile_mesh_builder.hpp"

namespace kbh {
namespace {

constexpr size_t kHeaderBytes = 16;
// Deeper nesting than this is no model anyone exports; refusing it keeps the
// recursion of the parser bounded.
constexpr int kMaxDepth = 64;
// The largest body (after unpacking) the reader accepts.
constexpr size_t kMaxBodyBytes = size_t{256} << 20;
// Deflate can pack a run of one byte a thousand times smaller, so a file of a
// few hundred kilobytes could have the reader inflate and hold hundreds of
// megabytes before the parser sees that they are filler. Real models, text or
// binary, pack a few times smaller at most; a body beyond the free allowance
// must therefore come from at least 1/kMaxPackingRatio of its size.
constexpr size_t kFreeUnpackedBytes = size_t{4} << 20;
constexpr size_t kMaxPackingRatio = 32;

size_t UnpackedLimit(size_t packedBytes) {
  if (packedBytes >= kMaxBodyBytes / kMaxPackingRatio) return kMaxBodyBytes;
  return std::max(kFreeUnpackedBytes, packedBytes * kMaxPackingRatio);
}

template <class Lexer>
class XParser {
 public:
  XParser(Lexer lexer, XMeshBuilder* builder)
      : lexer_(lexer), builder_(builder), materialBudget_(lexer.MaxNumbersLeft()) {}

  bool ParseFile() {
    for (;;) {
      const XToken token = lexer_.Next();
      switch (token.kind) {
        case XTokenKind::kEnd:
          return true;
        case XTokenKind::kSeparator:
          break;
        case XTokenKind::kTemplate:
          if (!SkipTemplate()) return false;
          break;
        case XTokenKind::kName:
          if (!ParseObject(token.text, XMeshBuilder::kRootFrame, 1)) return false;
          break;
        case XTokenKind::kOpenBrace:
          if (!SkipBalanced(1)) return false;
          break;
        default:
          return Unexpected(token);
      }
    }
  }

  const std::string& Error() const { return error_; }

 private:
  bool Fail(std::string_view what) {
    error_ = lexer_.Where();
    error_ += ": ";
    error_ += what;
    return false;
  }

  bool Unexpected(const XToken& token) {
    switch (token.kind) {
      case XTokenKind::kInvalid:
        return Fail(lexer_.Problem());
      case XTokenKind::kEnd:
        return Fail("unexpected end of file");
      case XTokenKind::kName:
        return Fail("unexpected '" + std::string(token.text.substr(0, 40)) + "'");
      default:
        return Fail("unexpected token");
    }
  }

  bool NumberFailed() { return Fail(lexer_.Problem()); }

  // After an object's template name: its optional name, the opening brace
  // and an optional GUID.
  bool OpenObject(int depth) {
    if (depth > kMaxDepth) return Fail("objects nested too deeply");
    XToken token = lexer_.Next();
    if (token.kind == XTokenKind::kName) token = lexer_.Next();
    if (token.kind != XTokenKind::kOpenBrace) {
      return token.kind == XTokenKind::kInvalid ? Unexpected(token) : Fail("expected '{'");
    }
    const Lexer beforeGuid = lexer_;
    if (lexer_.Next().kind != XTokenKind::kGuid) lexer_ = beforeGuid;
    return true;
  }

  // Just past an opening brace at nesting depth: skips to its partner.
  bool SkipBalanced(int depth) {
    int open = 1;
    while (open > 0) {
      const XToken token = lexer_.Next();
      switch (token.kind) {
        case XTokenKind::kOpenBrace:
          if (depth + open >= kMaxDepth) return Fail("objects nested too deeply");
          ++open;
          break;
        case XTokenKind::kCloseBrace:
          --open;
          break;
        case XTokenKind::kEnd:
        case XTokenKind::kInvalid:
          return Unexpected(token);
        default:
          break;
      }
    }
    return true;
  }

  bool SkipObject(int depth) { return OpenObject(depth) && SkipBalanced(depth); }

  bool SkipTemplate() {
    if (lexer_.Next().kind != XTokenKind::kName) return Fail("expected a template name");
    if (lexer_.Next().kind != XTokenKind::kOpenBrace) return Fail("expected '{'");
    return SkipBalanced(1);
  }

  // Separators may trail the last member of an object.
  bool ExpectClose() {
    for (;;) {
      const XToken token = lexer_.Next();
      if (token.kind == XTokenKind::kCloseBrace) return true;
      if (token.kind != XTokenKind::kSeparator) return Unexpected(token);
    }
  }

  bool ParseObject(std::string_view identifier, uint32_t frame, int depth) {
    if (EqualsNoCase(identifier, "Mesh")) return ParseMesh(frame, depth);
    if (EqualsNoCase(identifier, "Frame")) return ParseFrame(frame, depth);
    return SkipObject(depth);
  }

  bool ParseFrame(uint32_t parent, int depth) {
    if (!OpenObject(depth)) return false;
    const uint32_t frame = builder_->AddFrame(parent);
    for (;;) {
      const XToken token = lexer_.Next();
      switch (token.kind) {
        case XTokenKind::kSeparator:
          break;
        case XTokenKind::kCloseBrace:
          return true;
        case XTokenKind::kOpenBrace:
          // A reference to an object defined elsewhere: not geometry of ours.
          if (!SkipBalanced(depth + 1)) return false;
          break;
        case XTokenKind::kName:
          if (EqualsNoCase(token.text, "FrameTransformMatrix")) {
            if (!ParseFrameMatrix(frame, depth + 1)) return false;
          } else if (!ParseObject(token.text, frame, depth + 1)) {
            return false;
          }
          break;
        default:
          return Unexpected(token);
      }
    }
  }

  bool ParseFrameMatrix(uint32_t frame, int depth) {
    if (!OpenObject(depth)) return false;
    Matrix local;
    for (int i = 0; i < 16; ++i) {
      if (!lexer_.ReadFloat(&local.m[i / 4][i % 4])) return NumberFailed();
    }
    builder_->SetFrameMatrix(frame, local);
    return ExpectClose();
  }

  // A count of items that take numbersPerItem numbers each, checked against
  // what the rest of the body can hold before anything is reserved for it.
  bool ReadCount(uint32_t* count, size_t numbersPerItem, std::string_view what) {
    if (!lexer_.ReadUInt(count)) return NumberFailed();
    if (*count > lexer_.MaxNumbersLeft() / numbersPerItem) {
      return Fail(std::string(what) + " count " + std::to_string(*count) +
                  " is more than the file holds");
    }
    return true;
  }

  bool ReadVectors(uint32_t count, std::vector<Vec3>* out) {
    out->resize(count);
    for (Vec3& v : *out) {
      if (!lexer_.ReadFloat(&v.x) || !lexer_.ReadFloat(&v.y) || !lexer_.ReadFloat(&v.z)) {
        return NumberFailed();
      }
    }
    return true;
  }

  bool ReadFaces(XFaceList* faces, uint32_t indexLimit, std::string_view what) {
    uint32_t faceCount = 0;
    if (!ReadCount(&faceCount, 1, what)) return false;
    faces->cornerCounts.resize(faceCount);
    faces->corners.reserve(std::min<size_t>(size_t{faceCount} * 3, lexer_.MaxNumbersLeft()));
    for (uint32_t& cornerCount : faces->cornerCounts) {
      if (!ReadCount(&cornerCount, 1, "corner")) return false;
      for (uint32_t i = 0; i < cornerCount; ++i) {
        uint32_t index = 0;
        if (!lexer_.ReadUInt(&index)) return NumberFailed();
        if (index >= indexLimit) {
          return Fail(std::string(what) + " index " + std::to_string(index) + " out of range");
        }
        faces->corners.push_back(index);
      }
    }
    return true;
  }

  bool ParseMesh(uint32_t frame, int depth) {
    if (!OpenObject(depth)) return false;
    XMeshParts& mesh = parts_;
    mesh.Clear();
    uint32_t vertexCount = 0;
    if (!ReadCount(&vertexCount, 3, "vertex") || !ReadVectors(vertexCount, &mesh.positions) ||
        !ReadFaces(&mesh.faces, vertexCount, "face")) {
      return false;
    }
    for (;;) {
      const XToken token = lexer_.Next();
      bool ok = true;
      switch (token.kind) {
        case XTokenKind::kSeparator:
          break;
        case XTokenKind::kCloseBrace: {
          std::string problem;
          if (!builder_->AddMesh(mesh, frame, &problem)) return Fail(problem);
          return true;
        }
        case XTokenKind::kOpenBrace:
          ok = SkipBalanced(depth + 1);
          break;
        case XTokenKind::kName:
          if (EqualsNoCase(token.text, "MeshNormals")) {
            ok = ParseNormals(depth + 1);
          } else if (EqualsNoCase(token.text, "MeshTextureCoords")) {
            ok = ParseTextureCoords(depth + 1);
          } else if (EqualsNoCase(token.text, "MeshMaterialList")) {
            ok = ParseMaterialList(depth + 1);
          } else {
            ok = SkipObject(depth + 1);
          }
          break;
        default:
          return Unexpected(token);
      }
      if (!ok) return false;
    }
  }

  bool ParseNormals(int depth) {
    if (!OpenObject(depth)) return false;
    XMeshParts& mesh = parts_;
    mesh.normalFaces.cornerCounts.clear();
    mesh.normalFaces.corners.clear();
    uint32_t normalCount = 0;
    if (!ReadCount(&normalCount, 3, "normal") || !ReadVectors(normalCount, &mesh.normals) ||
        !ReadFaces(&mesh.normalFaces, normalCount, "normal face")) {
      return false;
    }
    mesh.hasNormals = true;
    return ExpectClose();
  }

  bool ParseTextureCoords(int depth) {
    if (!OpenObject(depth)) return false;
    XMeshParts& mesh = parts_;
    uint32_t count = 0;
    if (!ReadCount(&count, 2, "texture coordinate")) return false;
    mesh.texCoords.resize(count);
    for (Vec2& uv : mesh.texCoords) {
      if (!lexer_.ReadFloat(&uv.x) || !lexer_.ReadFloat(&uv.y)) return NumberFailed();
    }
    return ExpectClose();
  }

  bool ParseMaterialList(int depth) {
    if (!OpenObject(depth)) return false;
    XMeshParts& mesh = parts_;
    uint32_t materialCount = 0;
    uint32_t faceCount = 0;
    if (!ReadCount(&materialCount, 1, "material") || !ReadCount(&faceCount, 1, "face material")) {
      return false;
    }
    // Declared slots cost no bytes of their own, so without a budget for the
    // whole file many small lists could each claim the rest of it.
    if (materialCount > materialBudget_) return Fail("more materials than the file can hold");
    materialBudget_ -= materialCount;
    mesh.faceMaterials.resize(faceCount);
    for (uint32_t& material : mesh.faceMaterials) {
      if (!lexer_.ReadUInt(&material)) return NumberFailed();
    }
    // The Material objects and {Name} references that follow are the slots'
    // materials, which the program replaces with its own: the declared count
    // is what the face indices refer to.
    for (;;) {
      const XToken token = lexer_.Next();
      bool ok = true;
      switch (token.kind) {
        case XTokenKind::kSeparator:
          break;
        case XTokenKind::kCloseBrace:
          mesh.hasMaterialList = true;
          mesh.materialCount = materialCount;
          return true;
        case XTokenKind::kOpenBrace:
          ok = SkipBalanced(depth + 1);
          break;
        case XTokenKind::kName:
          ok = SkipObject(depth + 1);
          break;
        default:
          return Unexpected(token);
      }
      if (!ok) return false;
    }
  }

  Lexer lexer_;
  XMeshBuilder* builder_;
  XMeshParts parts_;
  size_t materialBudget_;
  std::string error_;
};

template <class Lexer>
bool ParseBody(Lexer lexer, MeshData* out, std::string* error) {
  XMeshBuilder builder;
  XParser<Lexer> parser(lexer, &builder);
  if (!parser.ParseFile()) {
    *error = parser.Error();
    return false;
  }
  return builder.Finish(out, error);
}

}  // namespace

bool ReadXFile(std::span<const uint8_t> bytes, MeshData* out, std::string* error) {
  *out = MeshData{};
  std::string problem;
  const auto fail = [&](std::string reason) {
    *out = MeshData{};
    if (error) *error = std::move(reason);
    return false;
  };

  if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), "xof ", 4) != 0) {
    return fail("not a .x file");
  }
  const std::string_view format(reinterpret_cast<const char*>(bytes.data()) + 8, 4);
  const std::string_view floatSize(reinterpret_cast<const char*>(bytes.data()) + 12, 4);
  if (floatSize != "0032" && floatSize != "0064") {
    return fail("unsupported float size '" + std::string(floatSize) + "'");
  }
  const size_t floatBytes = floatSize == "0064" ? 8 : 4;
  const bool text = format == "txt " || format == "tzip";
  if (!text && format != "bin " && format != "bzip") {
    return fail("unsupported format '" + std::string(format) + "'");
  }

  std::span<const uint8_t> body = bytes.subspan(kHeaderBytes);
  std::vector<uint8_t> unpacked;
  if (format == "tzip" || format == "bzip") {
    if (!InflateMsZip(body, UnpackedLimit(body.size()), &unpacked, &problem)) return fail(problem);
    body = unpacked;
  } else if (body.size() > kMaxBodyBytes) {
    return fail("file too large");
  }

  const bool ok =
      text ? ParseBody(XTextLexer(reinterpret_cast<const char*>(body.data()),
                                  reinterpret_cast<const char*>(body.data() + body.size())),
                       out, &problem)
           : ParseBody(XBinaryLexer(body.data(), body.data() + body.size(), floatBytes), out,
                       &problem);
  if (!ok) return fail(problem);
  return true;
}

}  // namespace kbh
