// The floor a frame of the show is measured against: the same number of full-screen passes as
// the show draws, each a plain textured copy (the engine's full-screen quad on the fixed-function
// path, whose program only samples), ping-ponging between two render targets of the picture size
// and ending in the back buffer, then the present and the same read-back as a show frame.
#pragma once

#include "demo/IFrameObserver.h"
#include "gfx/RenderTarget.h"
#include "platform/d3d9/d3d9.h"

class FloorFrame {
public:
    // Borrows two targets from the render-target pool; the observer finishes each frame.
    FloorFrame(IDirect3DDevice9& device, IFrameObserver& finish);
    ~FloorFrame();
    FloorFrame(const FloorFrame&) = delete;
    FloorFrame& operator=(const FloorFrame&) = delete;

    void render(int passes);

private:
    IDirect3DDevice9& device_;
    IFrameObserver& finish_;
    kelvo::RenderTarget* targets_[2];
};
