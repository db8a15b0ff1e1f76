// Windows-1252, the 8-bit code page of every text the program stores and
// shows (catalogue names, its own German strings), and UTF-8, what the rest of
// the system speaks. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the code points of the same value, so
// every byte string has exactly one Unicode form and converts back unchanged.
#pragma once

#include <string>
#include <string_view>

namespace kbh {

char32_t Windows1252ToCodePoint(unsigned char byte);
// False when the code point has no byte in the code page.
bool CodePointToWindows1252(char32_t codePoint, unsigned char* byte);

std::string Windows1252ToUtf8(std::string_view bytes);
// Converts well-formed UTF-8. False at the first character without a byte (or
// a malformed sequence, reported as U+FFFD) in unmappable; out then holds the
// bytes before it.
bool Utf8ToWindows1252(std::string_view utf8, std::string* out, char32_t* unmappable);

}  // namespace kbh
