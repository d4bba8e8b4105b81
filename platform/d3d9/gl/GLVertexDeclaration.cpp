#include "platform/d3d9/gl/GLVertexDeclaration.h"

#include <atomic>
#include <cstdio>

#include "platform/d3d9/gl/GLDevice.h"

namespace {

bool attributeFormat(BYTE type, GLint* size, GLenum* glType, GLboolean* normalized) {
    *normalized = GL_FALSE;
    switch (type) {
        case D3DDECLTYPE_FLOAT1:
            *size = 1;
            *glType = GL_FLOAT;
            return true;
        case D3DDECLTYPE_FLOAT2:
            *size = 2;
            *glType = GL_FLOAT;
            return true;
        case D3DDECLTYPE_FLOAT3:
            *size = 3;
            *glType = GL_FLOAT;
            return true;
        case D3DDECLTYPE_FLOAT4:
            *size = 4;
            *glType = GL_FLOAT;
            return true;
        case D3DDECLTYPE_D3DCOLOR:
            *size = GL_BGRA;
            *glType = GL_UNSIGNED_BYTE;
            *normalized = GL_TRUE;
            return true;
        case D3DDECLTYPE_UBYTE4:
            *size = 4;
            *glType = GL_UNSIGNED_BYTE;
            return true;
        case D3DDECLTYPE_UBYTE4N:
            *size = 4;
            *glType = GL_UNSIGNED_BYTE;
            *normalized = GL_TRUE;
            return true;
        case D3DDECLTYPE_SHORT2:
            *size = 2;
            *glType = GL_SHORT;
            return true;
        case D3DDECLTYPE_SHORT4:
            *size = 4;
            *glType = GL_SHORT;
            return true;
        default:
            return false;
    }
}

std::uint64_t nextSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

}  // namespace

GLVertexDeclaration::GLVertexDeclaration(GLDevice& device, bool ownedByDevice)
    : GLRefCounted(device, ownedByDevice ? Ownership::Device : Ownership::Caller),
      serial_(nextSerial()) {}

GLVertexDeclaration* GLVertexDeclaration::create(GLDevice& device,
                                                 const D3DVERTEXELEMENT9* elements,
                                                 bool ownedByDevice, DWORD fvf) {
    std::vector<D3DVERTEXELEMENT9> copied;
    std::vector<Attribute> attributes;
    std::uint32_t mask = 0;
    for (UINT i = 0;; ++i) {
        if (i >= MAXD3DDECLLENGTH) {
            std::fprintf(stderr, "d3d9: vertex declaration without an end marker\n");
            return nullptr;
        }
        const D3DVERTEXELEMENT9& e = elements[i];
        copied.push_back(e);
        if (e.Stream == 0xFF) {
            break;
        }
        Attribute a{};
        const INT location = D3DDeclUsageLocation(e.Usage, e.UsageIndex);
        if (location < 0 || e.Stream >= 8 ||
            !attributeFormat(e.Type, &a.size, &a.type, &a.normalized)) {
            std::fprintf(stderr,
                         "d3d9: vertex element %u (type %u, usage %u, index %u) is not supported\n",
                         i, e.Type, e.Usage, e.UsageIndex);
            return nullptr;
        }
        a.location = static_cast<GLuint>(location);
        a.stream = e.Stream;
        a.offset = e.Offset;
        if ((mask & (1u << a.location)) != 0) {
            std::fprintf(stderr, "d3d9: vertex element %u repeats a usage\n", i);
            return nullptr;
        }
        mask |= 1u << a.location;
        attributes.push_back(a);
    }
    auto* declaration = new GLVertexDeclaration(device, ownedByDevice);
    declaration->elements_ = std::move(copied);
    declaration->attributes_ = std::move(attributes);
    declaration->locationMask_ = mask;
    declaration->fvf_ = fvf;
    return declaration;
}

bool GLVertexDeclaration::elementsOfFvf(DWORD fvf, std::vector<D3DVERTEXELEMENT9>* elements) {
    const DWORD known =
        D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK;
    if ((fvf & ~known) != 0 || (fvf & D3DFVF_XYZ) == 0) {
        return false;
    }
    WORD offset = 0;
    auto add = [&](BYTE type, BYTE usage, BYTE index, WORD bytes) {
        elements->push_back({0, offset, type, D3DDECLMETHOD_DEFAULT, usage, index});
        offset = static_cast<WORD>(offset + bytes);
    };
    add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0, 12);
    if ((fvf & D3DFVF_NORMAL) != 0) {
        add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0, 12);
    }
    if ((fvf & D3DFVF_DIFFUSE) != 0) {
        add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0, 4);
    }
    if ((fvf & D3DFVF_SPECULAR) != 0) {
        add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 1, 4);
    }
    const DWORD texCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (texCount > 6) {
        return false;
    }
    for (DWORD t = 0; t < texCount; ++t) {
        add(D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, static_cast<BYTE>(t), 8);
    }
    elements->push_back(D3DDECL_END());
    return true;
}

HRESULT GLVertexDeclaration::GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) {
    if (count == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *count = static_cast<UINT>(elements_.size());
    if (elements != nullptr) {
        std::copy(elements_.begin(), elements_.end(), elements);
    }
    return D3D_OK;
}
