// The process-wide holder of the device, with the registry of every texture and render target
// the engine creates (so shutdown frees them in one place) and the pool of render targets the
// size of the letterboxed picture that post-processing and scene drawing borrow.
//
// Engine code reads `device` directly. The render window writes it when it creates the device;
// release() frees everything at shutdown. The context itself is never destroyed, so code running
// late in the process (another thread, a static destructor) still finds it, emptied.
#pragma once

#include <list>
#include <map>
#include <string>

#include "platform/d3d9/d3d9.h"

namespace kelvo {

class Texture;
class RenderTarget;

class GraphicsContext {
public:
    // Created on first use with no device and an empty registry and pool.
    static GraphicsContext& instance();

    GraphicsContext(const GraphicsContext&) = delete;
    GraphicsContext& operator=(const GraphicsContext&) = delete;

    // Creates a texture from the data file name (already in the data file cache) and registers
    // it, loaded or not. Loading one name twice gives two textures.
    Texture* loadTexture(const std::string& name);

    // A target of the picture size (the default viewport of the current viewport stack) in
    // A8R8G8B8: the one that has been free the longest, else a reserved one, else a new one.
    // Free targets of another size stay in the pool.
    RenderTarget* acquireRenderTarget();
    // Creates targets of the picture size ahead of need, until the registry holds count of that
    // size, and keeps them in reserve: handed out only where a new target would otherwise be
    // created. So the show's first frames and later parts create nothing, and every frame gets
    // the same targets, in the same order, as without the reserve (a reserved target has never
    // been drawn into, like a new one).
    void reserveRenderTargets(unsigned count);
    // Gives a borrowed target back to the pool. Null, a target the registry does not hold (any
    // target once releaseResources has run) and a target already free are ignored.
    void releaseRenderTarget(RenderTarget* target);

    // Destroys every registered texture and render target and empties the pool.
    void releaseResources();
    // releaseResources, then releases the device. Calling it again does nothing.
    void release();

    IDirect3DDevice9* device = nullptr;
    // Keyed by address; the flag marks the object as owned by the registry (always true).
    std::map<Texture*, bool> textures;
    std::map<RenderTarget*, bool> renderTargets;
    // Given back and free for reuse, oldest first.
    std::list<RenderTarget*> freeRenderTargets;
    // Created ahead of need and never handed out yet, in creation order.
    std::list<RenderTarget*> reservedRenderTargets;

private:
    GraphicsContext() = default;
    ~GraphicsContext() = default;
};

}  // namespace kelvo
