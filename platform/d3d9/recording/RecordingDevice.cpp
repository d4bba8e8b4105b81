#include "platform/d3d9/recording/RecordingDevice.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <type_traits>

#include "platform/d3d9/core/DeviceRules.h"
#include "platform/d3d9/core/PixelFormat.h"
#include "platform/d3d9/recording/D3DNames.h"
#include "platform/d3d9/recording/RecordingIndexBuffer.h"
#include "platform/d3d9/recording/RecordingProgram.h"
#include "platform/d3d9/recording/RecordingSurface.h"
#include "platform/d3d9/recording/RecordingTexture.h"
#include "platform/d3d9/recording/RecordingVertexBuffer.h"
#include "platform/d3d9/recording/RecordingVertexDeclaration.h"

namespace {

constexpr UINT kDefaultWidth = 640;
constexpr UINT kDefaultHeight = 360;
// D3DFMT_VERTEXDATA: the format every vertex buffer reports.
constexpr auto kVertexDataFormat = static_cast<D3DFORMAT>(100);

std::string callText(std::string_view operation, std::initializer_list<std::string> args) {
    std::string text(operation);
    text += '(';
    bool first = true;
    for (const std::string& arg : args) {
        text += first ? "" : ", ";
        text += arg;
        first = false;
    }
    return text + ')';
}

std::string present(const void* pointer, const char* what) {
    return pointer ? what : "null";
}

std::string rectsText(DWORD count, const D3DRECT* rects) {
    if (rects == nullptr) {
        return "null";
    }
    std::string text = "[";
    for (DWORD i = 0; i < count; ++i) {
        text += i ? ",{" : "{";
        for (const std::int32_t value : {rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2}) {
            text += std::to_string(value);
            text += ',';
        }
        text.back() = '}';
    }
    return text + "]";
}

bool validPrimitive(D3DPRIMITIVETYPE type) {
    return type >= D3DPT_POINTLIST && type <= D3DPT_TRIANGLEFAN;
}

bool validShape(D3DPROGRAMCONSTANTSHAPE shape) {
    return (shape >= D3DPCS_SCALAR && shape <= D3DPCS_VEC4) || shape == D3DPCS_MATRIX4X4;
}

std::string shapeText(D3DPROGRAMCONSTANTSHAPE shape, UINT count) {
    std::string text;
    switch (shape) {
        case D3DPCS_SCALAR:
            text = "scalar";
            break;
        case D3DPCS_MATRIX4X4:
            text = "mat4";
            break;
        default:
            text = "vec" + std::to_string(static_cast<UINT>(shape));
            break;
    }
    return count == 1 ? text : text + " x" + std::to_string(count);
}

std::string valueText(float value) {
    return D3DNames::number(value);
}

std::string valueText(INT value) {
    return std::to_string(value);
}

RECT intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool isEmpty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

}  // namespace

float RecordedDrawUP::floatAt(UINT vertex, UINT byteOffset) const {
    float value = 0.0f;
    const std::size_t at = static_cast<std::size_t>(vertex) * stride + byteOffset;
    if (at + sizeof value <= data.size()) {
        std::memcpy(&value, data.data() + at, sizeof value);
    }
    return value;
}

D3DPRESENT_PARAMETERS RecordingDevice::defaultPresentation() {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = kDefaultWidth;
    parameters.BackBufferHeight = kDefaultHeight;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    return parameters;
}

UINT RecordingDevice::vertexCount(D3DPRIMITIVETYPE type, UINT primitiveCount) {
    switch (type) {
        case D3DPT_POINTLIST:
            return primitiveCount;
        case D3DPT_LINELIST:
            return primitiveCount * 2;
        case D3DPT_LINESTRIP:
            return primitiveCount + 1;
        case D3DPT_TRIANGLELIST:
            return primitiveCount * 3;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN:
            return primitiveCount + 2;
    }
    return 0;
}

RecordingDevice::RecordingDevice(const D3DPRESENT_PARAMETERS& parameters)
    : presentation_(parameters), state_(parameters.EnableAutoDepthStencil != FALSE) {
    if (presentation_.BackBufferWidth == 0 || presentation_.BackBufferHeight == 0) {
        presentation_.BackBufferWidth = kDefaultWidth;
        presentation_.BackBufferHeight = kDefaultHeight;
    }
    if (PixelFormat::bytesPerPixel(presentation_.BackBufferFormat) == 0) {
        presentation_.BackBufferFormat = D3DFMT_X8R8G8B8;
    }
    presentation_.BackBufferCount = std::max(1u, presentation_.BackBufferCount);
    const UINT width = presentation_.BackBufferWidth;
    const UINT height = presentation_.BackBufferHeight;

    const D3DSURFACE_DESC back{presentation_.BackBufferFormat,
                               D3DRTYPE_SURFACE,
                               D3DUSAGE_RENDERTARGET,
                               D3DPOOL_DEFAULT,
                               presentation_.MultiSampleType,
                               presentation_.MultiSampleQuality,
                               width,
                               height};
    objects_.push_back(std::make_unique<RecordingSurface>(*this, "backbuffer", back));
    backBuffer_ = static_cast<RecordingSurface*>(objects_.back().get());
    swapChainBackBuffer_.set(backBuffer_);
    renderTargets_[0].set(backBuffer_);

    if (presentation_.EnableAutoDepthStencil) {
        if (!PixelFormat::isDepth(presentation_.AutoDepthStencilFormat)) {
            presentation_.AutoDepthStencilFormat = D3DFMT_D24S8;
        }
        const D3DSURFACE_DESC depth{presentation_.AutoDepthStencilFormat,
                                    D3DRTYPE_SURFACE,
                                    D3DUSAGE_DEPTHSTENCIL,
                                    D3DPOOL_DEFAULT,
                                    presentation_.MultiSampleType,
                                    presentation_.MultiSampleQuality,
                                    width,
                                    height};
        objects_.push_back(std::make_unique<RecordingSurface>(*this, "autodepth", depth));
        autoDepth_ = static_cast<RecordingSurface*>(objects_.back().get());
        swapChainDepth_.set(autoDepth_);
        depthStencil_.set(autoDepth_);
    }
    viewport_ = D3DVIEWPORT9{0, 0, width, height, 0.0f, 1.0f};
}

RecordingDevice::~RecordingDevice() {
    // Everything left is only bound; the bindings die with the device, so free it directly.
    for (auto& [sampler, binding] : textures_) {
        binding.drop();
    }
    for (auto& binding : renderTargets_) {
        binding.drop();
    }
    for (auto& binding : streams_) {
        binding.drop();
    }
    depthStencil_.drop();
    swapChainBackBuffer_.drop();
    swapChainDepth_.drop();
    declaration_.drop();
    indices_.drop();
    program_.drop();
    objects_.clear();
}

// ---------------------------------------------------------------------------------------------
// Log, failures, objects
// ---------------------------------------------------------------------------------------------
std::vector<std::string> RecordingDevice::calls() const {
    auto guard = lock();
    return log_.texts();
}

void RecordingDevice::clearCalls() {
    auto guard = lock();
    log_.clear();
}

std::size_t RecordingDevice::countCalls(std::string_view operation) const {
    auto guard = lock();
    return log_.count(operation);
}

std::vector<std::string> RecordingDevice::callsStartingWith(std::string_view prefix) const {
    auto guard = lock();
    return log_.startingWith(prefix);
}

void RecordingDevice::setRecordQueries(bool record) {
    auto guard = lock();
    recordQueries_ = record;
}

void RecordingDevice::failCall(std::string operation, HRESULT result, unsigned nth) {
    auto guard = lock();
    failures_.fail(std::move(operation), result, nth);
}

void RecordingDevice::clearFailures() {
    auto guard = lock();
    failures_.clear();
}

void RecordingDevice::markOptimisedOut(std::string uniform) {
    auto guard = lock();
    optimisedOut_.push_back(std::move(uniform));
}

INT RecordingDevice::newUniformLocation(const std::string& program, const std::string& uniform) {
    locationOwners_.push_back(program + " \"" + uniform + "\"");
    return static_cast<INT>(locationOwners_.size() - 1);
}

bool RecordingDevice::isOptimisedOut(const std::string& uniform) const {
    return std::find(optimisedOut_.begin(), optimisedOut_.end(), uniform) != optimisedOut_.end();
}

std::optional<std::vector<float>> RecordingDevice::programConstantF(
    const std::string& uniform) const {
    auto guard = lock();
    const auto found = constantsF_.find(uniform);
    return found == constantsF_.end() ? std::nullopt : std::optional(found->second);
}

std::optional<std::vector<INT>> RecordingDevice::programConstantI(
    const std::string& uniform) const {
    auto guard = lock();
    const auto found = constantsI_.find(uniform);
    return found == constantsI_.end() ? std::nullopt : std::optional(found->second);
}

std::unique_lock<std::recursive_mutex> RecordingDevice::lock() const {
    return std::unique_lock(mutex_);
}

HRESULT RecordingDevice::planned(std::string_view operation) {
    return failures_.next(operation);
}

HRESULT RecordingDevice::record(std::string operation, std::string text, HRESULT result,
                                bool query) {
    if (query && !recordQueries_) {
        return result;
    }
    if (FAILED(result)) {
        text += " -> " + D3DNames::result(result);
    }
    log_.add(std::move(operation), std::move(text));
    return result;
}

void RecordingDevice::noteOverRelease(const std::string& name) {
    ++overReleases_;
    log_.add("Release", name + ".Release() -> over-release");
}

void RecordingDevice::destroyObject(RecordingObject* object) {
    const auto found = std::find_if(objects_.begin(), objects_.end(),
                                    [object](const auto& owned) { return owned.get() == object; });
    if (found != objects_.end()) {
        objects_.erase(found);
    }
}

template <class Object, class... Args>
Object* RecordingDevice::make(const char* kind, Args&&... args) {
    std::string name = std::string(kind) + "#" + std::to_string(++nextSerial_[kind]);
    auto object = std::make_unique<Object>(*this, std::move(name), std::forward<Args>(args)...);
    Object* made = object.get();
    objects_.push_back(std::move(object));
    made->addRef();
    return made;
}

template <class Interface>
Interface* RecordingDevice::handOut(Interface* object) {
    if (object != nullptr) {
        object->AddRef();
    }
    return object;
}

RecordingObject* RecordingDevice::ours(const IUnknown* object) const {
    const auto* found = dynamic_cast<const RecordingObject*>(object);
    if (found == nullptr || &found->device() != this) {
        return nullptr;
    }
    return const_cast<RecordingObject*>(found);
}

RecordingSurface* RecordingDevice::ourSurface(IDirect3DSurface9* surface) const {
    return ours(surface) ? static_cast<RecordingSurface*>(surface) : nullptr;
}

RecordingTexture* RecordingDevice::ourTexture(IDirect3DBaseTexture9* texture) const {
    // The device makes no cube or volume textures.
    return ours(texture) ? static_cast<RecordingTexture*>(static_cast<IDirect3DTexture9*>(texture))
                         : nullptr;
}

std::string RecordingDevice::nameOf(const IUnknown* object) const {
    if (object == nullptr) {
        return "null";
    }
    const RecordingObject* found = ours(object);
    return found ? found->name() : "foreign";
}

std::size_t RecordingDevice::liveObjectCount() const {
    return liveObjectNames().size();
}

std::vector<std::string> RecordingDevice::liveObjectNames() const {
    auto guard = lock();
    std::vector<std::string> names;
    for (const auto& object : objects_) {
        if (object->publicRefs() > 0) {
            names.push_back(object->name());
        }
    }
    return names;
}

std::size_t RecordingDevice::overReleaseCount() const {
    auto guard = lock();
    return overReleases_;
}

ULONG RecordingDevice::refCount() const {
    auto guard = lock();
    return refs_;
}

ULONG RecordingDevice::AddRef() {
    auto guard = lock();
    return ++refs_;
}

ULONG RecordingDevice::Release() {
    ULONG left = 0;
    {
        auto guard = lock();
        if (refs_ == 0) {
            noteOverRelease("device");
            return 0;
        }
        left = --refs_;
    }
    if (left == 0) {
        delete this;
    }
    return left;
}

void RecordingDevice::RecordCall(const char* text) {
    if (text == nullptr) {
        return;
    }
    auto guard = lock();
    log_.add(CallLog::operationOf(text), text);
}

// ---------------------------------------------------------------------------------------------
// State read without logging
// ---------------------------------------------------------------------------------------------
DWORD RecordingDevice::renderState(D3DRENDERSTATETYPE state) const {
    auto guard = lock();
    return state_.renderState(state);
}

DWORD RecordingDevice::samplerState(DWORD sampler, D3DSAMPLERSTATETYPE type) const {
    auto guard = lock();
    return state_.samplerState(sampler, type);
}

DWORD RecordingDevice::textureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const {
    auto guard = lock();
    return state_.textureStageState(stage, type);
}

D3DMATRIX RecordingDevice::transform(D3DTRANSFORMSTATETYPE state) const {
    auto guard = lock();
    return state_.transform(state);
}

D3DVIEWPORT9 RecordingDevice::viewport() const {
    auto guard = lock();
    return viewport_;
}

IDirect3DBaseTexture9* RecordingDevice::textureAt(DWORD sampler) const {
    auto guard = lock();
    const auto found = textures_.find(sampler);
    return found == textures_.end() ? nullptr : found->second.get();
}

IDirect3DSurface9* RecordingDevice::renderTargetAt(DWORD index) const {
    auto guard = lock();
    return index < renderTargets_.size() ? renderTargets_[index].get() : nullptr;
}

IDirect3DSurface9* RecordingDevice::depthStencil() const {
    auto guard = lock();
    return depthStencil_.get();
}

IDirect3DProgram9* RecordingDevice::currentProgram() const {
    auto guard = lock();
    return program_.get();
}

IDirect3DVertexDeclaration9* RecordingDevice::currentDeclaration() const {
    auto guard = lock();
    return declaration_.get();
}

DWORD RecordingDevice::currentFVF() const {
    auto guard = lock();
    return fvf_;
}

StreamSource RecordingDevice::streamSource(UINT stream) const {
    auto guard = lock();
    if (stream >= kStreams) {
        return {};
    }
    return StreamSource{streams_[stream].get(), streamOffsets_[stream], streamStrides_[stream]};
}

IDirect3DIndexBuffer9* RecordingDevice::indices() const {
    auto guard = lock();
    return indices_.get();
}

bool RecordingDevice::inScene() const {
    auto guard = lock();
    return inScene_;
}

// ---------------------------------------------------------------------------------------------
// Frame
// ---------------------------------------------------------------------------------------------
HRESULT RecordingDevice::BeginScene() {
    auto guard = lock();
    HRESULT hr = planned("BeginScene");
    if (SUCCEEDED(hr) && inScene_) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        inScene_ = true;
    }
    return record("BeginScene", "BeginScene()", hr);
}

HRESULT RecordingDevice::EndScene() {
    auto guard = lock();
    HRESULT hr = planned("EndScene");
    if (SUCCEEDED(hr) && !inScene_) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        inScene_ = false;
    }
    return record("EndScene", "EndScene()", hr);
}

HRESULT RecordingDevice::Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow,
                                 const void* dirtyRegion) {
    auto guard = lock();
    const HRESULT hr = planned("Present");
    return record(
        "Present",
        callText("Present", {D3DNames::rect(sourceRect), D3DNames::rect(destRect),
                             present(destWindow, "hwnd"), present(dirtyRegion, "region")}),
        hr);
}

std::vector<RECT> RecordingDevice::clearRegions(DWORD count, const D3DRECT* rects) const {
    const RECT view{static_cast<std::int32_t>(viewport_.X), static_cast<std::int32_t>(viewport_.Y),
                    static_cast<std::int32_t>(viewport_.X + viewport_.Width),
                    static_cast<std::int32_t>(viewport_.Y + viewport_.Height)};
    // No rectangles means the whole viewport; rectangles with a count of 0 clear nothing.
    if (rects == nullptr) {
        return {view};
    }
    std::vector<RECT> regions;
    for (DWORD i = 0; i < count; ++i) {
        const RECT clipped =
            intersect(view, RECT{rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2});
        if (!isEmpty(clipped)) {
            regions.push_back(clipped);
        }
    }
    return regions;
}

HRESULT RecordingDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color,
                               float z, DWORD stencil) {
    auto guard = lock();
    const std::string text =
        callText("Clear", {std::to_string(count), rectsText(count, rects), D3DNames::hex(flags),
                           D3DNames::color(color), D3DNames::number(z), std::to_string(stencil)});
    HRESULT hr = planned("Clear");
    auto* depth = static_cast<RecordingSurface*>(depthStencil_.get());
    const bool depthWanted = (flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0;
    if (SUCCEEDED(hr) && depthWanted && depth == nullptr) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr) && (flags & D3DCLEAR_STENCIL) &&
        !PixelFormat::hasStencil(depth->desc().Format)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        for (const RECT& region : clearRegions(count, rects)) {
            for (const auto& target : renderTargets_) {
                if ((flags & D3DCLEAR_TARGET) && target.get() != nullptr) {
                    static_cast<RecordingSurface*>(target.get())->fillColor(region, color);
                }
            }
            if (depthWanted) {
                depth->fillDepth(
                    region, (flags & D3DCLEAR_ZBUFFER) ? std::optional(z) : std::nullopt,
                    (flags & D3DCLEAR_STENCIL) ? std::optional(stencil) : std::nullopt);
            }
        }
    }
    return record("Clear", text, hr);
}

HRESULT RecordingDevice::SetViewport(const D3DVIEWPORT9* viewport) {
    auto guard = lock();
    const std::string text =
        viewport ? callText("SetViewport",
                            {std::to_string(viewport->X), std::to_string(viewport->Y),
                             std::to_string(viewport->Width), std::to_string(viewport->Height),
                             D3DNames::number(viewport->MinZ), D3DNames::number(viewport->MaxZ)})
                 : "SetViewport(null)";
    HRESULT hr = planned("SetViewport");
    if (SUCCEEDED(hr)) {
        // A viewport must lie inside render target 0.
        const auto& target = static_cast<RecordingSurface*>(renderTargets_[0].get())->desc();
        if (viewport == nullptr || std::uint64_t{viewport->X} + viewport->Width > target.Width ||
            std::uint64_t{viewport->Y} + viewport->Height > target.Height) {
            hr = D3DERR_INVALIDCALL;
        }
    }
    if (SUCCEEDED(hr)) {
        viewport_ = *viewport;
        viewportsSet_.push_back(*viewport);
    }
    return record("SetViewport", text, hr);
}

HRESULT RecordingDevice::GetViewport(D3DVIEWPORT9* viewport) {
    auto guard = lock();
    HRESULT hr = planned("GetViewport");
    if (SUCCEEDED(hr) && viewport == nullptr) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        *viewport = viewport_;
    }
    return record("GetViewport", "GetViewport()", hr, true);
}

HRESULT RecordingDevice::GetDeviceCaps(D3DCAPS9* caps) {
    auto guard = lock();
    HRESULT hr = planned("GetDeviceCaps");
    if (SUCCEEDED(hr) && caps == nullptr) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        *caps = {kMaxTextureSide, kMaxTextureSide};
    }
    return record("GetDeviceCaps", "GetDeviceCaps()", hr, true);
}

// ---------------------------------------------------------------------------------------------
// States
// ---------------------------------------------------------------------------------------------
HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    auto guard = lock();
    HRESULT hr = planned("SetRenderState");
    if (SUCCEEDED(hr) && !StateShadow::validRenderState(state)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        state_.setRenderState(state, value);
    }
    return record("SetRenderState",
                  callText("SetRenderState", {D3DNames::renderState(state),
                                              D3DNames::renderStateValue(state, value)}),
                  hr);
}

HRESULT RecordingDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    auto guard = lock();
    HRESULT hr = planned("GetRenderState");
    if (SUCCEEDED(hr) && (value == nullptr || !StateShadow::validRenderState(state))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        *value = state_.renderState(state);
    }
    return record("GetRenderState", callText("GetRenderState", {D3DNames::renderState(state)}), hr,
                  true);
}

HRESULT RecordingDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    auto guard = lock();
    HRESULT hr = planned("SetSamplerState");
    if (SUCCEEDED(hr) && !StateShadow::validSamplerState(sampler, type)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        state_.setSamplerState(sampler, type, value);
    }
    return record(
        "SetSamplerState",
        callText("SetSamplerState", {std::to_string(sampler), D3DNames::samplerState(type),
                                     D3DNames::samplerStateValue(type, value)}),
        hr);
}

HRESULT RecordingDevice::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    auto guard = lock();
    HRESULT hr = planned("GetSamplerState");
    if (SUCCEEDED(hr) && (value == nullptr || !StateShadow::validSamplerState(sampler, type))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        *value = state_.samplerState(sampler, type);
    }
    return record(
        "GetSamplerState",
        callText("GetSamplerState", {std::to_string(sampler), D3DNames::samplerState(type)}), hr,
        true);
}

HRESULT RecordingDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                              DWORD value) {
    auto guard = lock();
    HRESULT hr = planned("SetTextureStageState");
    if (SUCCEEDED(hr) && !StateShadow::validStageState(stage, type)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        state_.setTextureStageState(stage, type, value);
    }
    return record(
        "SetTextureStageState",
        callText("SetTextureStageState", {std::to_string(stage), D3DNames::textureStageState(type),
                                          D3DNames::textureStageStateValue(type, value)}),
        hr);
}

HRESULT RecordingDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                              DWORD* value) {
    auto guard = lock();
    HRESULT hr = planned("GetTextureStageState");
    if (SUCCEEDED(hr) && (value == nullptr || !StateShadow::validStageState(stage, type))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        *value = state_.textureStageState(stage, type);
    }
    return record("GetTextureStageState",
                  callText("GetTextureStageState",
                           {std::to_string(stage), D3DNames::textureStageState(type)}),
                  hr, true);
}

HRESULT RecordingDevice::SetTexture(DWORD sampler, IDirect3DBaseTexture9* texture) {
    auto guard = lock();
    HRESULT hr = planned("SetTexture");
    if (SUCCEEDED(hr) &&
        (!StateShadow::validSampler(sampler) || (texture != nullptr && !ours(texture)))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        textures_[sampler].set(texture);
    }
    return record("SetTexture", callText("SetTexture", {std::to_string(sampler), nameOf(texture)}),
                  hr);
}

HRESULT RecordingDevice::GetTexture(DWORD sampler, IDirect3DBaseTexture9** texture) {
    auto guard = lock();
    HRESULT hr = planned("GetTexture");
    if (SUCCEEDED(hr) && (texture == nullptr || !StateShadow::validSampler(sampler))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (texture != nullptr) {
        *texture = SUCCEEDED(hr) ? handOut(textureAt(sampler)) : nullptr;
    }
    return record("GetTexture", callText("GetTexture", {std::to_string(sampler)}), hr, true);
}

HRESULT RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    auto guard = lock();
    HRESULT hr = planned("SetTransform");
    if (SUCCEEDED(hr) && (matrix == nullptr || !StateShadow::validTransform(state))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        state_.setTransform(state, *matrix);
        transformsSet_.emplace_back(state, *matrix);
    }
    return record("SetTransform",
                  callText("SetTransform", {D3DNames::transform(state),
                                            matrix ? D3DNames::matrix(*matrix) : "null"}),
                  hr);
}

HRESULT RecordingDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    auto guard = lock();
    HRESULT hr = planned("GetTransform");
    if (SUCCEEDED(hr) && (matrix == nullptr || !StateShadow::validTransform(state))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        *matrix = state_.transform(state);
    }
    return record("GetTransform", callText("GetTransform", {D3DNames::transform(state)}), hr, true);
}

// ---------------------------------------------------------------------------------------------
// Render targets
// ---------------------------------------------------------------------------------------------
HRESULT RecordingDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
    auto guard = lock();
    HRESULT hr = planned("GetRenderTarget");
    if (SUCCEEDED(hr) && (surface == nullptr || index >= renderTargets_.size())) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr) && renderTargets_[index].get() == nullptr) {
        hr = D3DERR_NOTFOUND;
    }
    if (surface != nullptr) {
        *surface = SUCCEEDED(hr) ? handOut(renderTargets_[index].get()) : nullptr;
    }
    return record("GetRenderTarget", callText("GetRenderTarget", {std::to_string(index)}), hr,
                  true);
}

HRESULT RecordingDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
    auto guard = lock();
    HRESULT hr = planned("SetRenderTarget");
    RecordingSurface* target = ourSurface(surface);
    if (SUCCEEDED(hr) &&
        (index >= renderTargets_.size() || (index == 0 && surface == nullptr) ||
         (surface != nullptr &&
          (target == nullptr || !(target->desc().Usage & D3DUSAGE_RENDERTARGET))))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        renderTargets_[index].set(surface);
        if (index == 0) {
            // Direct3D resets the viewport to the whole new target 0, even when it is unchanged.
            viewport_ = D3DVIEWPORT9{0, 0, target->desc().Width, target->desc().Height, 0.0f, 1.0f};
        }
    }
    return record("SetRenderTarget",
                  callText("SetRenderTarget", {std::to_string(index), nameOf(surface)}), hr);
}

HRESULT RecordingDevice::GetDepthStencilSurface(IDirect3DSurface9** surface) {
    auto guard = lock();
    HRESULT hr = planned("GetDepthStencilSurface");
    if (SUCCEEDED(hr) && surface == nullptr) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr) && depthStencil_.get() == nullptr) {
        hr = D3DERR_NOTFOUND;
    }
    if (surface != nullptr) {
        *surface = SUCCEEDED(hr) ? handOut(depthStencil_.get()) : nullptr;
    }
    return record("GetDepthStencilSurface", "GetDepthStencilSurface()", hr, true);
}

HRESULT RecordingDevice::SetDepthStencilSurface(IDirect3DSurface9* surface) {
    auto guard = lock();
    HRESULT hr = planned("SetDepthStencilSurface");
    const RecordingSurface* depth = ourSurface(surface);
    if (SUCCEEDED(hr) && surface != nullptr &&
        (depth == nullptr || !(depth->desc().Usage & D3DUSAGE_DEPTHSTENCIL))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        depthStencil_.set(surface);
    }
    return record("SetDepthStencilSurface", callText("SetDepthStencilSurface", {nameOf(surface)}),
                  hr);
}

HRESULT RecordingDevice::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                                       IDirect3DSurface9** surface) {
    auto guard = lock();
    HRESULT hr = planned("GetBackBuffer");
    if (SUCCEEDED(hr) &&
        (surface == nullptr || swapChain != 0 || index != 0 || type != D3DBACKBUFFER_TYPE_MONO)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (surface != nullptr) {
        *surface = SUCCEEDED(hr) ? handOut<IDirect3DSurface9>(backBuffer_) : nullptr;
    }
    return record("GetBackBuffer",
                  callText("GetBackBuffer", {std::to_string(swapChain), std::to_string(index)}), hr,
                  true);
}

HRESULT RecordingDevice::GetRenderTargetData(IDirect3DSurface9* renderTarget,
                                             IDirect3DSurface9* destination) {
    auto guard = lock();
    HRESULT hr = planned("GetRenderTargetData");
    RecordingSurface* source = ourSurface(renderTarget);
    RecordingSurface* target = ourSurface(destination);
    if (SUCCEEDED(hr)) {
        const bool valid =
            source && target &&
            SUCCEEDED(DeviceRules::checkRenderTargetData(source->desc(), target->desc())) &&
            !source->isLocked() && !target->isLocked();
        hr = valid ? D3D_OK : D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        target->bytes() = source->bytes();
    }
    return record("GetRenderTargetData",
                  callText("GetRenderTargetData", {nameOf(renderTarget), nameOf(destination)}), hr);
}

HRESULT RecordingDevice::ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) {
    auto guard = lock();
    HRESULT hr = planned("ColorFill");
    RecordingSurface* target = ourSurface(surface);
    if (SUCCEEDED(hr)) {
        // Default-pool colour surfaces only; a texture level must be a render target.
        const bool valid =
            target && target->desc().Pool == D3DPOOL_DEFAULT &&
            !PixelFormat::isDepth(target->desc().Format) &&
            (!target->isTextureLevel() || (target->desc().Usage & D3DUSAGE_RENDERTARGET)) &&
            (rect == nullptr || target->contains(*rect));
        hr = valid ? D3D_OK : D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        target->fillColor(rect ? *rect : target->bounds(), color);
    }
    return record(
        "ColorFill",
        callText("ColorFill", {nameOf(surface), D3DNames::rect(rect), D3DNames::color(color)}), hr);
}

HRESULT RecordingDevice::UpdateTexture(IDirect3DBaseTexture9* source,
                                       IDirect3DBaseTexture9* destination) {
    auto guard = lock();
    HRESULT hr = planned("UpdateTexture");
    RecordingTexture* from = ourTexture(source);
    RecordingTexture* to = ourTexture(destination);
    UINT firstSourceLevel = 0;
    if (SUCCEEDED(hr)) {
        hr = from && to && from != to && !from->anyLevelLocked() && !to->anyLevelLocked()
                 ? DeviceRules::checkUpdateTexture(from->level(0)->desc(), from->levelCount(),
                                                   to->level(0)->desc(), to->levelCount(),
                                                   &firstSourceLevel)
                 : D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        for (UINT index = 0; index < to->levelCount(); ++index) {
            to->level(index)->bytes() = from->level(firstSourceLevel + index)->bytes();
        }
    }
    return record("UpdateTexture", callText("UpdateTexture", {nameOf(source), nameOf(destination)}),
                  hr);
}

// ---------------------------------------------------------------------------------------------
// Resources
// ---------------------------------------------------------------------------------------------
HRESULT RecordingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                       D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                       void** sharedHandle) {
    auto guard = lock();
    std::string text = callText(
        "CreateTexture", {std::to_string(width), std::to_string(height), std::to_string(levels),
                          D3DNames::usage(usage), D3DNames::format(format), D3DNames::pool(pool)});
    HRESULT hr = planned("CreateTexture");
    const UINT resolved = DeviceRules::textureLevels(width, height, levels, usage);
    if (SUCCEEDED(hr)) {
        hr = texture == nullptr ? D3DERR_INVALIDCALL
                                : DeviceRules::checkTexture(width, height, levels, usage, format,
                                                            pool, sharedHandle);
    }
    if (texture != nullptr) {
        *texture = nullptr;
    }
    if (SUCCEEDED(hr)) {
        *texture = make<RecordingTexture>("tex", width, height, resolved, usage, format, pool);
        text += " -> " + nameOf(*texture);
    }
    return record("CreateTexture", text, hr);
}

HRESULT RecordingDevice::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                                   D3DMULTISAMPLE_TYPE multiSample,
                                                   DWORD multisampleQuality, BOOL discard,
                                                   IDirect3DSurface9** surface,
                                                   void** sharedHandle) {
    auto guard = lock();
    std::string text = callText(
        "CreateDepthStencilSurface",
        {std::to_string(width), std::to_string(height), D3DNames::format(format),
         std::to_string(multiSample), std::to_string(multisampleQuality), std::to_string(discard)});
    HRESULT hr = planned("CreateDepthStencilSurface");
    if (SUCCEEDED(hr)) {
        hr = surface == nullptr
                 ? D3DERR_INVALIDCALL
                 : DeviceRules::checkDepthStencilSurface(width, height, format, sharedHandle);
    }
    if (surface != nullptr) {
        *surface = nullptr;
    }
    if (SUCCEEDED(hr)) {
        const D3DSURFACE_DESC desc{format,
                                   D3DRTYPE_SURFACE,
                                   D3DUSAGE_DEPTHSTENCIL,
                                   D3DPOOL_DEFAULT,
                                   multiSample,
                                   multisampleQuality,
                                   width,
                                   height};
        *surface = make<RecordingSurface>("depth", desc);
        text += " -> " + nameOf(*surface);
    }
    return record("CreateDepthStencilSurface", text, hr);
}

HRESULT RecordingDevice::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                                     D3DPOOL pool, IDirect3DSurface9** surface,
                                                     void** sharedHandle) {
    auto guard = lock();
    std::string text =
        callText("CreateOffscreenPlainSurface", {std::to_string(width), std::to_string(height),
                                                 D3DNames::format(format), D3DNames::pool(pool)});
    HRESULT hr = planned("CreateOffscreenPlainSurface");
    if (SUCCEEDED(hr)) {
        hr = surface == nullptr ? D3DERR_INVALIDCALL
                                : DeviceRules::checkOffscreenPlainSurface(width, height, format,
                                                                          pool, sharedHandle);
    }
    if (surface != nullptr) {
        *surface = nullptr;
    }
    if (SUCCEEDED(hr)) {
        const D3DSURFACE_DESC desc{format, D3DRTYPE_SURFACE, 0, pool, D3DMULTISAMPLE_NONE, 0, width,
                                   height};
        *surface = make<RecordingSurface>("surf", desc);
        text += " -> " + nameOf(*surface);
    }
    return record("CreateOffscreenPlainSurface", text, hr);
}

HRESULT RecordingDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                            IDirect3DVertexBuffer9** buffer, void** sharedHandle) {
    auto guard = lock();
    std::string text = callText(
        "CreateVertexBuffer",
        {std::to_string(length), D3DNames::usage(usage), D3DNames::fvf(fvf), D3DNames::pool(pool)});
    HRESULT hr = planned("CreateVertexBuffer");
    if (SUCCEEDED(hr)) {
        hr = buffer == nullptr ? D3DERR_INVALIDCALL
                               : DeviceRules::checkVertexBuffer(length, sharedHandle);
    }
    if (buffer != nullptr) {
        *buffer = nullptr;
    }
    if (SUCCEEDED(hr)) {
        const D3DVERTEXBUFFER_DESC desc{
            kVertexDataFormat, D3DRTYPE_VERTEXBUFFER, usage, pool, length, fvf};
        *buffer = make<RecordingVertexBuffer>("vb", desc);
        text += " -> " + nameOf(*buffer);
    }
    return record("CreateVertexBuffer", text, hr);
}

HRESULT RecordingDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                           IDirect3DIndexBuffer9** buffer, void** sharedHandle) {
    auto guard = lock();
    std::string text =
        callText("CreateIndexBuffer", {std::to_string(length), D3DNames::usage(usage),
                                       D3DNames::format(format), D3DNames::pool(pool)});
    HRESULT hr = planned("CreateIndexBuffer");
    if (SUCCEEDED(hr)) {
        hr = buffer == nullptr ? D3DERR_INVALIDCALL
                               : DeviceRules::checkIndexBuffer(length, format, sharedHandle);
    }
    if (buffer != nullptr) {
        *buffer = nullptr;
    }
    if (SUCCEEDED(hr)) {
        const D3DINDEXBUFFER_DESC desc{format, D3DRTYPE_INDEXBUFFER, usage, pool, length};
        *buffer = make<RecordingIndexBuffer>("ib", desc);
        text += " -> " + nameOf(*buffer);
    }
    return record("CreateIndexBuffer", text, hr);
}

HRESULT RecordingDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                                 IDirect3DVertexDeclaration9** declaration) {
    auto guard = lock();
    std::vector<D3DVERTEXELEMENT9> copy;
    bool ended = false;
    // The list must end with D3DDECL_END within MAXD3DDECLLENGTH elements.
    for (UINT i = 0; elements != nullptr && i <= MAXD3DDECLLENGTH && !ended; ++i) {
        copy.push_back(elements[i]);
        ended = elements[i].Stream == 0xFF;
    }
    std::string text =
        callText("CreateVertexDeclaration",
                 {elements ? std::to_string(copy.size() - (ended ? 1 : 0)) + " elements" : "null"});
    HRESULT hr = planned("CreateVertexDeclaration");
    if (SUCCEEDED(hr) && (declaration == nullptr || !ended)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (declaration != nullptr) {
        *declaration = nullptr;
    }
    if (SUCCEEDED(hr)) {
        *declaration = make<RecordingVertexDeclaration>("decl", std::move(copy));
        text += " -> " + nameOf(*declaration);
    }
    return record("CreateVertexDeclaration", text, hr);
}

// ---------------------------------------------------------------------------------------------
// Vertex input and drawing
// ---------------------------------------------------------------------------------------------
HRESULT RecordingDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) {
    auto guard = lock();
    HRESULT hr = planned("SetVertexDeclaration");
    if (SUCCEEDED(hr) && declaration != nullptr && !ours(declaration)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        // One slot for both: whichever of SetFVF and SetVertexDeclaration came last wins.
        declaration_.set(declaration);
        fvf_ = 0;
    }
    return record("SetVertexDeclaration", callText("SetVertexDeclaration", {nameOf(declaration)}),
                  hr);
}

HRESULT RecordingDevice::SetFVF(DWORD fvf) {
    auto guard = lock();
    const HRESULT hr = planned("SetFVF");
    // SetFVF(0) leaves the current declaration alone.
    if (SUCCEEDED(hr) && fvf != 0) {
        declaration_.set(nullptr);
        fvf_ = fvf;
    }
    return record("SetFVF", callText("SetFVF", {D3DNames::fvf(fvf)}), hr);
}

HRESULT RecordingDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                         UINT stride) {
    auto guard = lock();
    HRESULT hr = planned("SetStreamSource");
    if (SUCCEEDED(hr) && (stream >= kStreams || (buffer != nullptr && !ours(buffer)))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        streams_[stream].set(buffer);
        streamOffsets_[stream] = offset;
        streamStrides_[stream] = stride;
    }
    return record("SetStreamSource",
                  callText("SetStreamSource", {std::to_string(stream), nameOf(buffer),
                                               std::to_string(offset), std::to_string(stride)}),
                  hr);
}

HRESULT RecordingDevice::SetIndices(IDirect3DIndexBuffer9* buffer) {
    auto guard = lock();
    HRESULT hr = planned("SetIndices");
    if (SUCCEEDED(hr) && buffer != nullptr && !ours(buffer)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        indices_.set(buffer);
    }
    return record("SetIndices", callText("SetIndices", {nameOf(buffer)}), hr);
}

HRESULT RecordingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount,
                                         const void* vertexData, UINT stride) {
    auto guard = lock();
    HRESULT hr = planned("DrawPrimitiveUP");
    const bool hasInput = declaration_.get() != nullptr || fvf_ != 0;
    if (SUCCEEDED(hr) && (!inScene_ || !validPrimitive(type) || stride == 0 || !hasInput ||
                          (primitiveCount > 0 && vertexData == nullptr))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr) && primitiveCount > 0) {
        RecordedDrawUP draw{type, primitiveCount, stride, vertexCount(type, primitiveCount), {}};
        const auto* bytes = static_cast<const BYTE*>(vertexData);
        draw.data.assign(bytes, bytes + static_cast<std::size_t>(draw.vertexCount) * stride);
        lastDrawUP_ = std::move(draw);
        // The user-memory draw leaves stream 0 unbound.
        streams_[0].set(nullptr);
        streamOffsets_[0] = 0;
        streamStrides_[0] = 0;
    }
    return record(
        "DrawPrimitiveUP",
        callText("DrawPrimitiveUP", {D3DNames::primitive(type), std::to_string(primitiveCount),
                                     "stride " + std::to_string(stride)}),
        hr);
}

HRESULT RecordingDevice::validateIndexedDraw(UINT startIndex, UINT indexCount) const {
    const auto* declaration = static_cast<RecordingVertexDeclaration*>(declaration_.get());
    const auto* indices = static_cast<RecordingIndexBuffer*>(indices_.get());
    if ((declaration == nullptr && fvf_ == 0) || indices == nullptr ||
        std::uint64_t{startIndex} + indexCount > indices->indexCount()) {
        return D3DERR_INVALIDCALL;
    }
    for (WORD stream = 0; stream < kStreams; ++stream) {
        const bool used = declaration ? declaration->usesStream(stream) : stream == 0;
        if (used && (streams_[stream].get() == nullptr || streamStrides_[stream] == 0)) {
            return D3DERR_INVALIDCALL;
        }
    }
    return D3D_OK;
}

HRESULT RecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex,
                                              UINT minVertexIndex, UINT numVertices,
                                              UINT startIndex, UINT primitiveCount) {
    auto guard = lock();
    HRESULT hr = planned("DrawIndexedPrimitive");
    if (SUCCEEDED(hr) && (!inScene_ || !validPrimitive(type))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr) && primitiveCount > 0 && numVertices > 0) {
        hr = validateIndexedDraw(startIndex, vertexCount(type, primitiveCount));
    }
    return record("DrawIndexedPrimitive",
                  callText("DrawIndexedPrimitive",
                           {D3DNames::primitive(type), std::to_string(baseVertexIndex),
                            std::to_string(minVertexIndex), std::to_string(numVertices),
                            std::to_string(startIndex), std::to_string(primitiveCount)}),
                  hr);
}

// ---------------------------------------------------------------------------------------------
// Programs
// ---------------------------------------------------------------------------------------------
HRESULT RecordingDevice::CreateProgram(const char* vertexSource, const char* fragmentSource,
                                       IDirect3DProgram9** program) {
    auto guard = lock();
    std::string text = "CreateProgram()";
    HRESULT hr = planned("CreateProgram");
    if (SUCCEEDED(hr) &&
        (program == nullptr || vertexSource == nullptr || fragmentSource == nullptr)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (program != nullptr) {
        *program = nullptr;
    }
    if (SUCCEEDED(hr)) {
        *program = make<RecordingProgram>("prog", vertexSource, fragmentSource);
        text += " -> " + nameOf(*program);
    }
    return record("CreateProgram", text, hr);
}

HRESULT RecordingDevice::SetProgram(IDirect3DProgram9* program) {
    auto guard = lock();
    HRESULT hr = planned("SetProgram");
    if (SUCCEEDED(hr) && program != nullptr && !ours(program)) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr)) {
        program_.set(program);
    }
    return record("SetProgram", callText("SetProgram", {nameOf(program)}), hr);
}

HRESULT RecordingDevice::GetProgram(IDirect3DProgram9** program) {
    auto guard = lock();
    HRESULT hr = planned("GetProgram");
    if (SUCCEEDED(hr) && program == nullptr) {
        hr = D3DERR_INVALIDCALL;
    }
    if (program != nullptr) {
        *program = SUCCEEDED(hr) ? handOut(program_.get()) : nullptr;
    }
    return record("GetProgram", "GetProgram()", hr, true);
}

template <class Value>
HRESULT RecordingDevice::storeProgramConstant(const char* operation, INT location,
                                              const Value* data, D3DPROGRAMCONSTANTSHAPE shape,
                                              UINT count) {
    auto* program = static_cast<RecordingProgram*>(program_.get());
    const std::optional<std::string> uniform =
        program ? program->uniformName(location) : std::nullopt;
    const bool readable = data != nullptr && count > 0 && validShape(shape);

    std::string text = std::string(operation) + "(";
    if (uniform) {
        text += "\"" + *uniform + "\"";
    } else {
        // A location the current program does not know: name its owner to make the log clear.
        text += std::to_string(location);
        if (location >= 0 && static_cast<std::size_t>(location) < locationOwners_.size()) {
            text += " (" + locationOwners_[static_cast<std::size_t>(location)] + ")";
        }
    }
    text += ", " + shapeText(shape, count);
    std::vector<Value> values;
    if (readable) {
        values.assign(data, data + static_cast<std::size_t>(shape) * count);
        for (const Value value : values) {
            text += ", " + valueText(value);
        }
    }
    text += ")";

    HRESULT hr = planned(operation);
    // Location -1 (a uniform the program does not use) is accepted and ignored, as in GLSL;
    // a location the current program never handed out is a caller's mistake.
    if (SUCCEEDED(hr) && (program == nullptr || !readable || (location != -1 && !uniform))) {
        hr = D3DERR_INVALIDCALL;
    }
    if (SUCCEEDED(hr) && uniform) {
        if constexpr (std::is_same_v<Value, float>) {
            program->storeF(location, values);
            constantsF_[*uniform] = std::move(values);
        } else {
            program->storeI(location, values);
            constantsI_[*uniform] = std::move(values);
        }
    }
    return record(operation, text, hr);
}

HRESULT RecordingDevice::SetProgramConstantF(INT location, const float* data,
                                             D3DPROGRAMCONSTANTSHAPE shape, UINT count) {
    auto guard = lock();
    return storeProgramConstant("SetProgramConstantF", location, data, shape, count);
}

HRESULT RecordingDevice::SetProgramConstantI(INT location, const INT* data,
                                             D3DPROGRAMCONSTANTSHAPE shape, UINT count) {
    auto guard = lock();
    return storeProgramConstant("SetProgramConstantI", location, data, shape, count);
}
