// The stack of viewports render-target users push and pop, over the default viewport: the
// letterboxed picture area of the back buffer. The render window owns one and makes it current;
// engine code reaches it through ViewportStack::current().
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>

#include "platform/d3d9/d3d9.h"

namespace kelvo {

class ViewportStack {
public:
    // Yields the device viewports are set on; it may yield null (no device yet), and then
    // nothing is set.
    using DeviceProvider = std::function<IDirect3DDevice9*()>;

    // A 640 x 360 back buffer at the 16:9 picture aspect until setBackBuffer says otherwise.
    explicit ViewportStack(DeviceProvider device = {});
    ~ViewportStack();
    ViewportStack(const ViewportStack&) = delete;
    ViewportStack& operator=(const ViewportStack&) = delete;

    // The stack engine code uses: the one made current, else a process-wide stand-in with no
    // device and the default back buffer, so that code running without a window still gets a
    // sound viewport.
    static ViewportStack& current();
    // Makes stack current (null: back to the stand-in). A current stack that is destroyed
    // stops being current.
    static void makeCurrent(ViewportStack* stack);

    void setDeviceProvider(DeviceProvider device);
    void setBackBuffer(std::uint32_t width, std::uint32_t height, float aspect);

    // The letterboxed picture area of the back buffer (letterboxViewport).
    D3DVIEWPORT9 defaultViewport() const;
    // Pushes a copy of viewport and sets it on the device (result ignored).
    void pushViewport(const D3DVIEWPORT9& viewport);
    // Removes the top, if any, then sets the new top, or the default viewport when the stack is
    // empty (result ignored).
    void popViewport();

    std::size_t depth() const { return stack_.size(); }
    // The viewport in force: the top, or the default one.
    D3DVIEWPORT9 currentViewport() const;

private:
    void apply(const D3DVIEWPORT9& viewport) const;

    DeviceProvider device_;
    std::uint32_t width_ = 640;
    std::uint32_t height_ = 360;
    float aspect_ = 16.0f / 9.0f;
    std::deque<D3DVIEWPORT9> stack_;
};

}  // namespace kelvo
