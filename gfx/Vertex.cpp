#include "gfx/Vertex.h"

namespace kelvo {

TexCoord* Vertex::texCoord(int set) {
    if (set == 0) {
        return &attributes_.texCoord0;
    }
    if (set == 1) {
        return &attributes_.texCoord1;
    }
    return nullptr;
}

void Vertex::setTexCoord(int set, float u, float v) {
    if (TexCoord* target = texCoord(set)) {
        *target = {u, v};
    }
}

std::unique_ptr<VertexBase> Vertex::clone() const {
    return std::make_unique<Vertex>(*this);
}

}  // namespace kelvo
