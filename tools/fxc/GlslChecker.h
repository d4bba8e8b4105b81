// Compiles the GLSL of every pass of an effect with glslang (desktop GLSL 4.50, core profile, the
// rules an OpenGL driver applies) and links each pass's two stages, so mistakes surface at build
// time; then the same as GLSL ES 3.00, as the device's WebGL2 profile rewrites it, so an effect
// that a browser would refuse fails the build too. Messages name the effect file and the line in
// it.
#pragma once

#include <string>
#include <vector>

#include "platform/d3dx9/EffectDescription.h"

class GlslChecker {
public:
    GlslChecker();
    ~GlslChecker();
    GlslChecker(const GlslChecker&) = delete;
    GlslChecker& operator=(const GlslChecker&) = delete;

    // Returns the problems found, one per entry; empty when every pass compiles and links.
    std::vector<std::string> check(const fx::EffectDescription& effect) const;
};
