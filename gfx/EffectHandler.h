// The process-wide registry of effects: each compiled effect file (".fxo", read from the data
// file cache) is created once, on first request, and shared by everyone who names it, so its
// parameter values are shared too. Names are compared exactly (case-sensitive, byte for byte).
// A file whose effect could not be created is reported (HR_CHECK, "gfx/EffectHandler") and tried
// again on the next request.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "gfx/EffectEntry.h"
#include "platform/d3dx9/d3dx9.h"

namespace kelvo {

class EffectHandler {
public:
    // The registry, created empty on first call (and again after destroyInstance).
    static EffectHandler& instance();
    // Releases every effect and destroys the registry; the shell calls it once after the frame
    // loop, before the device goes.
    static void destroyInstance();

    EffectHandler(const EffectHandler&) = delete;
    EffectHandler& operator=(const EffectHandler&) = delete;

    // The effect of the data file name, created on the device now unless it exists; null when
    // creation failed.
    ID3DXEffect* getEffect(const std::string& name);

    // Releases every effect. The entries stay, without their effects, so a later request
    // creates the effect again rather than getting a released one.
    void releaseAll();

    // In request order.
    const std::vector<EffectEntry>& entries() const { return entries_; }

private:
    EffectHandler() = default;
    ~EffectHandler();

    EffectEntry* find(const std::string& name);
    static ID3DXEffect* createEffect(const std::string& name);

    std::vector<EffectEntry> entries_;
};

}  // namespace kelvo
