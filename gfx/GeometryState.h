// Which forms of a mesh hold data and whether they agree.
#pragma once

namespace kelvo {

enum class GeometryState : int {
    Empty = 0,            // nothing uploaded yet
    EditableChanged = 1,  // the editable form changed since the buffers were filled
    BuffersOnly = 2,      // the buffers hold the mesh; no editable form was built from them
    InAgreement = 3,      // the editable form was built from the buffers and is unchanged
};

}  // namespace kelvo
