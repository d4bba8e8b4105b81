// A TimingDevice that also hears the effects' reported calls, so that the per-pass breakdown can
// name the effect pass behind each draw. Only `bench --passes` uses it: reporting makes every
// effect call format text, which would weigh on the engine's CPU time of a plain run.
#pragma once

#include "tools/bench/show/TimingDevice.h"

class PassTimingDevice final : public TimingDevice, public IDirect3DCallSink9 {
public:
    using TimingDevice::TimingDevice;

    void RecordCall(const char* text) override;

private:
    ~PassTimingDevice() override = default;
};
