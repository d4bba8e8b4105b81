#include "demo/D3DWindow.h"

#include "gfx/GraphicsContext.h"
#include "gfx/HrCheck.h"
#include "platform/os/MessageBox.h"
#include "platform/os/QuitRequest.h"
#include "platform/os/WindowEventPump.h"

D3DWindow* g_window = nullptr;

namespace {

IDirect3DDevice9* contextDevice() {
    return kelvo::GraphicsContext::instance().device;
}

}  // namespace

D3DWindow::D3DWindow() : viewports_(&contextDevice) {
    configure(config_);
    kelvo::ViewportStack::makeCurrent(&viewports_);
}

D3DWindow::~D3DWindow() {
    quit_ = true;
    if (d3d_ != nullptr) {
        d3d_->Release();
    }
}

void D3DWindow::adoptDirect3D(IDirect3D9* d3d) {
    if (d3d_ != nullptr) {
        d3d_->Release();
    }
    d3d_ = d3d;
}

bool D3DWindow::create(const WindowConfig& config) {
    configure(config);
    return createWindow() && createDevice();
}

void D3DWindow::configure(const WindowConfig& config) {
    config_ = config;
    viewports_.setBackBuffer(static_cast<std::uint32_t>(config_.width),
                             static_cast<std::uint32_t>(config_.height), config_.aspect);
}

bool D3DWindow::createWindow() {
    os::PlatformWindow::Opening opening = os::PlatformWindow::open(
        {config_.caption, config_.width, config_.height, config_.fullscreen});
    if (opening.fullscreenRefused) {
        // The configuration keeps asking for full screen: the device is still made full-screen.
        os::showMessageBox("Couldn't change display-settings, fallback to windowed.", "warning");
    }
    if (!opening.window) {
        os::showMessageBox("Creating window failed.", "error");
        os::postQuitMessage(0);
        return false;
    }
    window_ = std::move(opening.window);
    quit_ = false;
    return true;
}

D3DPRESENT_PARAMETERS D3DWindow::presentationParameters(const WindowConfig& config, HWND hwnd) {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = static_cast<UINT>(config.width);
    parameters.BackBufferHeight = static_cast<UINT>(config.height);
    parameters.BackBufferFormat = config.fullscreen ? D3DFMT_A8R8G8B8 : D3DFMT_UNKNOWN;
    parameters.BackBufferCount = 1;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters.MultiSampleQuality = 0;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = hwnd;
    parameters.Windowed = config.fullscreen ? FALSE : TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24S8;
    parameters.Flags = 0;
    parameters.FullScreen_RefreshRateInHz = 0;
    parameters.PresentationInterval = 0;
    return parameters;
}

bool D3DWindow::createDevice() {
    if (d3d_ == nullptr) {
        os::showMessageBox("Direct3DCreate9 failed!", "error");
        os::postQuitMessage(0);
        quit_ = true;
        return false;
    }
    kelvo::GraphicsContext& context = kelvo::GraphicsContext::instance();
    // Each attempt gets the parameters afresh: CreateDevice may write defaults back into them.
    D3DPRESENT_PARAMETERS parameters = presentationParameters(config_, hwnd());
    HRESULT hr = d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hwnd(), kHardwareBehavior,
                                    &parameters, &context.device);
    if (FAILED(hr)) {
        parameters = presentationParameters(config_, hwnd());
        hr = d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hwnd(), kSoftwareBehavior,
                                &parameters, &context.device);
    }
    HR_CHECK(kReportSource, kCreateDeviceLine, hr);
    if (FAILED(hr) || context.device == nullptr) {
        context.device = nullptr;
        quit_ = true;
        return false;
    }
    return true;
}

void D3DWindow::closeWindow() {
    if (window_) {
        window_->minimise();
    }
    quit_ = true;
}

void D3DWindow::pumpEvents() {
    if (window_) {
        os::WindowEventPump(window_->id()).pump(*this);
    }
}
