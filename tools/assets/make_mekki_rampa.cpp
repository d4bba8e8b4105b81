// Writes the production's model, data/mekki_rampa.3ds, and its texture, data/rampa_tx.png: a
// mechanical sculpture around a long ramp. The ramp runs along x from -240 to 240 units and
// rises gently; pillars carry it over a base beam, rails follow its edges, gear wheels stand
// beside it and balls roll on it; y is up. The cross-section stays within about 30 units of the
// x axis.
// The show draws the model at scale 0.005 and its cameras strafe along x over the whole
// length, so every shot finds part of the ramp in view. Deterministic: the same bytes on every
// run.
//
// Usage: make_mekki_rampa [output directory, default "data"]
#include <assimp/material.h>
#include <assimp/scene.h>
#include <assimp/Exporter.hpp>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kTextureName = "rampa_tx.png";
constexpr int kTextureSize = 128;
constexpr float kPi = 3.14159265358979f;

constexpr float kRampHalfLength = 240.0f;
constexpr float kRampHalfWidth = 14.0f;
constexpr float kRampRise = 14.0f;  // the deck's top climbs from -kRampRise to +kRampRise
constexpr float kDeckThickness = 3.0f;
constexpr float kGround = -26.0f;
constexpr int kSpans = 12;

// The deck's top height at x: a straight climb along the whole ramp.
float deckTop(float x) {
    return kRampRise * x / kRampHalfLength;
}

aiVector3D yUp(const aiVector3D& zUp) {
    return {zUp.x, zUp.z, -zUp.y};
}

// Geometry of one model mesh, built with outward normals and triangles counter-clockwise
// around them; toAiMesh writes it the way the engine's importer expects to read it.
struct MeshData {
    std::vector<aiVector3D> positions;
    std::vector<aiVector3D> normals;
    std::vector<aiVector3D> uvs;
    std::vector<std::array<unsigned, 3>> triangles;

    unsigned vertex(aiVector3D p, aiVector3D n, float u, float v) {
        positions.push_back(p);
        normals.push_back(n.Normalize());
        uvs.emplace_back(u, v, 0.0f);
        return static_cast<unsigned>(positions.size() - 1);
    }

    // A flat quad a-b-c-d, counter-clockwise around its outward normal; uv spans the texture
    // scaled by (su, sv).
    void quad(aiVector3D a, aiVector3D b, aiVector3D c, aiVector3D d, float su = 1.0f,
              float sv = 1.0f) {
        const aiVector3D n = ((b - a) ^ (c - b)).Normalize();
        const unsigned i = vertex(a, n, 0, 0);
        vertex(b, n, su, 0);
        vertex(c, n, su, sv);
        vertex(d, n, 0, sv);
        triangles.push_back({i, i + 1, i + 2});
        triangles.push_back({i, i + 2, i + 3});
    }

    void box(aiVector3D l, aiVector3D h, float uvScale = 1.0f) {
        const float sx = (h.x - l.x) * uvScale;
        const float sy = (h.y - l.y) * uvScale;
        const float sz = (h.z - l.z) * uvScale;
        quad({l.x, l.y, l.z}, {l.x, h.y, l.z}, {h.x, h.y, l.z}, {h.x, l.y, l.z}, sy, sx);
        quad({h.x, l.y, h.z}, {h.x, h.y, h.z}, {l.x, h.y, h.z}, {l.x, l.y, h.z}, sy, sx);
        quad({l.x, l.y, h.z}, {l.x, h.y, h.z}, {l.x, h.y, l.z}, {l.x, l.y, l.z}, sy, sz);
        quad({h.x, l.y, l.z}, {h.x, h.y, l.z}, {h.x, h.y, h.z}, {h.x, l.y, h.z}, sy, sz);
        quad({l.x, h.y, l.z}, {l.x, h.y, h.z}, {h.x, h.y, h.z}, {h.x, h.y, l.z}, sz, sx);
        quad({l.x, l.y, h.z}, {l.x, l.y, l.z}, {h.x, l.y, l.z}, {h.x, l.y, h.z}, sz, sx);
    }

    // A smooth tube from a to b with the given radius and side count; closed by flat caps.
    void tube(aiVector3D a, aiVector3D b, float radius, int sides) {
        aiVector3D axis = (b - a).Normalize();
        const aiVector3D helper =
            std::fabs(axis.z) < 0.9f ? aiVector3D(0, 0, 1) : aiVector3D(1, 0, 0);
        const aiVector3D s = (helper ^ axis).Normalize();
        const aiVector3D t = axis ^ s;
        const unsigned first = static_cast<unsigned>(positions.size());
        for (int i = 0; i <= sides; ++i) {
            const float angle = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(sides);
            const aiVector3D n = s * std::cos(angle) + t * std::sin(angle);
            const float u = static_cast<float>(i) / static_cast<float>(sides);
            vertex(a + n * radius, n, u, 0);
            vertex(b + n * radius, n, u, 1);
        }
        for (unsigned i = 0; i < static_cast<unsigned>(sides); ++i) {
            const unsigned k = first + 2 * i;
            triangles.push_back({k, k + 2, k + 3});
            triangles.push_back({k, k + 3, k + 1});
        }
        cap(a, s, t, -axis, radius, sides);
        cap(b, s, t, axis, radius, sides);
    }

    void cap(aiVector3D centre, aiVector3D s, aiVector3D t, aiVector3D normal, float radius,
             int sides) {
        const unsigned c = vertex(centre, normal, 0.5f, 0.5f);
        for (int i = 0; i <= sides; ++i) {
            const float angle = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(sides);
            const aiVector3D offset = s * std::cos(angle) + t * std::sin(angle);
            vertex(centre + offset * radius, normal, 0.5f + 0.5f * std::cos(angle),
                   0.5f + 0.5f * std::sin(angle));
        }
        const bool alongAxis = ((s ^ t) * normal) > 0.0f;
        for (unsigned i = 0; i < static_cast<unsigned>(sides); ++i) {
            if (alongAxis) {
                triangles.push_back({c, c + 1 + i, c + 2 + i});
            } else {
                triangles.push_back({c, c + 2 + i, c + 1 + i});
            }
        }
    }

    void sphere(aiVector3D centre, float radius, int slices, int stacks) {
        const unsigned first = static_cast<unsigned>(positions.size());
        for (int j = 0; j <= stacks; ++j) {
            const float theta = kPi * static_cast<float>(j) / static_cast<float>(stacks);
            for (int i = 0; i <= slices; ++i) {
                const float phi = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(slices);
                const aiVector3D n(std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                                   std::cos(theta));
                vertex(centre + n * radius, n, static_cast<float>(i) / static_cast<float>(slices),
                       static_cast<float>(j) / static_cast<float>(stacks));
            }
        }
        const auto row = static_cast<unsigned>(slices + 1);
        for (unsigned j = 0; j < static_cast<unsigned>(stacks); ++j) {
            for (unsigned i = 0; i < static_cast<unsigned>(slices); ++i) {
                const unsigned k = first + j * row + i;
                // The pole rows would give one degenerate triangle per quad.
                if (j + 1 < static_cast<unsigned>(stacks)) {
                    triangles.push_back({k, k + row, k + row + 1});
                }
                if (j > 0) {
                    triangles.push_back({k, k + row + 1, k + 1});
                }
            }
        }
    }

    // A gear wheel standing upright: its axle along y through centre, teeth around the rim.
    void gear(aiVector3D centre, float radius, int teeth, float thickness) {
        std::vector<aiVector3D> rim;  // outline in the x-z plane, counter-clockwise seen from +y
        const int steps = teeth * 4;
        for (int i = 0; i < steps; ++i) {
            const float angle = -2.0f * kPi * static_cast<float>(i) / static_cast<float>(steps);
            const bool tip = (i % 4) == 1 || (i % 4) == 2;
            const float r = tip ? radius : radius * 0.84f;
            rim.emplace_back(r * std::cos(angle), 0.0f, r * std::sin(angle));
        }
        const aiVector3D front(0, thickness * 0.5f, 0);
        for (std::size_t i = 0; i < rim.size(); ++i) {
            const aiVector3D p = centre + rim[i];
            const aiVector3D q = centre + rim[(i + 1) % rim.size()];
            quad(p - front, q - front, q + front, p + front, 0.25f, 0.25f);
        }
        for (const float side : {1.0f, -1.0f}) {
            const aiVector3D face = centre + front * side;
            const aiVector3D n(0, side, 0);
            const unsigned c = vertex(face, n, 0.5f, 0.5f);
            for (const aiVector3D& p : rim) {
                vertex(face + p, n, 0.5f + 0.5f * p.x / radius, 0.5f + 0.5f * p.z / radius);
            }
            const auto count = static_cast<unsigned>(rim.size());
            for (unsigned i = 0; i < count; ++i) {
                const unsigned a = c + 1 + i;
                const unsigned b = c + 1 + (i + 1) % count;
                if (side > 0) {
                    triangles.push_back({c, a, b});
                } else {
                    triangles.push_back({c, b, a});
                }
            }
        }
        tube(centre - front * 2.2f, centre + front * 2.2f, radius * 0.16f, 12);
    }

    // The engine's importer swaps the first two indices of every triangle and negates the
    // file's normals, so the file holds the mirror image: reversed triangles, inward normals.
    // The parts are built z-up; the file holds them y-up (a quarter turn about x), because the
    // show replaces the model root's transform, where the 3DS reader puts its own z-up turn,
    // by its scale: the file's axes are the show's.
    aiMesh* toAiMesh(unsigned materialIndex) const {
        auto* mesh = new aiMesh();
        mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
        mesh->mMaterialIndex = materialIndex;
        const auto count = static_cast<unsigned>(positions.size());
        mesh->mNumVertices = count;
        mesh->mVertices = new aiVector3D[count];
        mesh->mNormals = new aiVector3D[count];
        mesh->mTextureCoords[0] = new aiVector3D[count];
        mesh->mNumUVComponents[0] = 2;
        for (unsigned v = 0; v < count; ++v) {
            mesh->mVertices[v] = yUp(positions[v]);
            mesh->mNormals[v] = -yUp(normals[v]);
            mesh->mTextureCoords[0][v] = uvs[v];
        }
        mesh->mNumFaces = static_cast<unsigned>(triangles.size());
        mesh->mFaces = new aiFace[triangles.size()];
        for (std::size_t f = 0; f < triangles.size(); ++f) {
            const std::array<unsigned, 3>& t = triangles[f];
            mesh->mFaces[f].mNumIndices = 3;
            mesh->mFaces[f].mIndices = new unsigned[3]{t[0], t[2], t[1]};
        }
        return mesh;
    }
};

float spanX(int i) {
    return -kRampHalfLength + 2.0f * kRampHalfLength * static_cast<float>(i) / kSpans;
}

// The deck: one slab per span, following the climb, with the panel texture once per span.
MeshData deck() {
    MeshData m;
    for (int i = 0; i < kSpans; ++i) {
        const float x0 = spanX(i);
        const float x1 = spanX(i + 1);
        const float t0 = deckTop(x0);
        const float t1 = deckTop(x1);
        const float b0 = t0 - kDeckThickness;
        const float b1 = t1 - kDeckThickness;
        const float w = kRampHalfWidth;
        m.quad({x0, -w, t0}, {x1, -w, t1}, {x1, w, t1}, {x0, w, t0});  // top
        m.quad({x0, w, b0}, {x1, w, b1}, {x1, -w, b1}, {x0, -w, b0});  // bottom
        m.quad({x0, -w, b0}, {x1, -w, b1}, {x1, -w, t1}, {x0, -w, t0}, 1.0f, 0.1f);
        m.quad({x1, w, b1}, {x0, w, b0}, {x0, w, t0}, {x1, w, t1}, 1.0f, 0.1f);
        if (i == 0) {
            m.quad({x0, w, b0}, {x0, -w, b0}, {x0, -w, t0}, {x0, w, t0}, 1.0f, 0.1f);
        }
        if (i == kSpans - 1) {
            m.quad({x1, -w, b1}, {x1, w, b1}, {x1, w, t1}, {x1, -w, t1}, 1.0f, 0.1f);
        }
    }
    return m;
}

// The frame below the deck: a base beam along the ground and a pillar pair at every joint.
MeshData frame() {
    MeshData m;
    m.box({-kRampHalfLength - 10.0f, -9.0f, kGround},
          {kRampHalfLength + 10.0f, 9.0f, kGround + 4.0f}, 1.0f / 24.0f);
    for (int i = 0; i <= kSpans; ++i) {
        const float x = spanX(i);
        const float top = deckTop(x) - kDeckThickness;
        for (const float y : {-8.0f, 8.0f}) {
            m.tube({x, y, kGround + 4.0f}, {x, y, top}, 2.2f, 8);
        }
        m.box({x - 3.0f, -kRampHalfWidth, top - 2.0f}, {x + 3.0f, kRampHalfWidth, top},
              1.0f / 12.0f);
    }
    return m;
}

// Hand rails along both edges on posts.
MeshData rails() {
    MeshData m;
    for (const float y : {-kRampHalfWidth + 1.0f, kRampHalfWidth - 1.0f}) {
        const float start = -kRampHalfLength;
        const float end = kRampHalfLength;
        m.tube({start, y, deckTop(start) + 7.0f}, {end, y, deckTop(end) + 7.0f}, 1.0f, 10);
        for (int i = 0; i <= kSpans * 2; ++i) {
            const float x = -kRampHalfLength + kRampHalfLength * static_cast<float>(i) / kSpans;
            m.tube({x, y, deckTop(x)}, {x, y, deckTop(x) + 7.0f}, 0.6f, 6);
        }
    }
    return m;
}

// Gear wheels beside the ramp, alternating sides, of varying size.
MeshData gears() {
    MeshData m;
    for (int i = 0; i < 7; ++i) {
        const float x = -200.0f + 66.0f * static_cast<float>(i);
        const float side = i % 2 == 0 ? 1.0f : -1.0f;
        const float radius = 9.0f + 3.0f * static_cast<float>(i % 3);
        const aiVector3D centre(x, side * (kRampHalfWidth + 5.0f), deckTop(x) - 2.0f);
        m.gear(centre, radius, 10 + 2 * (i % 3), 3.0f);
    }
    return m;
}

// Balls resting on the deck at intervals.
MeshData balls() {
    MeshData m;
    for (int i = 0; i < 5; ++i) {
        const float x = -180.0f + 90.0f * static_cast<float>(i);
        const float radius = 4.0f + static_cast<float>(i % 2);
        m.sphere({x, (i % 2 == 0 ? -4.0f : 5.0f), deckTop(x) + radius}, radius, 18, 12);
    }
    return m;
}

aiMaterial* material(const char* name, aiColor3D ambient, aiColor3D diffuse, aiColor3D specular,
                     const char* texture) {
    auto* m = new aiMaterial();
    const aiString materialName(name);
    m->AddProperty(&materialName, AI_MATKEY_NAME);
    m->AddProperty(&ambient, 1, AI_MATKEY_COLOR_AMBIENT);
    m->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
    m->AddProperty(&specular, 1, AI_MATKEY_COLOR_SPECULAR);
    if (texture != nullptr) {
        const aiString path(texture);
        m->AddProperty(&path, AI_MATKEY_TEXTURE_DIFFUSE(0));
    }
    return m;
}

struct Part {
    const char* name;
    MeshData data;
    unsigned material;
};

aiScene* rampScene() {
    auto* scene = new aiScene();
    scene->mNumMaterials = 5;
    scene->mMaterials = new aiMaterial* [5] {
        material("steel", {0.22f, 0.22f, 0.24f}, {0.55f, 0.56f, 0.60f}, {0.9f, 0.9f, 1.0f},
                 kTextureName),
            material("iron", {0.16f, 0.12f, 0.10f}, {0.45f, 0.36f, 0.30f}, {0.2f, 0.2f, 0.2f},
                     kTextureName),
            material("brass", {0.32f, 0.22f, 0.06f}, {0.90f, 0.65f, 0.22f}, {1.0f, 0.9f, 0.6f},
                     nullptr),
            material("chrome", {0.16f, 0.20f, 0.26f}, {0.55f, 0.65f, 0.80f}, {1.0f, 1.0f, 1.0f},
                     nullptr),
            material("lacquer", {0.32f, 0.04f, 0.03f}, {0.90f, 0.12f, 0.06f}, {1.0f, 0.8f, 0.8f},
                     nullptr)
    };
    const std::vector<Part> parts{{"deck", deck(), 0},
                                  {"frame", frame(), 1},
                                  {"gears", gears(), 2},
                                  {"rails", rails(), 3},
                                  {"balls", balls(), 4}};
    const auto count = static_cast<unsigned>(parts.size());
    scene->mNumMeshes = count;
    scene->mMeshes = new aiMesh*[count];
    scene->mRootNode = new aiNode("rampa");
    scene->mRootNode->mNumChildren = count;
    scene->mRootNode->mChildren = new aiNode*[count];
    for (unsigned i = 0; i < count; ++i) {
        scene->mMeshes[i] = parts[i].data.toAiMesh(parts[i].material);
        auto* node = new aiNode(parts[i].name);
        node->mParent = scene->mRootNode;
        node->mNumMeshes = 1;
        node->mMeshes = new unsigned[1]{i};
        scene->mRootNode->mChildren[i] = node;
    }
    return scene;
}

// A small integer hash: the texture's noise without a random generator's state.
std::uint32_t hash(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float noise(int a, int b) {
    return static_cast<float>(hash(static_cast<std::uint32_t>(a) * 7919U +
                                   static_cast<std::uint32_t>(b) * 104729U) &
                              0xFFFFU) /
           65535.0f;
}

// Brushed steel in four panels: horizontal streaks, dark seams, a rivet near every corner.
float steelShade(int x, int y) {
    const int panel = kTextureSize / 2;
    const int px = x % panel;
    const int py = y % panel;
    if (px == 0 || py == 0) {
        return 0.25f;
    }
    if (px == 1 || py == 1) {
        return 0.85f;
    }
    for (const int cx : {6, panel - 6}) {
        for (const int cy : {6, panel - 6}) {
            const int dx = px - cx;
            const int dy = py - cy;
            if (dx * dx + dy * dy <= 5) {
                return dx + dy < 0 ? 0.95f : 0.45f;
            }
        }
    }
    const float streak = noise(y, 1) * 0.12f + noise(y / 3, 2) * 0.08f;
    const float grain = noise(x * 131 + y, 3) * 0.06f;
    const float panelTone = 0.06f * noise(x / panel, y / panel + 17);
    return 0.58f + streak + grain + panelTone;
}

bool writeTexture(const std::string& path) {
    std::vector<unsigned char> pixels(kTextureSize * kTextureSize * 3);
    for (int y = 0; y < kTextureSize; ++y) {
        for (int x = 0; x < kTextureSize; ++x) {
            const float shade = steelShade(x, y);
            unsigned char* p = &pixels[static_cast<std::size_t>((y * kTextureSize + x) * 3)];
            p[0] = static_cast<unsigned char>(std::lround(shade * 235.0f));
            p[1] = static_cast<unsigned char>(std::lround(shade * 240.0f));
            p[2] = static_cast<unsigned char>(std::lround(shade * 250.0f));
        }
    }
    return stbi_write_png(path.c_str(), kTextureSize, kTextureSize, 3, pixels.data(),
                          kTextureSize * 3) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string directory = argc > 1 ? argv[1] : "data";
    const std::string modelPath = directory + "/mekki_rampa.3ds";
    const std::string texturePath = directory + "/" + kTextureName;

    aiScene* scene = rampScene();
    Assimp::Exporter exporter;
    const aiReturn exported = exporter.Export(scene, "3ds", modelPath);
    delete scene;
    if (exported != aiReturn_SUCCESS) {
        std::fprintf(stderr, "make_mekki_rampa: %s: %s\n", modelPath.c_str(),
                     exporter.GetErrorString());
        return 1;
    }
    if (!writeTexture(texturePath)) {
        std::fprintf(stderr, "make_mekki_rampa: cannot write %s\n", texturePath.c_str());
        return 1;
    }
    std::printf("wrote %s and %s\n", modelPath.c_str(), texturePath.c_str());
    return 0;
}
