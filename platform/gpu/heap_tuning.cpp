#include "platform/gpu/heap_tuning.hpp"

#include <malloc.h>

namespace kbh {

void TuneHeapForRendering() {
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
}

}  // namespace kbh
