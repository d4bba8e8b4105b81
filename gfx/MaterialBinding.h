// The draw of one mesh instance's material. bindMaterial creates the draw's shader (the
// material's effect, by default "SolidObject.fxo" with a technique built from its options),
// binds colours, maps, options, the scene's lights and the standard parameters, binds the
// scene's auxiliary targets as extra colour outputs (velocity 1 when present, depth 2,
// normal 3), sets blend and depth states and begins pass 0. finishMaterial ends the pass and the
// effect, unbinds the auxiliary targets and destroys the shader.
//
// The scene is read through the context's renderable. A renderable that is not a Scene draws
// with neutral lighting: white light colours, no directional or point lights, time 0.
#pragma once

namespace kelvo {

class MeshInstance;
class ShaderContext;

// Point lights the surface effect declares; the light index is one digit in the parameter
// names, so no effect can name more. A scene with more binds the first ones.
inline constexpr int kMaxPointLights = 10;

void bindMaterial(MeshInstance& instance, ShaderContext& context);
void finishMaterial(ShaderContext& context);

}  // namespace kelvo
