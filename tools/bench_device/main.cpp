// Cost of the OpenGL device against the same work in raw GL, measured in one run on the same
// context: (1) full-screen quads through a program into a 64x64 target (draws per second),
// (2) full-screen textured copies at 640x360 through the fixed-function path.
#include <epoxy/gl.h>

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
        for (int i = 0; i < 200; ++i) {
            draw();
        }
        glFinish();
        count += 200;
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

// The raw-GL reference: the same quad streamed the plain way (one orphaned buffer, one VAO).
struct RawGL {
    GLuint vao = 0, buffer = 0, fbo = 0, target = 0;
    void init(int w, int h) {
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
    void draw() {
        glNamedBufferData(buffer, sizeof kQuad, kQuad, GL_STREAM_DRAW);
        glVertexArrayVertexBuffer(vao, 0, buffer, 0, 20);
        glDrawArrays(GL_TRIANGLES, 0, 6);
    }
};

void report(const char* what, double device, double raw) {
    std::printf("%-44s device %10.0f/s  raw GL %10.0f/s  device/raw %5.1f%%\n", what, device, raw,
                100.0 * device / raw);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 640;
    pp.BackBufferHeight = 360;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.Windowed = TRUE;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    IDirect3DDevice9* device = nullptr;
    if (d3d == nullptr || FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr,
                                                   D3DCREATE_MULTITHREADED, &pp, &device))) {
        std::fprintf(stderr, "bench_device: no device\n");
        return 1;
    }
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    // (1) Draw cost: full-screen quad through a program into a 64x64 target.
    IDirect3DTexture9* small = nullptr;
    device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                          &small, nullptr);
    IDirect3DSurface9* smallSurface = nullptr;
    small->GetSurfaceLevel(0, &smallSurface);
    IDirect3DSurface9* back = nullptr;
    device->GetRenderTarget(0, &back);
    IDirect3DProgram9* program = nullptr;
    device->CreateProgram(kVertex, kFragment, &program);
    const INT tint = program->GetUniformLocation("tint");
    const float tintValue[4] = {1, 1, 1, 1};
    device->SetRenderTarget(0, smallSurface);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetProgram(program);
    const double deviceDraws = rate(
        [&] {
            device->SetProgramConstantF(tint, tintValue, D3DPCS_VEC4, 1);
            device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
            device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kQuad, 20);
        },
        seconds);

    // The device leaves its own state bound; the raw path sets up the equivalent itself.
    RawGL raw;
    raw.init(64, 64);
    GLuint rawProgram = compile(kVertex, kFragment);
    const GLint rawTint = glGetUniformLocation(rawProgram, "tint");
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, raw.fbo);
    glViewport(0, 0, 64, 64);
    glScissor(0, 0, 64, 64);
    glUseProgram(rawProgram);
    glBindVertexArray(raw.vao);
    const double rawDraws = rate(
        [&] {
            glProgramUniform4fv(rawProgram, rawTint, 1, tintValue);
            raw.draw();
        },
        seconds);
    report("program quad, 64x64 target (draws)", deviceDraws, rawDraws);

    // (2) Full-screen textured copy at 640x360 through the fixed-function path.
    IDirect3DTexture9* image = nullptr;
    device->CreateTexture(640, 360, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &image, nullptr);
    D3DLOCKED_RECT locked{};
    image->LockRect(0, &locked, nullptr, 0);
    std::vector<std::uint32_t> pixels(640 * 360);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    }
    std::memcpy(locked.pBits, pixels.data(), pixels.size() * 4);
    image->UnlockRect(0);
    device->SetProgram(nullptr);
    device->SetRenderTarget(0, back);
    device->SetTexture(0, image);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    if (FAILED(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kQuad, 20))) {
        std::fprintf(stderr, "bench_device: the device's copy does not draw\n");
        return 1;
    }
    const double deviceCopies = rate(
        [&] {
            device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
            device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, kQuad, 20);
        },
        seconds);

    RawGL rawCopy;
    rawCopy.init(640, 360);
    GLuint copyProgram = compile(kVertex, kCopyFragment);
    GLuint imageName = 0;
    glCreateTextures(GL_TEXTURE_2D, 1, &imageName);
    glTextureStorage2D(imageName, 1, GL_RGBA8, 640, 360);
    glTextureSubImage2D(imageName, 0, 0, 0, 640, 360, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    GLuint sampler = 0;
    glCreateSamplers(1, &sampler);
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glBindSampler(0, sampler);
    glBindTextureUnit(0, imageName);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, rawCopy.fbo);
    glViewport(0, 0, 640, 360);
    glScissor(0, 0, 640, 360);
    glUseProgram(copyProgram);
    glBindVertexArray(rawCopy.vao);
    const double rawCopies = rate([&] { rawCopy.draw(); }, seconds);
    report("textured copy, 640x360 (copies)", deviceCopies, rawCopies);

    // The raw path changed GL state behind the device's back; the run ends here.
    return 0;
}
