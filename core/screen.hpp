// The fixed size of the picture: the back buffer, every 2D coordinate of the
// interface and the area the pointer moves in. Nothing scales; the window
// shows this picture scaled to the desktop.
#pragma once

namespace kbh {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

}  // namespace kbh
