// The engine on the OpenGL device: the device installed in the GraphicsContext, a 64 x 64
// picture (square letterbox) made the current viewport stack, and everything released after.
// Pictures can be saved as PNG files for a look (KELVO_SAVE_PICTURES=dir).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/EffectHandler.h"
#include "gfx/GraphicsContext.h"
#include "gfx/RenderTarget.h"
#include "gfx/ViewportStack.h"
#include "tests/gl/GLDeviceFixture.h"

class EngineGLFixture : public GLDeviceFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<D3DCOLOR> pictureOf(kelvo::RenderTarget* target) {
        return readBack(target->surface());
    }
    static D3DCOLOR at(const std::vector<D3DCOLOR>& picture, UINT x, UINT y) {
        return picture[std::size_t{y} * kWidth + x];
    }
    static int red(D3DCOLOR c) { return static_cast<int>((c >> 16) & 0xFF); }
    static int green(D3DCOLOR c) { return static_cast<int>((c >> 8) & 0xFF); }
    static int blue(D3DCOLOR c) { return static_cast<int>(c & 0xFF); }
    static int luminance(D3DCOLOR c) { return red(c) + green(c) + blue(c); }

    // Writes the picture to $KELVO_SAVE_PICTURES/name.png when that variable is set.
    static void save(const std::vector<D3DCOLOR>& picture, const std::string& name);

    kelvo::ViewportStack viewports;
};
