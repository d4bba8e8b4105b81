// The memory of a vertex or index buffer and its lock count. Direct3D lets a buffer be locked
// again while locked; every Lock needs its Unlock.
#pragma once

#include <vector>

#include "platform/d3d9/d3d9.h"

class BufferMemory {
public:
    explicit BufferMemory(UINT size) : bytes_(size) {}

    // size 0 locks from offset to the end.
    HRESULT lock(UINT offset, UINT size, void** data);
    HRESULT unlock();

    UINT size() const { return static_cast<UINT>(bytes_.size()); }
    bool isLocked() const { return locks_ > 0; }
    const std::vector<BYTE>& bytes() const { return bytes_; }

private:
    std::vector<BYTE> bytes_;
    unsigned locks_ = 0;
};
