// The renderable that draws a scene graph into its own buffer, filling the depth and normal
// buffers beside it. It carries the lighting environment the material binding reads: one
// directional light, the colours that scale the materials' ambient, diffuse and specular
// colours, and the velocity scale. The direction is used as given, not normalised.
//
// Set-up per frame: construct, set graph->camera, hang nodes below graph->root, renderToBuffer;
// destroy it when done (the nodes below the root survive).
#pragma once

#include <memory>

#include "gfx/BufferRenderable.h"
#include "gfx/SceneGraph.h"
#include "gfx/Vec3.h"
#include "platform/d3dx9/d3dx9.h"

namespace kelvo {

class Scene : public BufferRenderable {
public:
    Scene();
    ~Scene() override;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    void render(float time, bool clear) override;
    RenderTarget* getVelocityBuffer() override;
    RenderTarget* getDepthBuffer() override;
    RenderTarget* getNormalBuffer() override;

    std::unique_ptr<SceneGraph> graph;
    bool directionalLightEnabled = true;
    Vec3 directionalLightDirection{1.0f, 1.0f, 0.0f};
    D3DXVECTOR4 directionalLightColour{1.0f, 1.0f, 1.0f, 1.0f};
    float directionalLightIntensity = 1.0f;
    D3DXVECTOR4 ambientLightColour{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXVECTOR4 diffuseLightColour{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXVECTOR4 specularLightColour{1.0f, 1.0f, 1.0f, 1.0f};
    float velocityScale = 1.0f;
};

}  // namespace kelvo
