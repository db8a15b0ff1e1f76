#include "platform/os/message_box.hpp"

#include <SDL.h>

#include <cstdio>
#include <string>

#include "platform/os/windows1252.hpp"

namespace kbh {

bool ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) {
  const std::string captionUtf8 = Windows1252ToUtf8(caption);
  const std::string textUtf8 = Windows1252ToUtf8(text);
  std::fprintf(stderr, "%s: %s\n", captionUtf8.c_str(), textUtf8.c_str());
  std::fflush(stderr);
  const Uint32 flags =
      icon == MessageBoxIcon::kError ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_WARNING;
  return SDL_ShowSimpleMessageBox(flags, captionUtf8.c_str(), textUtf8.c_str(), nullptr) == 0;
}

}  // namespace kbh
