// An index buffer of the recording device, with the indices readable for draw validation.
#pragma once

#include "platform/d3d9/recording/RecordingBuffer.h"

class RecordingIndexBuffer final
    : public RecordingBuffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC, D3DRTYPE_INDEXBUFFER> {
public:
    using RecordingBuffer::RecordingBuffer;

    UINT indexSize() const { return desc().Format == D3DFMT_INDEX32 ? 4 : 2; }
    UINT indexCount() const { return desc().Size / indexSize(); }
    // 0 beyond the end.
    DWORD index(UINT position) const;
};
