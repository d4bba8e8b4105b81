// The GPU form of a mesh: one vertex declaration, a dynamic vertex buffer of 80-byte vertices
// and a 32-bit index buffer, drawn as a triangle list. Buffers are made on first need in system
// memory and are only replaced when an upload needs more room, never made smaller than the
// hints given at construction.
//
// The draw is a device-level operation only (declaration, stream, indices, draw call); whoever
// draws binds the effect, material and transforms first.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Vertex.h"
#include "platform/d3d9/d3d9.h"

namespace kelvo {

class D3DMesh {
public:
    // Creates the vertex declaration on the device; buffers come with the first upload.
    D3DMesh(IDirect3DDevice9* device, int faceCountHint, int vertexCountHint);
    ~D3DMesh();
    D3DMesh(const D3DMesh&) = delete;
    D3DMesh& operator=(const D3DMesh&) = delete;

    // The declaration's elements, ending with D3DDECL_END: position, normal, colour, texture
    // coordinates 0 and 1, tangent and binormal (texture coordinates 2 and 3), blend weight and
    // two sets of blend indices, at the offsets of VertexAttributes.
    static const D3DVERTEXELEMENT9* vertexElements();

    // Makes room for n indices and m vertices of s bytes each; a zero count needs no buffer.
    void ensureCapacity(int indexAmount, int vertexAmount, int vertexSize);

    // Writes the vertices (the stride is the first vertex's size) and, when given, the indices.
    // An empty vertex list is reported and ignored. A triangle naming a vertex beyond the list
    // is reported and left out, so the buffers never lead the GPU outside the vertices.
    void upload(const std::vector<Vertex>& vertices, const std::vector<std::uint32_t>* indices);

    // Draws indexCount / 3 triangles when both buffers exist.
    void draw();

    IDirect3DDevice9* device() const { return device_; }
    IDirect3DVertexBuffer9* vertexBuffer() const { return vertexBuffer_; }
    IDirect3DIndexBuffer9* indexBuffer() const { return indexBuffer_; }
    int indexCount() const { return indexCount_; }
    int vertexCount() const { return vertexCount_; }
    int indexCapacity() const { return indexCapacity_; }
    int vertexCapacity() const { return vertexCapacity_; }
    // -1 until the first upload.
    int vertexStride() const { return vertexStride_; }

private:
    void writeVertices(const std::vector<Vertex>& vertices);
    void writeIndices(const std::vector<std::uint32_t>& indices);

    IDirect3DVertexDeclaration9* declaration_ = nullptr;
    IDirect3DIndexBuffer9* indexBuffer_ = nullptr;
    IDirect3DVertexBuffer9* vertexBuffer_ = nullptr;
    int indexCount_ = 0;
    int vertexCount_ = 0;
    int indexCapacity_ = 0;
    int vertexCapacity_ = 0;
    int vertexStride_ = -1;
    IDirect3DDevice9* device_;
    int vertexCountHint_;
    int faceCountHint_;
};

}  // namespace kelvo
