// The text an effect reports to a recording device for each of its calls, e.g.
// Effect.SetFloat("power", 0.5) -> OK
#pragma once

#include <string>
#include <string_view>

#include "platform/d3dx9/d3dx9.h"

namespace fx {

class EffectCallText {
public:
    static std::string call(std::string_view method, std::string_view arguments, HRESULT result);
    static std::string name(D3DXHANDLE name);  // quoted, or null
    static std::string number(float value);
    static std::string floats(const float* values, UINT count);  // {1, 2, 3}, or null
};

}  // namespace fx
