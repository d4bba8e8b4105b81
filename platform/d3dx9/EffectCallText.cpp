#include "platform/d3dx9/EffectCallText.h"

#include <cstdio>

namespace fx {

std::string EffectCallText::call(std::string_view method, std::string_view arguments,
                                 HRESULT result) {
    std::string text = "Effect.";
    text += method;
    text += '(';
    text += arguments;
    text += SUCCEEDED(result) ? ") -> OK" : ") -> FAIL";
    return text;
}

std::string EffectCallText::name(D3DXHANDLE name) {
    if (name == nullptr) {
        return "null";
    }
    std::string text = "\"";
    text += name;
    text += '"';
    return text;
}

std::string EffectCallText::number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string EffectCallText::floats(const float* values, UINT count) {
    if (values == nullptr) {
        return "null";
    }
    // A matrix is the longest value a setter takes; longer lists are cut short.
    constexpr UINT kShown = 16;
    std::string text = "{";
    for (UINT i = 0; i < count && i < kShown; ++i) {
        text += (i == 0 ? "" : ", ") + number(values[i]);
    }
    return text + (count > kShown ? ", ...}" : "}");
}

}  // namespace fx
