// The storage behind vertex and index buffers: a CPU copy that Lock hands out and a GL buffer
// that receives the locked bytes before the next draw that reads them. Buffers here are the
// engine's system-memory buffers, locked by the CPU and drawn by the GPU.
#pragma once

#include "platform/d3d9/gl/GLApi.h"

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9.h"

class GLBufferStore {
public:
    // What the buffer holds: OpenGL ES keeps index data apart from all other buffer data.
    enum class Content { Vertices, Indices };

    GLBufferStore(UINT size, Content content);
    ~GLBufferStore();
    GLBufferStore(const GLBufferStore&) = delete;
    GLBufferStore& operator=(const GLBufferStore&) = delete;

    bool valid() const { return name_ != 0; }
    HRESULT lock(UINT offset, UINT size, void** data, DWORD flags);
    HRESULT unlock();
    // Uploads what was written since the last draw; returns the GL buffer name.
    GLuint prepareForDraw();
    bool pendingUpload() const { return dirtyEnd_ > dirtyBegin_; }
    UINT size() const { return static_cast<UINT>(bytes_.size()); }

private:
    std::vector<std::uint8_t> bytes_;
    GLuint name_ = 0;
    bool locked_ = false;
    std::size_t dirtyBegin_ = 0;
    std::size_t dirtyEnd_ = 0;
    std::size_t lockBegin_ = 0;
    std::size_t lockEnd_ = 0;
    bool lockWrites_ = false;
};
