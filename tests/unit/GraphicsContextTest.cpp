#include <gtest/gtest.h>

#include <string>

#include "EngineTestBase.h"
#include "gfx/DataFileCache.h"
#include "gfx/GraphicsContext.h"
#include "gfx/RenderTarget.h"
#include "gfx/Texture.h"

using kelvo::GraphicsContext;
using kelvo::RenderTarget;
using kelvo::Texture;

namespace {

// An uncompressed TGA, bottom-up rows, every pixel the given bytes (grey: 1 byte; colour: B, G,
// R).
std::string tgaImage(int width, int height, const std::string& pixel) {
    const bool grey = pixel.size() == 1;
    std::string file(18, '\0');
    file[2] = grey ? 3 : 2;
    file[12] = static_cast<char>(width & 0xFF);
    file[13] = static_cast<char>(width >> 8);
    file[14] = static_cast<char>(height & 0xFF);
    file[15] = static_cast<char>(height >> 8);
    file[16] = static_cast<char>(pixel.size() * 8);
    for (int i = 0; i < width * height; ++i) {
        file += pixel;
    }
    return file;
}

class GraphicsContextTest : public EngineTestBase {
protected:
    GraphicsContext& context = GraphicsContext::instance();
};

}  // namespace

TEST_F(GraphicsContextTest, PoolHandsBackTheTargetFreeLongestAndCreatesOnlyWhenNoneFits) {
    RenderTarget* first = context.acquireRenderTarget();
    EXPECT_EQ(first->width(), 640u);  // the letterboxed picture of the 640 x 360 back buffer
    EXPECT_EQ(first->height(), 359u);
    EXPECT_EQ(first->format(), D3DFMT_A8R8G8B8);
    context.releaseRenderTarget(first);
    EXPECT_EQ(context.acquireRenderTarget(), first);
    EXPECT_EQ(device->countCalls("CreateTexture"), 1u);

    RenderTarget* second = context.acquireRenderTarget();
    EXPECT_NE(second, first);
    context.releaseRenderTarget(first);
    context.releaseRenderTarget(second);
    EXPECT_EQ(context.acquireRenderTarget(), first);
    EXPECT_EQ(context.acquireRenderTarget(), second);
    EXPECT_EQ(context.renderTargets.size(), 2u);
}

// A borrower that outlives shutdown (an effect object destroyed late) gives back a target the
// registry has destroyed; one given back twice would go to two borrowers at once.
TEST_F(GraphicsContextTest, OnlyRegisteredTargetsGoBackToThePoolAndOnlyOnce) {
    RenderTarget* borrowed = context.acquireRenderTarget();
    context.releaseRenderTarget(borrowed);
    context.releaseRenderTarget(borrowed);
    EXPECT_EQ(context.freeRenderTargets.size(), 1u);
    EXPECT_EQ(context.acquireRenderTarget(), borrowed);
    EXPECT_NE(context.acquireRenderTarget(), borrowed);

    RenderTarget* late = context.acquireRenderTarget();
    context.releaseResources();
    context.releaseRenderTarget(late);
    EXPECT_TRUE(context.freeRenderTargets.empty());
}

TEST_F(GraphicsContextTest, FreeTargetsOfAnotherSizeAreSkippedAndKept) {
    RenderTarget* small = context.acquireRenderTarget();
    context.releaseRenderTarget(small);
    viewports.setBackBuffer(800, 600, 16.0f / 9.0f);

    RenderTarget* large = context.acquireRenderTarget();
    EXPECT_NE(large, small);
    EXPECT_EQ(large->width(), 800u);
    EXPECT_EQ(large->height(), 449u);
    EXPECT_EQ(context.freeRenderTargets.size(), 1u);

    viewports.setBackBuffer(640, 360, 16.0f / 9.0f);
    EXPECT_EQ(context.acquireRenderTarget(), small);
    EXPECT_TRUE(context.freeRenderTargets.empty());
}

// The reserve must not change which target a user gets: a target given back is handed out
// again before any reserved one, exactly as without the reserve.
TEST_F(GraphicsContextTest, ReserveIsHandedOutOnlyWhereANewTargetWouldBeCreated) {
    RenderTarget* held = context.acquireRenderTarget();
    context.reserveRenderTargets(3);
    EXPECT_EQ(context.renderTargets.size(), 3u);  // the held target counts towards the three
    EXPECT_EQ(device->countCalls("CreateTexture"), 3u);
    context.reserveRenderTargets(2);
    EXPECT_EQ(context.renderTargets.size(), 3u);

    context.releaseRenderTarget(held);
    EXPECT_EQ(context.acquireRenderTarget(), held);
    RenderTarget* second = context.acquireRenderTarget();
    RenderTarget* third = context.acquireRenderTarget();
    EXPECT_NE(second, held);
    EXPECT_NE(third, second);
    EXPECT_TRUE(context.reservedRenderTargets.empty());
    EXPECT_EQ(device->countCalls("CreateTexture"), 3u);

    context.acquireRenderTarget();  // past the reserve, a new one
    EXPECT_EQ(device->countCalls("CreateTexture"), 4u);
}

TEST_F(GraphicsContextTest, ReservedTargetsOfAnotherSizeWaitForTheirSize) {
    context.reserveRenderTargets(1);
    viewports.setBackBuffer(800, 600, 16.0f / 9.0f);
    RenderTarget* large = context.acquireRenderTarget();
    EXPECT_EQ(large->width(), 800u);
    EXPECT_EQ(context.reservedRenderTargets.size(), 1u);

    viewports.setBackBuffer(640, 360, 16.0f / 9.0f);
    RenderTarget* small = context.acquireRenderTarget();
    EXPECT_EQ(small->width(), 640u);
    EXPECT_TRUE(context.reservedRenderTargets.empty());
    EXPECT_EQ(context.renderTargets.size(), 2u);
}

TEST_F(GraphicsContextTest, ReleaseFreesEverythingThenTheDeviceAndASecondCallDoesNothing) {
    device->AddRef();  // the test's own reference, to look at the device afterwards
    const std::string image = writeDataFile("plain.tga", tgaImage(4, 4, "\x10\x20\x30"));
    kelvo::preloadDataFile(image);
    // One name loaded twice gives two textures, both registered and both freed.
    Texture* first = context.loadTexture(image);
    Texture* second = context.loadTexture(image);
    EXPECT_NE(first->getTexture(), second->getTexture());
    EXPECT_EQ(context.textures.size(), 2u);
    RenderTarget* target = context.acquireRenderTarget();
    target->bind(0);
    target->unbind();
    context.releaseRenderTarget(target);
    context.acquireRenderTarget();
    context.reserveRenderTargets(3);

    context.release();
    EXPECT_EQ(context.device, nullptr);
    EXPECT_TRUE(context.textures.empty());
    EXPECT_TRUE(context.renderTargets.empty());
    EXPECT_TRUE(context.freeRenderTargets.empty());
    EXPECT_TRUE(context.reservedRenderTargets.empty());
    EXPECT_EQ(device->liveObjectCount(), 0u) << testing::PrintToString(device->liveObjectNames());
    EXPECT_EQ(device->refCount(), 1u);

    context.release();
    EXPECT_EQ(device->refCount(), 1u);
    EXPECT_EQ(device->overReleaseCount(), 0u);
    device->Release();
}

TEST_F(GraphicsContextTest, TextureTakesItsSizesFromTheImageAndLoadsOnce) {
    const std::string image = writeDataFile("colour.tga", tgaImage(3, 2, "\x10\x20\x30"));
    kelvo::preloadDataFile(image);
    Texture* texture = context.loadTexture(image);
    const kelvo::TextureData& data = texture->data();
    ASSERT_NE(texture->getTexture(), nullptr);
    EXPECT_TRUE(data.loaded);
    EXPECT_EQ(data.imageWidth, 3);
    EXPECT_EQ(data.imageHeight, 2);
    EXPECT_EQ(data.width, 3);
    EXPECT_EQ(data.height, 2);
    EXPECT_EQ(data.uScale, 1.0f);
    EXPECT_EQ(data.vScale, 1.0f);
    EXPECT_EQ(data.luminance, 0);

    IDirect3DTexture9* first = texture->getTexture();
    texture->load(image);
    EXPECT_EQ(texture->getTexture(), first);
    EXPECT_EQ(device->countCalls("UpdateTexture"), 1u) << "one texture filled";
}

TEST_F(GraphicsContextTest, GreyImageIsALuminanceTexture) {
    const std::string image = writeDataFile("grey.tga", tgaImage(2, 2, "\x80"));
    kelvo::preloadDataFile(image);
    EXPECT_EQ(context.loadTexture(image)->data().luminance, 1);
}

TEST_F(GraphicsContextTest, MissingOrBrokenImageGivesARegisteredTextureWithoutDirect3DTexture) {
    const std::string broken = writeDataFile("broken.jpg", "not an image");
    kelvo::preloadDataFile(broken);
    for (const std::string& name : {broken, std::string("never-preloaded.jpg")}) {
        Texture* texture = context.loadTexture(name);
        EXPECT_EQ(texture->getTexture(), nullptr) << name;
        EXPECT_FALSE(texture->data().loaded) << name;
        EXPECT_EQ(context.textures.count(texture), 1u) << name;
    }
    EXPECT_EQ(device->countCalls("CreateTexture"), 0u);
}
