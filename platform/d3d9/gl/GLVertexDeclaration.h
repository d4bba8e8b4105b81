// A vertex declaration translated into GL vertex attribute formats. Each element goes to the
// attribute location D3DDeclUsageLocation gives its usage; D3DCOLOR elements are read as
// normalised BGRA bytes (so they arrive in RGBA order) and UBYTE4 as unnormalised bytes.
#pragma once

#include "platform/d3d9/gl/GLApi.h"

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GLRefCounted.h"

class GLVertexDeclaration final : public IDirect3DVertexDeclaration9, public GLRefCounted {
public:
    struct Attribute {
        GLuint location;
        GLuint stream;
        GLint size;
        GLenum type;
        GLboolean normalized;
        GLuint offset;
    };

    // Null when an element has an unknown type or no attribute location (stderr says which).
    static GLVertexDeclaration* create(GLDevice& device, const D3DVERTEXELEMENT9* elements,
                                       bool ownedByDevice, DWORD fvf);
    // The elements of an FVF code; false for FVF bits this device does not read.
    static bool elementsOfFvf(DWORD fvf, std::vector<D3DVERTEXELEMENT9>* elements);

    ULONG AddRef() override { return addPublicRef(); }
    ULONG Release() override { return releasePublicRef(); }
    HRESULT GetDevice(IDirect3DDevice9** device) override { return handOutDevice(device); }
    HRESULT GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) override;

    const std::vector<Attribute>& attributes() const { return attributes_; }
    std::uint32_t locationMask() const { return locationMask_; }
    bool hasColor() const { return (locationMask_ & (1u << 4)) != 0; }
    std::uint64_t serial() const { return serial_; }
    DWORD fvf() const { return fvf_; }

private:
    GLVertexDeclaration(GLDevice& device, bool ownedByDevice);

    std::vector<D3DVERTEXELEMENT9> elements_;  // including the end marker
    std::vector<Attribute> attributes_;
    std::uint32_t locationMask_ = 0;
    std::uint64_t serial_;
    DWORD fvf_ = 0;
};
