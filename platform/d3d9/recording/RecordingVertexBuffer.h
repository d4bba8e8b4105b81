// A vertex buffer of the recording device: its description and real memory behind Lock.
#pragma once

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/recording/BufferMemory.h"
#include "platform/d3d9/recording/RecordingObject.h"

class RecordingVertexBuffer final : public IDirect3DVertexBuffer9, public RecordingObject {
public:
    RecordingVertexBuffer(RecordingDevice& device, std::string name,
                          const D3DVERTEXBUFFER_DESC& desc);

    ULONG AddRef() override { return addRef(); }
    ULONG Release() override { return release(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

    const D3DVERTEXBUFFER_DESC& desc() const { return desc_; }
    const BufferMemory& memory() const { return memory_; }

private:
    D3DVERTEXBUFFER_DESC desc_;
    BufferMemory memory_;
};
