// What the OpenGL device does not carry out, and therefore refuses with D3DERR_NOTAVAILABLE
// instead of answering D3D_OK and drawing something else. Everything else follows Direct3D 9's
// own rules (core/DeviceRules, core/CapturableState), which the recording device shares.
//
// - Render states: fog, specular lighting, the stencil test, the scissor test, sRGB writes,
//   separate alpha blending and vertex blending may only stay off.
// - The displacement-map sampler (no tessellation).
// - Texture stages: stage 0 runs the colour and alpha operations DISABLE, SELECTARG1,
//   SELECTARG2, MODULATE, MODULATE2X, MODULATE4X, ADD, ADDSIGNED and SUBTRACT on the arguments
//   DIFFUSE, CURRENT, TEXTURE and TFACTOR (with COMPLEMENT and ALPHAREPLICATE), writes CURRENT,
//   reads texture coordinate set 0 without a texture transform; later stages stay disabled.
// - Vertex declarations with pretransformed positions (D3DDECLUSAGE_POSITIONT).
// - Multisampled depth-stencil surfaces; off-screen surfaces other than A8R8G8B8 and X8R8G8B8
//   in the system-memory or default pool; locking a default-pool off-screen surface (it lives
//   on the card: ColorFill it, or read it back through a render target).
#pragma once

#include "platform/d3d9/d3d9.h"

class GLLimits {
public:
    static bool carriesOutRenderState(DWORD state, DWORD value);
    static bool carriesOutSampler(int slot);
    static bool carriesOutStageState(DWORD stage, DWORD type, DWORD value);
    static bool carriesOutDeclaration(const D3DVERTEXELEMENT9* elements);
};
