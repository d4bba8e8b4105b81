// A vertex declaration of the recording device: a copy of the elements it was made from,
// D3DDECL_END included.
#pragma once

#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/recording/RecordingObject.h"

class RecordingVertexDeclaration final : public IDirect3DVertexDeclaration9,
                                         public RecordingObject {
public:
    RecordingVertexDeclaration(RecordingDevice& device, std::string name,
                               std::vector<D3DVERTEXELEMENT9> elements);

    ULONG AddRef() override { return addRef(); }
    ULONG Release() override { return release(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    HRESULT GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) override;

    // Including the end marker.
    const std::vector<D3DVERTEXELEMENT9>& elements() const { return elements_; }
    bool usesStream(WORD stream) const;

private:
    std::vector<D3DVERTEXELEMENT9> elements_;
};
