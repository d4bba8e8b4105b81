// An edge of the editable mesh: the two vertices it joins, in the direction it was created
// with. One edge serves the faces on both of its sides; it knows neither of them.
#pragma once

namespace kelvo {

class VertexBase;

struct Edge {
    VertexBase* a = nullptr;
    VertexBase* b = nullptr;
};

}  // namespace kelvo
