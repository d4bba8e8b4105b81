// A change applied to the editable form of a mesh.
#pragma once

namespace kelvo {

class MeshGeometry;

class IMeshModifier {
public:
    virtual ~IMeshModifier() = default;
    // Edits the geometry's editable form (built from its buffers first when needed) and marks
    // it changed.
    virtual void apply(MeshGeometry& geometry) = 0;
};

}  // namespace kelvo
