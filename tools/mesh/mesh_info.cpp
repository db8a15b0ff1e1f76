#include "tools/mesh/mesh_info.hpp"

#include <charconv>
#include <cmath>
#include <limits>

namespace kbh {
namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 if there is none.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  size_t length = 0;
  uint32_t lowest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    lowest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    lowest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    lowest = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  uint32_t code = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = code << 6 | (byte(i + k) & 0x3F);
  }
  if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

void AppendEscape(std::string* out, unsigned value) {
  static constexpr char kHex[] = "0123456789abcdef";
  *out += "\\u00";
  *out += kHex[value >> 4];
  *out += kHex[value & 15];
}

void AppendNumber(std::string* out, float value) {
  if (!std::isfinite(value)) {
    *out += "null";
    return;
  }
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out->append(buffer, result.ptr);
}

void AppendTriple(std::string* out, const float (&values)[3]) {
  *out += '[';
  for (int i = 0; i < 3; ++i) {
    if (i > 0) *out += ',';
    AppendNumber(out, values[i]);
  }
  *out += ']';
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      AppendEscape(&out, c);
    } else if (c >= 0x80) {
      const size_t length = Utf8SequenceLength(text, i);
      if (length == 0) {
        AppendEscape(&out, c);
      } else {
        out.append(text.substr(i, length));
        i += length;
        continue;
      }
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  out += '"';
  return out;
}

std::string MeshInfoJson(std::string_view file, const MeshData& mesh) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  float low[3] = {kInf, kInf, kInf};
  float high[3] = {-kInf, -kInf, -kInf};
  for (const MeshVertex& vertex : mesh.vertices) {
    const float p[3] = {vertex.position.x, vertex.position.y, vertex.position.z};
    for (int i = 0; i < 3; ++i) {
      // NaN coordinates fail both tests and so stay out of the box.
      if (p[i] < low[i]) low[i] = p[i];
      if (p[i] > high[i]) high[i] = p[i];
    }
  }
  if (mesh.vertices.empty()) {
    for (int i = 0; i < 3; ++i)
      low[i] = high[i] = 0.0f;
  }

  std::string out = "{\"file\":" + JsonString(file);
  out += ",\"vertices\":" + std::to_string(mesh.vertices.size());
  out += ",\"triangles\":" + std::to_string(mesh.indices.size() / 3);
  out += ",\"subsets\":" + std::to_string(mesh.subsets.size());
  out += ",\"triangles_per_subset\":[";
  for (size_t s = 0; s < mesh.subsets.size(); ++s) {
    if (s > 0) out += ',';
    out += std::to_string(mesh.subsets[s].triangleCount);
  }
  out += "],\"min\":";
  AppendTriple(&out, low);
  out += ",\"max\":";
  AppendTriple(&out, high);
  out += '}';
  return out;
}

std::string MeshErrorJson(std::string_view file, std::string_view error) {
  return "{\"file\":" + JsonString(file) + ",\"error\":" + JsonString(error) + "}";
}

}  // namespace kbh
