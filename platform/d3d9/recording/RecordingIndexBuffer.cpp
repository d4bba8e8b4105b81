#include "platform/d3d9/recording/RecordingIndexBuffer.h"

#include <cstring>

DWORD RecordingIndexBuffer::index(UINT position) const {
    if (position >= indexCount()) {
        return 0;
    }
    DWORD value = 0;
    std::memcpy(&value, memory().bytes().data() + position * indexSize(), indexSize());
    return value;
}
