// Compiled effect files from untrusted bytes: D3DXCreateEffect on the recording device must
// either build an effect or refuse the data, never crash, hang or leak.
#include <cstddef>
#include <cstdint>

#include "platform/d3d9/recording/RecordingDevice.h"
#include "platform/d3dx9/d3dx9.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Reference-counted: made with one reference, gone at its last Release.
    auto* device = new RecordingDevice();
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* errors = nullptr;
    D3DXCreateEffect(device, data, static_cast<UINT>(size), nullptr, nullptr, 0, nullptr, &effect,
                     &errors);
    if (effect != nullptr) {
        D3DXHANDLE technique = effect->GetCurrentTechnique();
        UINT passes = 0;
        if (technique != nullptr && SUCCEEDED(effect->SetTechnique(technique)) &&
            SUCCEEDED(effect->Begin(&passes, 0))) {
            for (UINT pass = 0; pass < passes && pass < 8; ++pass) {
                if (SUCCEEDED(effect->BeginPass(pass))) {
                    effect->EndPass();
                }
            }
            effect->End();
        }
        effect->Release();
    }
    if (errors != nullptr) {
        errors->Release();
    }
    device->Release();
    return 0;
}
