// Blur of a picture along a scene's per-pixel velocities ("MappedBlur.fxo"). The show builds
// one per frame only for its effect file to be loaded and never renders it; render() draws the
// blur into the bound target for whoever does.
#pragma once

#include "gfx/BufferRenderable.h"
#include "gfx/ID3dSurface.h"
#include "gfx/TShader.h"

namespace kelvo {

class MotionblurEffect : public BufferRenderable {
public:
    // Puts "MappedBlur.fxo" into the data file cache and takes its effect. The surfaces are not
    // owned; any may be null.
    MotionblurEffect(ID3dSurface* source, ID3dSurface* blurMap, ID3dSurface* depth, float radius);

    void render(float time, bool clear) override;

    ID3dSurface* source;
    ID3dSurface* blurMap;
    ID3dSurface* depth;
    float radius;
    TShader shader;
};

}  // namespace kelvo
