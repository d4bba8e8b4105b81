// An index buffer of the OpenGL device.
#pragma once

#include "platform/d3d9/gl/GLBuffer.h"

class GLIndexBuffer final : public GLBuffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC,
                                            D3DRTYPE_INDEXBUFFER, GLBufferStore::Content::Indices> {
public:
    using GLBuffer::GLBuffer;
};
