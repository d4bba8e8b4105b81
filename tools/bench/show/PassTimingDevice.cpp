#include "tools/bench/show/PassTimingDevice.h"

void PassTimingDevice::RecordCall(const char* text) {
    if (PassClock* passes = stats().passes.load()) {
        passes->noteEffectCall(text);
    }
}
