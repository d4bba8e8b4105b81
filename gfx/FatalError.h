// The report for a broken consistency rule of an engine object: a message box
// "Unexpected fatal error(#code)." captioned "Kelvo error". It returns; the caller then skips or
// finishes its operation. The code names the check site (52, 119, 124 and 166 render target,
// 71 scene-graph node, 165 and 226 GPU mesh).
#pragma once

namespace kelvo {

void fatalError(int code);

}  // namespace kelvo
