#include "tests/gl/EngineGLFixture.h"

#include <cstdlib>

#include <stb/stb_image_write.h>

void EngineGLFixture::SetUp() {
    GLDeviceFixture::SetUp();
    kelvo::GraphicsContext::instance().device = device_;
    viewports.setDeviceProvider([this]() -> IDirect3DDevice9* { return device_; });
    viewports.setBackBuffer(kWidth, kHeight, 1.0f);
    kelvo::ViewportStack::makeCurrent(&viewports);
}

void EngineGLFixture::TearDown() {
    kelvo::EffectHandler::destroyInstance();
    kelvo::GraphicsContext& context = kelvo::GraphicsContext::instance();
    context.releaseResources();
    context.device = nullptr;
    kelvo::ViewportStack::makeCurrent(nullptr);
    GLDeviceFixture::TearDown();
}

void EngineGLFixture::save(const std::vector<D3DCOLOR>& picture, const std::string& name) {
    const char* directory = std::getenv("KELVO_SAVE_PICTURES");
    if (directory == nullptr) {
        return;
    }
    std::vector<std::uint8_t> rgba;
    rgba.reserve(picture.size() * 4);
    for (D3DCOLOR c : picture) {
        rgba.push_back(static_cast<std::uint8_t>(red(c)));
        rgba.push_back(static_cast<std::uint8_t>(green(c)));
        rgba.push_back(static_cast<std::uint8_t>(blue(c)));
        rgba.push_back(255);
    }
    const std::string path = std::string(directory) + "/" + name + ".png";
    stbi_write_png(path.c_str(), kWidth, kHeight, 4, rgba.data(), kWidth * 4);
}
