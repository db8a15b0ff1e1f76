// Heap settings for a process that renders with Mesa's software rasteriser.
#pragma once

namespace kbh {

// glibc returns freed memory to the system eagerly; Mesa's software renderer
// frees and reallocates large buffers every frame, and the trimming and fresh
// page faults that follow cost up to 2.8 times the frame time. Large blocks
// stay on the heap instead. Call once at start-up, before any rendering.
void TuneHeapForRendering();

}  // namespace kbh
