// An index buffer of the recording device: its description and real memory behind Lock.
#pragma once

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/recording/BufferMemory.h"
#include "platform/d3d9/recording/RecordingObject.h"

class RecordingIndexBuffer final : public IDirect3DIndexBuffer9, public RecordingObject {
public:
    RecordingIndexBuffer(RecordingDevice& device, std::string name,
                         const D3DINDEXBUFFER_DESC& desc);

    ULONG AddRef() override { return addRef(); }
    ULONG Release() override { return release(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc) override;

    const D3DINDEXBUFFER_DESC& desc() const { return desc_; }
    const BufferMemory& memory() const { return memory_; }
    UINT indexSize() const { return desc_.Format == D3DFMT_INDEX32 ? 4 : 2; }
    UINT indexCount() const { return desc_.Size / indexSize(); }
    // 0 beyond the end.
    DWORD index(UINT position) const;

private:
    D3DINDEXBUFFER_DESC desc_;
    BufferMemory memory_;
};
