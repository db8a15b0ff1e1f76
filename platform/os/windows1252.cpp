#include "platform/os/windows1252.hpp"

#include <cstdint>

namespace kbh {
namespace {

// 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void AppendUtf8(char32_t codePoint, std::string* out) {
  if (codePoint < 0x80) {
    *out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    *out += static_cast<char>(0xC0 | (codePoint >> 6));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    // Every code point of the code page lies in the basic plane.
    *out += static_cast<char>(0xE0 | (codePoint >> 12));
    *out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[*at], advancing *at; U+FFFD for a
// malformed one (which has no byte, so conversion stops there).
char32_t NextCodePoint(std::string_view text, size_t* at) {
  const auto lead = static_cast<unsigned char>(text[(*at)++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t codePoint = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    codePoint = lead & 0x07;
  } else {
    return 0xFFFD;
  }
  for (int i = 0; i < extra; ++i) {
    if (*at >= text.size()) return 0xFFFD;
    const auto next = static_cast<unsigned char>(text[*at]);
    if ((next & 0xC0) != 0x80) return 0xFFFD;
    codePoint = codePoint << 6 | (next & 0x3F);
    ++*at;
  }
  return codePoint;
}

}  // namespace

char32_t Windows1252ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

bool CodePointToWindows1252(char32_t codePoint, unsigned char* byte) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    *byte = static_cast<unsigned char>(codePoint);
    return true;
  }
  for (int index = 0; index < 32; ++index) {
    if (kHighControls[index] == codePoint) {
      *byte = static_cast<unsigned char>(0x80 + index);
      return true;
    }
  }
  return false;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes)
    AppendUtf8(Windows1252ToCodePoint(static_cast<unsigned char>(c)), &out);
  return out;
}

bool Utf8ToWindows1252(std::string_view utf8, std::string* out, char32_t* unmappable) {
  out->clear();
  size_t at = 0;
  while (at < utf8.size()) {
    const char32_t codePoint = NextCodePoint(utf8, &at);
    unsigned char byte = 0;
    if (!CodePointToWindows1252(codePoint, &byte)) {
      if (unmappable != nullptr) *unmappable = codePoint;
      return false;
    }
    *out += static_cast<char>(byte);
  }
  return true;
}

}  // namespace kbh
