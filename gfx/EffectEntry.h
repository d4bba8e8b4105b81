// One effect of the EffectHandler registry: the file name exactly as requested and its effect,
// null while its creation has failed.
#pragma once

#include <string>

#include "platform/d3dx9/d3dx9.h"

namespace kelvo {

struct EffectEntry {
    std::string name;
    ID3DXEffect* effect = nullptr;
};

}  // namespace kelvo
