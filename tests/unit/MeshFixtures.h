// Small meshes for the topology tests, built through KelvoMesh::set the way the buffer
// conversion builds them: one edge per vertex pair, in the direction of its first triangle.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "gfx/KelvoMesh.h"
#include "gfx/TriFace.h"
#include "gfx/Vertex.h"

namespace meshtest {

using Triangle = std::array<int, 3>;

inline kelvo::Vertex vertexAt(kelvo::Vec3 p, kelvo::TexCoord uv = {}) {
    kelvo::Vertex v;
    v.attributes().position = p;
    v.attributes().texCoord0 = uv;
    return v;
}

inline void fillMesh(kelvo::KelvoMesh& mesh, const std::vector<kelvo::Vertex>& vertices,
                     const std::vector<Triangle>& triangles) {
    std::vector<std::unique_ptr<kelvo::Vertex>> ownedVertices;
    std::vector<std::unique_ptr<kelvo::Edge>> ownedEdges;
    std::vector<std::unique_ptr<kelvo::TriFace>> ownedFaces;
    std::map<std::pair<int, int>, kelvo::Edge*> byPair;
    for (const kelvo::Vertex& v : vertices) {
        ownedVertices.push_back(std::make_unique<kelvo::Vertex>(v));
    }
    auto edge = [&](int from, int to) {
        if (auto found = byPair.find({from, to}); found != byPair.end()) {
            return found->second;
        }
        ownedEdges.push_back(std::make_unique<kelvo::Edge>(
            kelvo::Edge{ownedVertices[static_cast<std::size_t>(from)].get(),
                        ownedVertices[static_cast<std::size_t>(to)].get()}));
        byPair[{from, to}] = byPair[{to, from}] = ownedEdges.back().get();
        return ownedEdges.back().get();
    };
    for (const Triangle& t : triangles) {
        kelvo::Edge* e0 = edge(t[0], t[1]);
        kelvo::Edge* e1 = edge(t[1], t[2]);
        kelvo::Edge* e2 = edge(t[2], t[0]);
        ownedFaces.push_back(std::make_unique<kelvo::TriFace>(e0, e1, e2));
    }
    std::vector<kelvo::VertexBase*> v;
    std::vector<kelvo::Edge*> e;
    std::vector<kelvo::FaceBase*> f;
    for (auto& x : ownedVertices)
        v.push_back(x.get());
    for (auto& x : ownedEdges)
        e.push_back(x.get());
    for (auto& x : ownedFaces)
        f.push_back(x.get());
    mesh.set(&v, &e, &f);
}

inline kelvo::Vec3 normalOf(const kelvo::KelvoMesh& mesh, std::size_t i) {
    return *mesh.vertices()[i]->normal();
}

// A unit quad in the z = 0 plane, wound counter-clockwise seen from +z, with texture
// coordinates (u, v) = (x, y) unless others are given.
inline std::vector<kelvo::Vertex> quadVertices(const std::array<kelvo::TexCoord, 4>& uv = {
                                                   {{0, 0}, {1, 0}, {1, 1}, {0, 1}}}) {
    return {vertexAt({0, 0, 0}, uv[0]), vertexAt({1, 0, 0}, uv[1]), vertexAt({1, 1, 0}, uv[2]),
            vertexAt({0, 1, 0}, uv[3])};
}
inline const std::vector<Triangle> kQuadTriangles{{0, 1, 2}, {0, 2, 3}};

}  // namespace meshtest
