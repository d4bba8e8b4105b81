// Cost of the OpenGL device against the same work in raw GL, measured in one run on the same
// context: (1) full-screen quads through a program into a 64x64 target (draws per second),
// (2) full-screen textured copies at 640x360 through the fixed-function path (copies per
// second, each copy flushed to the rasteriser).
//
// Both sides draw the same quad, streamed the same way, into a target of the same size, and the
// raw side puts back every GL binding it changes: the device owns the context and trusts its
// own record of what is bound, so raw GL left bound (its framebuffer, vertex array, program)
// would silently redirect the device's draws. Rounds alternate device and raw GL, and each
// device case ends by reading back a pixel to prove it drew where it should.
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/d3d9/d3d9.h"

namespace {

const char* const kVertex = R"(#version 450 core
layout(location = 0) in vec3 position;
layout(location = 6) in vec2 texCoord;
out vec2 uv;
void main() { gl_Position = vec4(position, 1.0); uv = texCoord; }
)";
const char* const kFragment = R"(#version 450 core
in vec2 uv;
uniform vec4 tint;
layout(location = 0) out vec4 color;
void main() { color = vec4(uv, 0.0, 1.0) * tint; }
)";
const char* const kCopyFragment = R"(#version 450 core
in vec2 uv;
layout(binding = 0) uniform sampler2D image;
layout(location = 0) out vec4 color;
void main() { color = texture(image, uv); }
)";

const float kQuad[6][5] = {{-1, -1, 0, 0, 1}, {-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0},
                           {1, 1, 0, 1, 0},   {1, -1, 0, 1, 1}, {-1, -1, 0, 0, 1}};
constexpr int kCopyWidth = 640;
constexpr int kCopyHeight = 360;
constexpr int kRounds = 3;

// Runs `draw` in batches until `seconds` have passed; returns draws per second.
double rate(const std::function<void()>& draw, double seconds) {
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < 50; ++i) {
        draw();
    }
    glFinish();
    const auto start = Clock::now();
    long count = 0;
    double elapsed = 0;
    while (elapsed < seconds) {
        for (int i = 0; i < 100; ++i) {
            draw();
        }
        glFinish();
        count += 100;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return static_cast<double>(count) / elapsed;
}

GLuint compile(const char* vs, const char* fs) {
    auto stage = [](GLenum type, const char* src) {
        GLuint s = glCreateShader(type);
        glShaderSource(s, 1, &src, nullptr);
        glCompileShader(s);
        return s;
    };
    GLuint p = glCreateProgram();
    glAttachShader(p, stage(GL_VERTEX_SHADER, vs));
    glAttachShader(p, stage(GL_FRAGMENT_SHADER, fs));
    glLinkProgram(p);
    return p;
}

// The GL bindings the raw side changes, saved on entry and put back on exit.
class SavedBindings {
public:
    SavedBindings() {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &framebuffer_);
        glGetIntegerv(GL_CURRENT_PROGRAM, &program_);
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray_);
        glGetIntegerv(GL_SAMPLER_BINDING, &sampler_);
        glGetIntegerv(GL_VIEWPORT, viewport_);
        glGetIntegerv(GL_SCISSOR_BOX, scissor_);
        glActiveTexture(GL_TEXTURE0);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture_);
    }
    ~SavedBindings() {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(framebuffer_));
        glUseProgram(static_cast<GLuint>(program_));
        glBindVertexArray(static_cast<GLuint>(vertexArray_));
        glBindSampler(0, static_cast<GLuint>(sampler_));
        glBindTextureUnit(0, static_cast<GLuint>(texture_));
        glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
        glScissor(scissor_[0], scissor_[1], scissor_[2], scissor_[3]);
    }
    SavedBindings(const SavedBindings&) = delete;
    SavedBindings& operator=(const SavedBindings&) = delete;

private:
    GLint framebuffer_ = 0, program_ = 0, vertexArray_ = 0, sampler_ = 0, texture_ = 0;
    GLint viewport_[4]{};
    GLint scissor_[4]{};
};

// The raw-GL reference: the quad streamed the way the device streams it (one orphaned buffer
// per draw, one vertex array), into its own target.
struct RawTarget {
    GLuint vao = 0, buffer = 0, fbo = 0, target = 0;
    int width = 0, height = 0;
    void init(int w, int h) {
        width = w;
        height = h;
        glCreateVertexArrays(1, &vao);
        glCreateBuffers(1, &buffer);
        glVertexArrayAttribFormat(vao, 0, 3, GL_FLOAT, GL_FALSE, 0);
        glVertexArrayAttribFormat(vao, 6, 2, GL_FLOAT, GL_FALSE, 12);
        glVertexArrayAttribBinding(vao, 0, 0);
        glVertexArrayAttribBinding(vao, 6, 0);
        glEnableVertexArrayAttrib(vao, 0);
        glEnableVertexArrayAttrib(vao, 6);
        glCreateTextures(GL_TEXTURE_2D, 1, &target);
        glTextureStorage2D(target, 1, GL_RGBA8, w, h);
        glCreateFramebuffers(1, &fbo);
        glNamedFramebufferTexture(fbo, GL_COLOR_ATTACHMENT0, target, 0);
    }
    void bind() const {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo);
        glBindVertexArray(vao);
        glViewport(0, 0, width, height);
        glScissor(0, 0, width, height);
    }
    void draw() const {
        glNamedBufferData(buffer, sizeof kQuad, kQuad, GL_STREAM_DRAW);
        glVertexArrayVertexBuffer(vao, 0, buffer, 0, 20);
        glDrawArrays(GL_TRIANGLES, 0, 6);
    }
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* what, const std::vector<double>& device, const std::vector<double>& raw) {
    const double d = median(device);
    const double r = median(raw);
    std::printf("%-38s device %9.0f/s  raw GL %9.0f/s  device/raw %5.1f%%\n", what, d, r,
                100.0 * d / r);
}

// The device's pixel (x, y) of a render target, read back the Direct3D way.
D3DCOLOR devicePixel(IDirect3DDevice9* device, IDirect3DSurface9* target, UINT x, UINT y) {
    D3DSURFACE_DESC desc{};
    target->GetDesc(&desc);
    IDirect3DSurface9* copy = nullptr;
    D3DCOLOR color = 0;
    if (SUCCEEDED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                      D3DPOOL_SYSTEMMEM, &copy, nullptr))) {
        D3DLOCKED_RECT locked{};
        if (SUCCEEDED(device->GetRenderTargetData(target, copy)) &&
            SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            std::memcpy(&color,
                        static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch + 4 * x,
                        4);
            copy->UnlockRect();
        }
        copy->Release();
    }
    return color;
}

// What the device side of the cases draws with: case 1's 64x64 target and program, case 2's
// image and the back buffer it is copied to.
struct DeviceCases {
    IDirect3DTexture9* small = nullptr;
    IDirect3DSurface9* smallSurface = nullptr;
    IDirect3DSurface9* back = nullptr;
    IDirect3DProgram9* program = nullptr;
    INT tint = -1;
    IDirect3DTexture9* image = nullptr;

    void release() {
        smallSurface->Release();
        small->Release();
        back->Release();
        image->Release();
        program->Release();
    }
};

// The raw-GL side of the cases: targets, programs, image and sampler of its own.
struct RawCases {
    RawTarget small;
    RawTarget copy;
    GLuint program = 0, copyProgram = 0, image = 0, sampler = 0;
    GLint tint = -1;
};

struct Rates {
    std::vector<double> deviceDraws, rawDraws, deviceCopies, rawCopies;
};

const float kTint[4] = {1, 1, 1, 1};

// Windowed, the copy's size, presents not paced by the display.
IDirect3DDevice9* createDevice(IDirect3D9* d3d) {
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = kCopyWidth;
    pp.BackBufferHeight = kCopyHeight;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.Windowed = TRUE;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    IDirect3DDevice9* device = nullptr;
    if (d3d == nullptr || FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr,
                                                   D3DCREATE_MULTITHREADED, &pp, &device))) {
        return nullptr;
    }
    return device;
}

// Case 2's image: opaque, neighbouring pixels different, so a misplaced copy shows.
std::vector<std::uint32_t> copyImagePixels() {
    std::vector<std::uint32_t> pixels(std::size_t{kCopyWidth} * kCopyHeight);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    }
    return pixels;
}

DeviceCases setUpDeviceCases(IDirect3DDevice9* device, const std::vector<std::uint32_t>& pixels) {
    DeviceCases cases;
    // Case 1: a 64x64 target drawn through a program.
    device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                          &cases.small, nullptr);
    cases.small->GetSurfaceLevel(0, &cases.smallSurface);
    device->GetRenderTarget(0, &cases.back);
    device->CreateProgram(kVertex, kFragment, &cases.program);
    cases.tint = cases.program->GetUniformLocation("tint");
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);

    // Case 2: a 640x360 image copied to the back buffer by the fixed-function stage.
    device->CreateTexture(kCopyWidth, kCopyHeight, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                          &cases.image, nullptr);
    D3DLOCKED_RECT locked{};
    cases.image->LockRect(0, &locked, nullptr, 0);
    std::memcpy(locked.pBits, pixels.data(), pixels.size() * 4);
    cases.image->UnlockRect(0);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    return cases;
}

RawCases setUpRawCases(const std::vector<std::uint32_t>& pixels) {
    SavedBindings saved;
    RawCases raw;
    raw.small.init(64, 64);
    raw.copy.init(kCopyWidth, kCopyHeight);
    raw.program = compile(kVertex, kFragment);
    raw.tint = glGetUniformLocation(raw.program, "tint");
    raw.copyProgram = compile(kVertex, kCopyFragment);
    glCreateTextures(GL_TEXTURE_2D, 1, &raw.image);
    glTextureStorage2D(raw.image, 1, GL_RGBA8, kCopyWidth, kCopyHeight);
    glTextureSubImage2D(raw.image, 0, 0, 0, kCopyWidth, kCopyHeight, GL_BGRA, GL_UNSIGNED_BYTE,
                        pixels.data());
    glCreateSamplers(1, &raw.sampler);
    glSamplerParameteri(raw.sampler, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glSamplerParameteri(raw.sampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return raw;
}

// Case 1 on the device; true when the target's far corner came out right.
bool measureDeviceDraws(IDirect3DDevice9* device, const DeviceCases& cases, double seconds,
                        Rates& rates) {
    device->SetRenderTarget(0, cases.smallSurface);
    device->SetProgram(cases.program);
    device->SetTexture(0, nullptr);
    device->BeginScene();
    rates.deviceDraws.push_back(rate(
        [&] {
            device->SetProgramConstantF(cases.tint, kTint, D3DPCS_VEC4, 1);
            device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
            device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kQuad, 20);
        },
        seconds));
    device->EndScene();
    // uv (0, 0) at the top-left: black with full alpha; uv (1, 1) at the bottom-right: yellow.
    return (devicePixel(device, cases.smallSurface, 63, 63) & 0xFFF0F000u) == 0xFFF0F000u;
}

// Case 2 on the device; true when a pixel near the far corner is the image's.
bool measureDeviceCopies(IDirect3DDevice9* device, const DeviceCases& cases,
                         const std::vector<std::uint32_t>& pixels, double seconds, Rates& rates) {
    device->SetRenderTarget(0, cases.back);
    device->SetProgram(nullptr);
    device->SetTexture(0, cases.image);
    device->BeginScene();
    rates.deviceCopies.push_back(rate(
        [&] {
            device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
            device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kQuad, 20);
            glFlush();  // each copy reaches the rasteriser, as when the next pass reads it
        },
        seconds));
    device->EndScene();
    const UINT x = kCopyWidth - 3;
    const UINT y = kCopyHeight - 2;
    return (devicePixel(device, cases.back, x, y) & 0xFFFFFFu) ==
           (pixels[std::size_t{y} * kCopyWidth + x] & 0xFFFFFFu);
}

// Both cases in raw GL, leaving the device's bindings as they were.
void measureRaw(const RawCases& raw, double seconds, Rates& rates) {
    SavedBindings saved;
    raw.small.bind();
    glUseProgram(raw.program);
    rates.rawDraws.push_back(rate(
        [&] {
            glProgramUniform4fv(raw.program, raw.tint, 1, kTint);
            raw.small.draw();
        },
        seconds));
    raw.copy.bind();
    glUseProgram(raw.copyProgram);
    glBindSampler(0, raw.sampler);
    glBindTextureUnit(0, raw.image);
    rates.rawCopies.push_back(rate(
        [&] {
            raw.copy.draw();
            glFlush();
        },
        seconds));
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    IDirect3DDevice9* device = createDevice(d3d);
    if (device == nullptr) {
        std::fprintf(stderr, "bench_device: no device\n");
        return 1;
    }
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    const std::vector<std::uint32_t> pixels = copyImagePixels();
    DeviceCases cases = setUpDeviceCases(device, pixels);
    const RawCases raw = setUpRawCases(pixels);
    Rates rates;
    bool drewRight = true;
    for (int round = 0; round < kRounds; ++round) {
        drewRight = measureDeviceDraws(device, cases, seconds, rates) && drewRight;
        drewRight = measureDeviceCopies(device, cases, pixels, seconds, rates) && drewRight;
        measureRaw(raw, seconds, rates);
    }
    report("program quad, 64x64 target (draws)", rates.deviceDraws, rates.rawDraws);
    report("textured copy, 640x360 (copies)", rates.deviceCopies, rates.rawCopies);
    if (!drewRight) {
        std::fprintf(stderr, "bench_device: the device's pictures are wrong\n");
    }

    cases.release();
    device->Release();
    d3d->Release();
    return drewRight ? 0 : 1;
}
