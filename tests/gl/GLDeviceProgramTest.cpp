// Programs on the OpenGL device: four render targets at once, an indexed mesh through the
// engine's 80-byte vertex declaration with matrix constants, and two threads drawing and
// creating resources during a loading phase.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "gfx/D3DMesh.h"
#include "gfx/VertexAttributes.h"
#include "tests/gl/GLDeviceFixture.h"

using kelvo::VertexAttributes;

namespace {

const char* const kPassThroughVertex = R"(#version 450 core
layout(location = 0) in vec3 position;
void main() { gl_Position = vec4(position, 1.0); }
)";

const char* const kFourTargetsFragment = R"(#version 450 core
layout(location = 0) out vec4 out0;
layout(location = 1) out vec4 out1;
layout(location = 2) out vec4 out2;
layout(location = 3) out vec4 out3;
void main() {
    out0 = vec4(1.0, 0.0, 0.0, 1.0);
    out1 = vec4(0.0, 1.0, 0.0, 1.0);
    out2 = vec4(0.0, 0.0, 1.0, 1.0);
    out3 = vec4(1.0, 1.0, 1.0, 0.0);
}
)";

struct Position {
    float x, y, z;
};
constexpr Position kTriangles[6] = {{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0},
                                    {1, 1, 0},   {1, -1, 0}, {-1, -1, 0}};

// Colour from the D3DCOLOR element, green from blend index 0 / 255 (unnormalised bytes) and
// blue from texture coordinate 1; the position goes through a row-major matrix constant.
const char* const kMeshVertex = R"(#version 450 core
layout(location = 0) in vec3 position;
layout(location = 2) in vec4 blendIndices;
layout(location = 4) in vec4 color;
layout(location = 7) in vec2 tex1;
uniform mat4 worldViewProjection;
out vec4 shade;
void main() {
    gl_Position = worldViewProjection * vec4(position, 1.0);
    shade = vec4(color.r, blendIndices.x / 255.0, tex1.y, color.a);
}
)";

const char* const kMeshFragment = R"(#version 450 core
in vec4 shade;
layout(location = 0) out vec4 fragColor;
void main() { fragColor = shade; }
)";

}  // namespace

using GLDeviceProgramTest = GLDeviceFixture;

TEST_F(GLDeviceProgramTest, ProgramWritesFourRenderTargets) {
    IDirect3DTexture9* textures[4];
    IDirect3DSurface9* surfaces[4];
    for (int i = 0; i < 4; ++i) {
        textures[i] = makeRenderTarget(16, 16);
        textures[i]->GetSurfaceLevel(0, &surfaces[i]);
        ASSERT_EQ(device_->SetRenderTarget(static_cast<DWORD>(i), surfaces[i]), D3D_OK);
    }
    ASSERT_EQ(device_->SetDepthStencilSurface(nullptr), D3D_OK);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    IDirect3DProgram9* program = makeProgram(kPassThroughVertex, kFourTargetsFragment);
    ASSERT_EQ(device_->SetProgram(program), D3D_OK);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->SetFVF(D3DFVF_XYZ);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kTriangles, sizeof(Position)),
              D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(pixel(surfaces[0], 5, 5), 0xFFFF0000u);
    EXPECT_EQ(pixel(surfaces[1], 5, 5), 0xFF00FF00u);
    EXPECT_EQ(pixel(surfaces[2], 5, 5), 0xFF0000FFu);
    EXPECT_EQ(pixel(surfaces[3], 5, 5), 0x00FFFFFFu);
    device_->SetProgram(nullptr);
    program->Release();
    for (int i = 3; i >= 0; --i) {
        if (i > 0) {
            device_->SetRenderTarget(static_cast<DWORD>(i), nullptr);
        }
        surfaces[i]->Release();
        textures[i]->Release();
    }
}

TEST_F(GLDeviceProgramTest, BrokenProgramSourceFailsToCreate) {
    IDirect3DProgram9* program = nullptr;
    EXPECT_EQ(device_->CreateProgram(kPassThroughVertex, "#version 450 core\nvoid main() { x; }",
                                     &program),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(program, nullptr);
    // Constants need a current program.
    const float one = 1.0f;
    EXPECT_EQ(device_->SetProgramConstantF(0, &one, D3DPCS_SCALAR, 1), D3DERR_INVALIDCALL);
}

TEST_F(GLDeviceProgramTest, IndexedMeshThroughTheEightyByteDeclaration) {
    IDirect3DVertexDeclaration9* declaration = nullptr;
    ASSERT_EQ(device_->CreateVertexDeclaration(kelvo::D3DMesh::vertexElements(), &declaration),
              D3D_OK);
    UINT count = 0;
    declaration->GetDeclaration(nullptr, &count);
    EXPECT_EQ(count, 11u);

    // Four corners of the left half of the screen, after two padding vertices that the base
    // vertex index skips.
    IDirect3DVertexBuffer9* vertices = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(6 * sizeof(VertexAttributes), D3DUSAGE_DYNAMIC, 0,
                                          D3DPOOL_SYSTEMMEM, &vertices, nullptr),
              D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(vertices->Lock(0, 6 * sizeof(VertexAttributes), &data, D3DLOCK_DISCARD), D3D_OK);
    std::memset(data, 0, 6 * sizeof(VertexAttributes));
    auto* v = static_cast<VertexAttributes*>(data);
    const float corners[4][2] = {{-1, -1}, {-1, 1}, {0, 1}, {0, -1}};
    for (int i = 0; i < 4; ++i) {
        VertexAttributes& m = v[2 + i];
        // Shifted right by 1 in x by the matrix below.
        m.position.x = corners[i][0] - 1.0f;
        m.position.y = corners[i][1];
        m.colour = 0x80FF0000u;  // D3DCOLOR: alpha 0x80, red 0xFF
        m.blendIndices0 = 51;    // the first index, in the lowest byte: 51 / 255 = 0.2
        m.texCoord1.v = 0.6f;
    }
    ASSERT_EQ(vertices->Unlock(), D3D_OK);

    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device_->CreateIndexBuffer(6 * 4, D3DUSAGE_DYNAMIC, D3DFMT_INDEX32, D3DPOOL_SYSTEMMEM,
                                         &indices, nullptr),
              D3D_OK);
    ASSERT_EQ(indices->Lock(0, 24, &data, D3DLOCK_DISCARD), D3D_OK);
    const std::uint32_t quad[6] = {0, 1, 2, 2, 3, 0};
    std::memcpy(data, quad, sizeof quad);
    ASSERT_EQ(indices->Unlock(), D3D_OK);

    IDirect3DProgram9* program = makeProgram(kMeshVertex, kMeshFragment);
    ASSERT_EQ(device_->SetProgram(program), D3D_OK);
    // Row-major translation by +1 in x: the last row holds the translation.
    const float translate[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1};
    const INT location = program->GetUniformLocation("worldViewProjection");
    ASSERT_GE(location, 0);
    ASSERT_EQ(device_->SetProgramConstantF(location, translate, D3DPCS_MATRIX4X4, 1), D3D_OK);
    EXPECT_EQ(program->GetUniformLocation("absent"), -1);

    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    ASSERT_EQ(device_->SetStreamSource(0, vertices, 0, sizeof(VertexAttributes)), D3D_OK);
    ASSERT_EQ(device_->SetVertexDeclaration(declaration), D3D_OK);
    ASSERT_EQ(device_->SetIndices(indices), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 2, 0, 4, 0, 2), D3D_OK);

    const D3DCOLOR c = backBufferPixel(16, 32);
    EXPECT_TRUE(near(c, 0x80FF3399u)) << std::hex << c;
    EXPECT_EQ(backBufferPixel(48, 32), 0xFF000000u);

    // A locked range is uploaded before the next draw: blend index 0 becomes 255.
    ASSERT_EQ(vertices->Lock(2 * sizeof(VertexAttributes), 4 * sizeof(VertexAttributes), &data, 0),
              D3D_OK);
    for (int i = 0; i < 4; ++i) {
        static_cast<VertexAttributes*>(data)[i].blendIndices0 = 255;
    }
    vertices->Unlock();
    ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 2, 0, 4, 0, 2), D3D_OK);
    EXPECT_TRUE(near(backBufferPixel(16, 32), 0x80FFFF99u)) << std::hex << backBufferPixel(16, 32);

    // Reading more indices than the buffer holds is refused.
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 2), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->EndScene(), D3D_OK);

    device_->SetProgram(nullptr);
    device_->SetStreamSource(0, nullptr, 0, 0);
    device_->SetIndices(nullptr);
    device_->SetVertexDeclaration(nullptr);
    program->Release();
    indices->Release();
    vertices->Release();
    declaration->Release();
}

TEST_F(GLDeviceProgramTest, UnknownDeclarationUsageIsRefused) {
    const D3DVERTEXELEMENT9 elements[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TESSFACTOR, 0},
        D3DDECL_END()};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    EXPECT_EQ(device_->CreateVertexDeclaration(elements, &declaration), D3DERR_INVALIDCALL);
    EXPECT_EQ(declaration, nullptr);
}

// The loading screen draws and presents from its own thread while the main thread creates and
// fills textures; both go through the device at once.
TEST_F(GLDeviceProgramTest, TwoThreadsUseTheDeviceDuringLoading) {
    std::atomic<bool> loadingDone{false};
    std::atomic<int> frames{0};
    std::atomic<int> failures{0};
    IDirect3DTexture9* spinner = makeTexture(8, 8, D3DFMT_A8R8G8B8, 0xFF00FF00u);

    std::thread loadingScreen([&] {
        const float quad[6][5] = {{-1, -1, 0, 0, 1}, {-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0},
                                  {1, 1, 0, 1, 0},   {1, -1, 0, 1, 1}, {-1, -1, 0, 0, 1}};
        while (!loadingDone || frames < 3) {
            int bad = 0;
            bad += FAILED(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0));
            bad += FAILED(device_->BeginScene());
            bad += FAILED(device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1));
            bad += FAILED(device_->SetTexture(0, spinner));
            bad += FAILED(device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE));
            bad += FAILED(device_->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1));
            bad += FAILED(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, 20));
            bad += FAILED(device_->EndScene());
            bad += FAILED(device_->Present(nullptr, nullptr, nullptr, nullptr));
            failures += bad;
            ++frames;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });

    std::vector<IDirect3DTexture9*> loaded;
    for (int i = 0; i < 20; ++i) {
        loaded.push_back(makeTexture(64, 64, D3DFMT_A8R8G8B8, 0xFF000000u | i));
    }
    loadingDone = true;
    loadingScreen.join();
    EXPECT_EQ(failures, 0);

    // The main thread sees what the loading thread drew and can draw with what it loaded.
    EXPECT_EQ(backBufferPixel(32, 32), 0xFF00FF00u);
    device_->SetTexture(0, loaded.back());
    const float quad[6][5] = {{-1, -1, 0, 0, 1}, {-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0},
                              {1, 1, 0, 1, 0},   {1, -1, 0, 1, 1}, {-1, -1, 0, 0, 1}};
    device_->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, 20), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(backBufferPixel(32, 32), 0xFF000013u);
    device_->SetTexture(0, nullptr);
    for (auto* t : loaded) {
        t->Release();
    }
    spinner->Release();
}
