// The largest picture the renderer can draw, asked of a small device made for the purpose
// before the show starts. A capture beyond it stops there with a message, instead of failing in
// the start-up (the back buffer) or drawing clipped pictures (GL clamps a viewport silently).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/d3d9/d3d9.h"

class RenderLimits {
public:
    RenderLimits(int maxWidth, int maxHeight) : maxWidth_(maxWidth), maxHeight_(maxHeight) {}

    // Empty, with *error, when no device could be made or it would not tell.
    static std::optional<RenderLimits> query(const std::function<IDirect3D9*()>& createDirect3D,
                                             std::string* error);

    // Empty when a picture of this size can be rendered; otherwise why not.
    std::string problemWith(int width, int height) const;

private:
    int maxWidth_;
    int maxHeight_;
};
