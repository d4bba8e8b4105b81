// A vertex buffer of the recording device.
#pragma once

#include "platform/d3d9/recording/RecordingBuffer.h"

class RecordingVertexBuffer final
    : public RecordingBuffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC, D3DRTYPE_VERTEXBUFFER> {
public:
    using RecordingBuffer::RecordingBuffer;
};
