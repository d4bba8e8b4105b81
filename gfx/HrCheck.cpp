#include "gfx/HrCheck.h"

#include "platform/os/AssertionReport.h"

namespace kelvo {

HRESULT checkResult(HRESULT hr, const char* source, int line) {
    if (FAILED(hr)) {
        os::assertionReport("0", source, line);
    }
    return hr;
}

}  // namespace kelvo
