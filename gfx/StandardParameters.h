// The parameters every effect that draws scene geometry receives, by fixed names: the object's
// transforms, the camera, a velocity matrix for motion blur and, for skinned meshes, the bone
// palette. Also the walk that draws one mesh instance's node tree with the current material.
//
// All parameters are set unreported (a name the effect lacks is simply not set) except
// "eyePos" and the commits, which report failures.
#pragma once

#include "gfx/Matrix.h"

namespace kelvo {

class Bone;
class INode;
class Mesh;
class MeshInstance;
class ShaderContext;

// Binds, in this order, worldViewProjection, worldViewProjInv, world, viewProjection,
// worldView, worldViewInv, worldInv, view, viewInv, eyePos and velocityTransform for the node
// (world: its local transform times the top of the context's stack), then sets the cull mode
// from the winding of world x viewProjection. Needs the context's scene camera and shader;
// without them nothing is bound.
void bindStandardMatrices(ShaderContext& context, const INode& node);

// Switches the shader to the "Skinned" variant of its technique when the mesh has bones (and
// binds "matrixPalette[i]" for each), or back to the plain variant when it has none, restarting
// the effect at pass 0 whenever the technique changed.
void bindSkinning(ShaderContext& context, const Mesh& mesh);

// Draws node's subtree with instance's material: children first (nested instances excepted,
// they draw themselves), then, for a Mesh, its normals and tangent frames as the material needs
// them, its standard parameters, its skinning and its geometry. parentTransform is the world of
// the node's parent.
void renderNode(MeshInstance& instance, const Matrix& parentTransform, INode& node);

// The skinning matrix of a bone: rotation about the rest position by the rotation that carries
// the rest direction's frame onto the current one, then the bone's displacement.
Matrix boneMatrix(const Bone& bone);

}  // namespace kelvo
