// A full-screen pass whose picture is computed entirely by its effect: one quad over the bound
// target, shaded with the inverse camera view, a texture, the source's depth and normal buffers,
// a scroll offset, a scale and the time. The tube backgrounds are drawn with it; the content
// set-up also builds tracers only to create their effects before the show starts.
//
// It runs only the first pass of its technique and never clears: whatever target is bound when
// render is called receives the quad (normally not its own buffer).
#pragma once

#include <string>

#include "gfx/BufferRenderable.h"
#include "gfx/IRenderable.h"
#include "gfx/TShader.h"
#include "gfx/Texture.h"

class TracerPP : public kelvo::BufferRenderable {
public:
    // The caller has put effectFile into the data file cache. The technique is not checked
    // here: a tracer with a technique its effect lacks may be built and destroyed unrendered.
    TracerPP(kelvo::IRenderable* source, const std::string& techniqueName,
             const std::string& effectFile);

    // Draws into the bound target; the clear flag is not used.
    void render(float time, bool clear) override;

    // Not owned; either may be null.
    kelvo::IRenderable* source;
    kelvo::TShader shader;
    // When set, the pass samples it instead of the source's buffer. Not owned.
    kelvo::Texture* texture = nullptr;
};
