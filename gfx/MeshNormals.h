// Face and vertex normals of the editable mesh.
#pragma once

namespace kelvo {

class FaceBase;
class KelvoMesh;

// The face's normal from its first three vertices in winding order: (p1 - p0) x (p2 - p0),
// unnormalised, so its length is twice the triangle's area. Zero for a face without three
// positioned vertices.
void computeFaceNormal(FaceBase& face);

// Every face's normal, unless they are already up to date.
void computeFaceNormals(KelvoMesh& mesh);

// Smooth vertex normals: each vertex gets the normalised sum of the normals of the faces that
// use it, so larger faces weigh more and a vertex of degenerate faces only keeps a zero normal.
// Returns false and changes nothing when the normals are up to date or the vertex kind has no
// normal; returns true for an empty mesh, without marking anything up to date.
bool computeVertexNormals(KelvoMesh& mesh);

}  // namespace kelvo
