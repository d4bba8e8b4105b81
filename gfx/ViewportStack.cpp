#include "gfx/ViewportStack.h"

#include <atomic>
#include <utility>

#include "gfx/Letterbox.h"

namespace kelvo {

namespace {

std::atomic<ViewportStack*> currentStack{nullptr};

}  // namespace

ViewportStack::ViewportStack(DeviceProvider device) : device_(std::move(device)) {}

ViewportStack::~ViewportStack() {
    ViewportStack* self = this;
    currentStack.compare_exchange_strong(self, nullptr);
}

ViewportStack& ViewportStack::current() {
    if (ViewportStack* stack = currentStack.load()) {
        return *stack;
    }
    static ViewportStack* standIn = new ViewportStack();
    return *standIn;
}

void ViewportStack::makeCurrent(ViewportStack* stack) {
    currentStack.store(stack);
}

void ViewportStack::setDeviceProvider(DeviceProvider device) {
    device_ = std::move(device);
}

void ViewportStack::setBackBuffer(std::uint32_t width, std::uint32_t height, float aspect) {
    width_ = width;
    height_ = height;
    aspect_ = aspect;
}

D3DVIEWPORT9 ViewportStack::defaultViewport() const {
    return letterboxViewport(width_, height_, aspect_);
}

void ViewportStack::pushViewport(const D3DVIEWPORT9& viewport) {
    stack_.push_back(viewport);
    apply(viewport);
}

void ViewportStack::popViewport() {
    if (!stack_.empty()) {
        stack_.pop_back();
    }
    apply(currentViewport());
}

D3DVIEWPORT9 ViewportStack::currentViewport() const {
    return stack_.empty() ? defaultViewport() : stack_.back();
}

void ViewportStack::apply(const D3DVIEWPORT9& viewport) const {
    IDirect3DDevice9* device = device_ ? device_() : nullptr;
    if (device != nullptr) {
        device->SetViewport(&viewport);
    }
}

}  // namespace kelvo
