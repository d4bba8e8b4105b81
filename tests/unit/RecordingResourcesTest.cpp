// Objects of the recording device: texture levels and their memory, buffers, declarations and
// Direct3D's reference counting, including the leak count tests rely on.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3d9/recording/RecordingIndexBuffer.h"
#include "platform/d3d9/recording/RecordingSurface.h"

namespace {

class RecordingResourcesTest : public ::testing::Test {
protected:
    void SetUp() override { device = new RecordingDevice(); }
    void TearDown() override {
        EXPECT_EQ(device->overReleaseCount(), 0u);
        device->Release();
    }

    RecordingDevice* device = nullptr;
};

TEST_F(RecordingResourcesTest, TextureLevelsFollowTheMipChain) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        device->CreateTexture(256, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
        D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 9u);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(2, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 64u);
    EXPECT_EQ(desc.Height, 16u);
    EXPECT_EQ(desc.Type, D3DRTYPE_SURFACE);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    texture->GetLevelDesc(8, &desc);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 1u);
    EXPECT_EQ(texture->GetLevelDesc(9, &desc), D3DERR_INVALIDCALL);
    IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(texture->GetSurfaceLevel(9, &surface), D3DERR_INVALIDCALL);
    EXPECT_EQ(surface, nullptr);
    texture->Release();

    IDirect3DTexture9* rejected = nullptr;
    EXPECT_EQ(
        device->CreateTexture(16, 16, 6, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &rejected, nullptr),
        D3DERR_INVALIDCALL)
        << "a 16x16 chain has 5 levels";
    EXPECT_EQ(device->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                    D3DPOOL_MANAGED, &rejected, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(
        device->CreateTexture(0, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &rejected, nullptr),
        D3DERR_INVALIDCALL);
    EXPECT_EQ(rejected, nullptr);

    ASSERT_EQ(device->CreateTexture(64, 64, 0, D3DUSAGE_AUTOGENMIPMAP, D3DFMT_A8R8G8B8,
                                    D3DPOOL_DEFAULT, &texture, nullptr),
              D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    texture->Release();
}

TEST_F(RecordingResourcesTest, LockedTextureMemoryHasTheLevelsSizeAndKeepsItsContents) {
    IDirect3DTexture9* texture = nullptr;
    device->CreateTexture(20, 12, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr);

    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(1, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_EQ(locked.Pitch, 10 * 4);
    std::memset(locked.pBits, 0xAB, static_cast<std::size_t>(locked.Pitch) * 6);
    EXPECT_EQ(texture->LockRect(1, &locked, nullptr, 0), D3DERR_INVALIDCALL) << "already locked";
    EXPECT_EQ(texture->UnlockRect(1), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(1), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);

    const RECT lastPixel{9, 5, 10, 6};
    ASSERT_EQ(texture->LockRect(1, &locked, &lastPixel, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(*static_cast<const BYTE*>(locked.pBits), 0xAB);
    texture->UnlockRect(1);
    const RECT outside{9, 5, 11, 6};
    EXPECT_EQ(texture->LockRect(1, &locked, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->LockRect(5, &locked, nullptr, 0), D3DERR_INVALIDCALL);

    IDirect3DSurface9* level = nullptr;
    texture->GetSurfaceLevel(1, &level);
    ASSERT_EQ(level->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<const BYTE*>(locked.pBits)[10 * 4 * 6 - 1], 0xAB);
    EXPECT_EQ(texture->LockRect(1, &locked, nullptr, 0), D3DERR_INVALIDCALL)
        << "the surface and its texture level are one";
    level->UnlockRect();
    level->Release();
    texture->Release();

    IDirect3DSurface9* wide = nullptr;
    device->CreateOffscreenPlainSurface(3, 2, D3DFMT_A32B32G32R32F, D3DPOOL_SYSTEMMEM, &wide,
                                        nullptr);
    wide->LockRect(&locked, nullptr, 0);
    EXPECT_EQ(locked.Pitch, 3 * 16);
    wide->UnlockRect();
    wide->Release();
}

TEST_F(RecordingResourcesTest, BufferLocksStayInsideTheBuffer) {
    IDirect3DVertexBuffer9* vertices = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(64, D3DUSAGE_WRITEONLY, D3DFVF_XYZ, D3DPOOL_SYSTEMMEM,
                                         &vertices, nullptr),
              D3D_OK);
    D3DVERTEXBUFFER_DESC desc{};
    vertices->GetDesc(&desc);
    EXPECT_EQ(desc.Size, 64u);
    EXPECT_EQ(desc.FVF, D3DFVF_XYZ);
    EXPECT_EQ(desc.Type, D3DRTYPE_VERTEXBUFFER);

    void* whole = nullptr;
    void* tail = nullptr;
    ASSERT_EQ(vertices->Lock(0, 0, &whole, 0), D3D_OK);
    ASSERT_EQ(vertices->Lock(48, 16, &tail, 0), D3D_OK) << "buffers may be locked again";
    EXPECT_EQ(static_cast<BYTE*>(tail) - static_cast<BYTE*>(whole), 48);
    EXPECT_EQ(vertices->Lock(48, 17, &tail, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(vertices->Lock(65, 0, &tail, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(vertices->Unlock(), D3D_OK);
    EXPECT_EQ(vertices->Unlock(), D3D_OK);
    EXPECT_EQ(vertices->Unlock(), D3DERR_INVALIDCALL);
    vertices->Release();

    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device->CreateIndexBuffer(8, 0, D3DFMT_INDEX32, D3DPOOL_SYSTEMMEM, &indices, nullptr),
              D3D_OK);
    void* data = nullptr;
    indices->Lock(0, 0, &data, 0);
    const DWORD values[2] = {7, 70000};
    std::memcpy(data, values, sizeof values);
    indices->Unlock();
    const auto* recorded = static_cast<RecordingIndexBuffer*>(indices);
    EXPECT_EQ(recorded->indexCount(), 2u);
    EXPECT_EQ(recorded->index(1), 70000u);
    indices->Release();

    EXPECT_EQ(
        device->CreateIndexBuffer(8, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &indices, nullptr),
        D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateVertexBuffer(0, 0, 0, D3DPOOL_SYSTEMMEM, &vertices, nullptr),
              D3DERR_INVALIDCALL);
}

TEST_F(RecordingResourcesTest, DeclarationKeepsACopyOfItsElements) {
    D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {0, 12, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
        {0, 16, D3DDECLTYPE_UBYTE4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BLENDINDICES, 0},
        D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(device->CreateVertexDeclaration(elements, &declaration), D3D_OK);
    elements[1].Offset = 99;

    UINT count = 0;
    ASSERT_EQ(declaration->GetDeclaration(nullptr, &count), D3D_OK);
    EXPECT_EQ(count, 4u) << "the end marker counts";
    D3DVERTEXELEMENT9 copy[4] = {};
    declaration->GetDeclaration(copy, &count);
    EXPECT_EQ(copy[1].Offset, 12);
    EXPECT_EQ(copy[2].Usage, D3DDECLUSAGE_BLENDINDICES);
    EXPECT_EQ(copy[3].Stream, 0xFF);
    EXPECT_EQ(copy[3].Type, D3DDECLTYPE_UNUSED);
    declaration->Release();

    std::vector<D3DVERTEXELEMENT9> unterminated(
        MAXD3DDECLLENGTH + 1,
        D3DVERTEXELEMENT9{0, 0, D3DDECLTYPE_FLOAT1, D3DDECLMETHOD_DEFAULT, 0, 0});
    EXPECT_EQ(device->CreateVertexDeclaration(unterminated.data(), &declaration),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(declaration, nullptr);
}

TEST_F(RecordingResourcesTest, ReferenceCountsFollowDirect3D) {
    IDirect3DTexture9* texture = nullptr;
    device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr);
    EXPECT_EQ(device->refCount(), 2u) << "a held object holds its device";
    EXPECT_EQ(device->liveObjectNames(), std::vector<std::string>{"tex#1"});

    // A level surface shares its texture's count and keeps it alive.
    IDirect3DSurface9* level = nullptr;
    texture->GetSurfaceLevel(0, &level);
    EXPECT_EQ(level->AddRef(), 3u);
    level->Release();
    EXPECT_EQ(texture->Release(), 1u);
    D3DSURFACE_DESC desc{};
    EXPECT_EQ(level->GetDesc(&desc), D3D_OK);
    IDirect3DDevice9* owner = nullptr;
    level->GetDevice(&owner);
    EXPECT_EQ(owner, device);
    owner->Release();
    EXPECT_EQ(level->Release(), 0u);
    EXPECT_EQ(device->liveObjectCount(), 0u);
    EXPECT_EQ(device->refCount(), 1u);

    // A bound texture outlives the caller's last reference and is returned by GetTexture.
    device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr);
    device->SetTexture(3, texture);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(device->liveObjectCount(), 0u);
    IDirect3DBaseTexture9* bound = nullptr;
    ASSERT_EQ(device->GetTexture(3, &bound), D3D_OK);
    EXPECT_EQ(bound->GetLevelCount(), 1u);
    EXPECT_EQ(device->liveObjectCount(), 1u);
    bound->Release();
    device->SetTexture(3, nullptr);
    EXPECT_EQ(device->textureAt(3), nullptr);

    // The implicit back buffer survives any number of get/release pairs.
    for (int i = 0; i < 2; ++i) {
        IDirect3DSurface9* back = nullptr;
        ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
        EXPECT_EQ(back->Release(), 0u);
    }
    EXPECT_EQ(device->backBuffer().desc().Width, 640u);
}

TEST(RecordingDeviceLifetimeTest, TheDeviceOutlivesItsObjectsAndCountsOverReleases) {
    auto* device = new RecordingDevice();
    IDirect3DVertexBuffer9* buffer = nullptr;
    device->CreateVertexBuffer(16, 0, 0, D3DPOOL_SYSTEMMEM, &buffer, nullptr);
    IDirect3DTexture9* texture = nullptr;
    device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr);
    device->SetTexture(0, texture);
    texture->Release();
    device->AddRef();  // the test's own look at the device after the caller let go

    EXPECT_EQ(device->Release(), 2u) << "the vertex buffer still holds the device";
    EXPECT_EQ(device->liveObjectNames(), std::vector<std::string>{"vb#1"});
    EXPECT_EQ(buffer->Release(), 0u);

    // Releasing a reference nobody holds is caught while the object still exists.
    EXPECT_EQ(texture->Release(), 0u);
    IDirect3DSurface9* back = nullptr;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    back->Release();
    back->Release();
    EXPECT_EQ(device->overReleaseCount(), 2u);
    EXPECT_EQ(device->callsStartingWith("tex#1.Release"),
              std::vector<std::string>{"tex#1.Release() -> over-release"});
    // Frees the still-bound texture with the device; a sanitizer run reports anything left.
    EXPECT_EQ(device->Release(), 0u);
}

}  // namespace
