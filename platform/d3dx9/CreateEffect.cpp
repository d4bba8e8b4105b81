// D3DXCreateEffect: parses a compiled effect and builds it on the device. Defines, include
// handlers and effect pools are not used by this project's effects and are ignored.
#include <cstdio>
#include <new>
#include <string>
#include <string_view>

#include "platform/d3dx9/Effect.h"
#include "platform/d3dx9/EffectParser.h"
#include "platform/d3dx9/MessageBuffer.h"
#include "platform/d3dx9/d3dx9.h"

namespace {

// The effect compiler ends a compiled effect with "# compiled from NAME.fx"; messages name that
// file, whose line numbers the compiled effect keeps.
std::string sourceNameOf(std::string_view text) {
    constexpr std::string_view kMark = "# compiled from ";
    const auto found = text.rfind(kMark);
    if (found == std::string_view::npos || (found != 0 && text[found - 1] != '\n')) {
        return "effect";
    }
    std::string_view name = text.substr(found + kMark.size());
    name = name.substr(0, name.find_first_of("\r\n"));
    const bool printable =
        !name.empty() && name.size() <= 128 &&
        name.find_first_of(std::string_view("\0\t", 2)) == std::string_view::npos;
    return printable ? std::string(name) : std::string("effect");
}

void reportProblem(const std::string& message, ID3DXBuffer** errors) {
    std::fprintf(stderr, "D3DXCreateEffect: %s\n", message.c_str());
    if (errors != nullptr) {
        *errors = new (std::nothrow) fx::MessageBuffer(message);
    }
}

}  // namespace

HRESULT D3DXCreateEffect(IDirect3DDevice9* device, const void* data, UINT dataLength,
                         const D3DXMACRO* /*defines*/, ID3DXInclude* /*include*/, DWORD /*flags*/,
                         ID3DXEffectPool* /*pool*/, ID3DXEffect** effect, ID3DXBuffer** errors) {
    if (errors != nullptr) {
        *errors = nullptr;
    }
    if (effect != nullptr) {
        *effect = nullptr;
    }
    if (device == nullptr || data == nullptr || dataLength == 0 || effect == nullptr) {
        reportProblem("no device, no effect data or no place for the effect", errors);
        return D3DERR_INVALIDCALL;
    }
    const std::string_view text(static_cast<const char*>(data), dataLength);
    auto parsed = fx::EffectParser::parse(text, sourceNameOf(text));
    if (!parsed.effect) {
        reportProblem(parsed.error, errors);
        return D3DXERR_INVALIDDATA;
    }
    std::string problem;
    fx::Effect* created = nullptr;
    const HRESULT result =
        fx::Effect::create(device, std::move(*parsed.effect), &problem, &created);
    if (FAILED(result)) {
        reportProblem(problem.empty() ? "out of memory" : problem, errors);
        return result;
    }
    *effect = created;
    return D3D_OK;
}
