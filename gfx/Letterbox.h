// The letterbox rule: the largest picture of the given aspect (width over height) that the back
// buffer holds, centred, with depth range 0 to 1.
#pragma once

#include <cstdint>

#include "platform/d3d9/d3d9.h"

namespace kelvo {

// For aspect > 1 the picture spans the full width, H = width / aspect (in double precision,
// truncated) and Y = (height - H) / 2 rounded down; otherwise it spans the full height,
// W = aspect * height truncated and X = (width - W) / 2. The aspect is a float, slightly above
// 16/9 for 16:9, so a 640 x 360 buffer gets (0, 0, 640, 359).
//
// A buffer wider than the aspect would get a picture taller than itself; it is pillarboxed
// instead (full height, W = height * aspect truncated, X centred), and a narrower one in the
// other branch letterboxed, so the viewport always lies inside the buffer. An aspect that is
// not a positive number gives the whole buffer.
D3DVIEWPORT9 letterboxViewport(std::uint32_t width, std::uint32_t height, float aspect);

}  // namespace kelvo
