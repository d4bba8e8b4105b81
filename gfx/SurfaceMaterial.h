// The material of a mesh instance: colours, maps and options from which the material binding
// builds the draw's technique and parameters. Copying shares the texture objects (the
// GraphicsContext registry owns them).
#pragma once

#include <string>

#include "platform/d3dx9/d3dx9.h"

namespace kelvo {

class Texture;

struct SurfaceMaterial {
    // Parallax modes: any non-zero mode enables the effect's parallax switch; only this one
    // also selects the "Parallax" technique variant.
    static constexpr int kParallaxTechnique = 2;

    enum BlendMode : int { kOpaque = 0, kAdditive = 1, kAlphaBlend = 2 };

    D3DXVECTOR4 ambient{0.1f, 0.1f, 0.1f, 1.0f};  // RGBA
    D3DXVECTOR4 diffuse{0.7f, 0.7f, 0.7f, 1.0f};
    D3DXVECTOR4 specular{1.0f, 1.0f, 1.0f, 1.0f};
    float specularPower = 2.0f;
    bool directionalLit = true;  // accepts the scene's directional light
    Texture* diffuseMap = nullptr;
    Texture* normalMap = nullptr;
    Texture* depthMap = nullptr;  // height map for parallax
    float parallaxHeightScale = 0.1f;
    float bumpiness = 1.0f;  // normal-map strength
    bool lit = true;         // takes lights at all
    int parallaxMode = 0;
    int blendMode = kOpaque;
    std::string effectFile;     // empty: "SolidObject.fxo"
    std::string technique;      // empty: built from the options
    float roughness = 0.5f;     // Cook-Torrance
    float reflectance = 0.5f;   // Cook-Torrance
    bool cookTorrance = false;  // Cook-Torrance instead of Blinn-Phong
};

}  // namespace kelvo
