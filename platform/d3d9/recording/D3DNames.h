// Readable text for the values the engine passes to the device, so that a recorded call reads
// like the source line that made it ("SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE)"). Values
// without a name print as numbers; nothing here fails.
#pragma once

#include <string>

#include "platform/d3d9/d3d9.h"

class D3DNames {
public:
    static std::string renderState(DWORD state);
    static std::string renderStateValue(DWORD state, DWORD value);
    static std::string samplerState(DWORD type);
    static std::string samplerStateValue(DWORD type, DWORD value);
    static std::string textureStageState(DWORD type);
    static std::string textureStageStateValue(DWORD type, DWORD value);
    static std::string transform(DWORD state);
    static std::string primitive(DWORD type);
    static std::string format(DWORD format);
    static std::string pool(DWORD pool);
    static std::string usage(DWORD usage);
    static std::string lockFlags(DWORD flags);
    static std::string fvf(DWORD fvf);
    static std::string result(HRESULT hr);

    static std::string hex(DWORD value);
    static std::string color(D3DCOLOR value);
    static std::string number(float value);
    static std::string rect(const RECT* rect);
    static std::string matrix(const D3DMATRIX& matrix);
};
