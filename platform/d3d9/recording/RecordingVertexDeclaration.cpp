#include "platform/d3d9/recording/RecordingVertexDeclaration.h"

#include <algorithm>

#include "platform/d3d9/recording/RecordingDevice.h"

RecordingVertexDeclaration::RecordingVertexDeclaration(RecordingDevice& device, std::string name,
                                                       std::vector<D3DVERTEXELEMENT9> elements)
    : RecordingObject(device, std::move(name)), elements_(std::move(elements)) {}

HRESULT RecordingVertexDeclaration::GetDevice(IDirect3DDevice9** device) {
    return handOutDevice(device);
}

HRESULT RecordingVertexDeclaration::GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) {
    auto guard = device().lock();
    HRESULT hr = device().planned("GetDeclaration");
    if (SUCCEEDED(hr) && count == nullptr) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        *count = static_cast<UINT>(elements_.size());
        if (elements != nullptr) {
            std::copy(elements_.begin(), elements_.end(), elements);
        }
    }
    return device().record("GetDeclaration", name() + ".GetDeclaration()", hr, true);
}

bool RecordingVertexDeclaration::usesStream(WORD stream) const {
    return std::any_of(elements_.begin(), elements_.end() - 1,
                       [stream](const D3DVERTEXELEMENT9& e) { return e.Stream == stream; });
}
