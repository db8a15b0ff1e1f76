// A font with no font file behind it, for tests of anything that lays out or
// draws text: every printable byte is a solid block of the same width, so
// positions can be worked out by hand and pixels checked exactly.
#pragma once

#include "platform/font/font.hpp"

namespace kbh {

// Printable bytes advance by `advance` pixels and draw a solid block of
// advance x ascent texels standing on the baseline; space and no-break space
// advance without a block; control and undefined bytes take no room. The
// average character width is `advance`, the line step ascent + descent.
Font MakeBlockFont(int advance, int ascent, int descent);

}  // namespace kbh
