// GLSL 4.50 core stages as GLSL ES 3.00, for the device's ES profile (WebGL2): the version line
// becomes ES's with high precision, sampler units leave the source (ES 3.00 cannot declare them;
// samplerUnits lists them for setting after linking), and a vertex stage ends by turning
// Direct3D's clip volume into GL's, since ES has no clip control: y flipped, z from [0, w] to
// [-w, w]. Plain text work, so the effect compiler checks the same text at build time.
#pragma once

#include <string>
#include <utility>
#include <vector>

class GlslEsSource {
public:
    static std::string translate(const std::string& desktop, bool vertexStage);
    // (sampler name, unit) for every "layout(binding = N) uniform sampler2D name".
    static std::vector<std::pair<std::string, int>> samplerUnits(const std::string& desktop);
};
