// What a mesh handed to the recording device: its vertex and index buffers' bytes read back.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "gfx/Mesh.h"
#include "platform/d3d9/recording/RecordingIndexBuffer.h"
#include "platform/d3d9/recording/RecordingVertexBuffer.h"

inline std::vector<kelvo::VertexAttributes> uploadedVertices(kelvo::Mesh& mesh) {
    auto& buffer = dynamic_cast<RecordingVertexBuffer&>(*mesh.geometry->gpu().vertexBuffer());
    std::vector<kelvo::VertexAttributes> vertices(
        static_cast<std::size_t>(mesh.geometry->gpu().vertexCount()));
    std::memcpy(vertices.data(), buffer.memory().bytes().data(),
                vertices.size() * sizeof(kelvo::VertexAttributes));
    return vertices;
}

inline std::vector<std::uint32_t> uploadedIndices(kelvo::Mesh& mesh) {
    auto& buffer = dynamic_cast<RecordingIndexBuffer&>(*mesh.geometry->gpu().indexBuffer());
    std::vector<std::uint32_t> indices(static_cast<std::size_t>(mesh.geometry->gpu().indexCount()));
    std::memcpy(indices.data(), buffer.memory().bytes().data(), indices.size() * 4);
    return indices;
}
