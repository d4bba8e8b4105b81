#include "platform/d3dx9/MessageBuffer.h"

namespace fx {

ULONG MessageBuffer::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

}  // namespace fx
