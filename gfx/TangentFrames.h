// Per-vertex tangent frames for normal mapping, from positions and texture coordinate set 0.
#pragma once

namespace kelvo {

class KelvoMesh;

// Each face gets the tangent and binormal that map its texture coordinates onto its positions
// (zero when its texture coordinates are collinear); each vertex sums those of its faces, then
// the tangent is made orthogonal to the vertex normal and normalised, and the binormal is
// normal x tangent, turned to agree with the summed binormal (mirrored mappings). Computes the
// vertex normals first when they are out of date. Does nothing for an empty mesh, a vertex kind
// without tangent or binormal, or frames that are up to date.
void computeTangentFrames(KelvoMesh& mesh);

}  // namespace kelvo
