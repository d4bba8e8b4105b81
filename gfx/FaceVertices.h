// The vertex order of a face, derived from its edges alone. Edges are shared between faces and
// keep the direction of the face that created them, so a neighbour with the same winding meets
// an edge reversed; walking from each vertex to the other end of the next edge gives the
// winding whatever the edge directions.
#pragma once

#include <vector>

namespace kelvo {

class FaceBase;
class VertexBase;

// Appends the face's vertices in winding order, starting at the vertex shared by its first two
// edges: edges (P->Q, Q->R, R->P) give Q, R, P. A missing edge adds nothing.
void faceVertices(const FaceBase& face, std::vector<VertexBase*>& vertices);

}  // namespace kelvo
