// HR_CHECK: the check around device and D3DX calls whose result matters. A failure code raises
// the run-time assertion report for the expression "0", naming the engine source given (its
// path without extension, such as "gfx/TShader") and the line given; the program then goes on
// as if the call had succeeded. The source and line are explicit so that a report reads the
// same wherever the file sits and whatever the build does to __FILE__ and __LINE__.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace kelvo {

// Raises the report when hr is negative and returns hr unchanged.
HRESULT checkResult(HRESULT hr, const char* source, int line);

}  // namespace kelvo

#define HR_CHECK(source, line, call) (::kelvo::checkResult((call), (source), (line)))
