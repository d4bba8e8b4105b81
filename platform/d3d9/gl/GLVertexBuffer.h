// A vertex buffer of the OpenGL device.
#pragma once

#include "platform/d3d9/gl/GLBuffer.h"

class GLVertexBuffer final
    : public GLBuffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC, D3DRTYPE_VERTEXBUFFER,
                      GLBufferStore::Content::Vertices> {
public:
    using GLBuffer::GLBuffer;
};
