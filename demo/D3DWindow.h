// The one render window: it owns the Direct3D object, the operating-system window and the
// configuration, creates the device (held by the GraphicsContext), keeps the viewport stack whose
// bottom is the letterboxed picture area, and turns Escape and close requests into its quit flag.
//
// The quit flag starts set and is cleared only once the window exists, so the frame loop cannot
// run without a window. Start-up failures are reported here, with the quit message posted; create
// then answers false and the driver ends the program in order rather than going on without a
// window, a Direct3D object or a device.
//
// Not done here: restoring the display mode or showing the cursor again; both end with the
// process (the operating-system window gives them back when it goes).
#pragma once

#include <memory>

#include "demo/IFrameWindow.h"
#include "demo/WindowConfig.h"
#include "gfx/ViewportStack.h"
#include "platform/d3d9/d3d9.h"
#include "platform/os/IWindowEventListener.h"
#include "platform/os/PlatformWindow.h"

class D3DWindow final : public IFrameWindow, public os::IWindowEventListener {
public:
    static constexpr const char* kReportSource = "demo/D3DWindow";
    // The line the report of a device that could not be created at all names.
    static constexpr int kCreateDeviceLine = 152;
    // Hardware, then software vertex processing; both multithreaded, since the loading screen
    // draws from a second thread while the main thread builds the content.
    static constexpr DWORD kHardwareBehavior =
        D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED;
    static constexpr DWORD kSoftwareBehavior =
        D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED;

    // No window, no Direct3D object, quit set; its viewport stack becomes the current one.
    D3DWindow();
    ~D3DWindow() override;
    D3DWindow(const D3DWindow&) = delete;
    D3DWindow& operator=(const D3DWindow&) = delete;

    // Takes over the caller's reference (null is allowed: device creation then reports it).
    void adoptDirect3D(IDirect3D9* d3d);
    IDirect3D9* direct3D() const { return d3d_; }

    // Copies the configuration, then creates the window and the device. True when both exist.
    bool create(const WindowConfig& config);
    // The steps of create, for callers that take them one at a time.
    void configure(const WindowConfig& config);
    bool createWindow();
    bool createDevice();

    // The presentation of the device for a configuration and window.
    static D3DPRESENT_PARAMETERS presentationParameters(const WindowConfig& config, HWND hwnd);

    HWND hwnd() const { return window_ ? window_->hwnd() : nullptr; }
    os::PlatformWindow* platformWindow() const { return window_.get(); }

    const WindowConfig& config() const override { return config_; }
    bool quitRequested() const override { return quit_; }
    void closeWindow() override;
    void pumpEvents() override;

    D3DVIEWPORT9 defaultViewport() const { return viewports_.defaultViewport(); }
    void pushViewport(const D3DVIEWPORT9& viewport) { viewports_.pushViewport(viewport); }
    void popViewport() { viewports_.popViewport(); }
    kelvo::ViewportStack& viewportStack() { return viewports_; }

    // Both minimise the window and set the quit flag; the loop ends after the current frame.
    void onEscapePressed() override { closeWindow(); }
    void onCloseRequested() override { closeWindow(); }

private:
    IDirect3D9* d3d_ = nullptr;
    std::unique_ptr<os::PlatformWindow> window_;
    WindowConfig config_ = defaultWindowConfig();
    kelvo::ViewportStack viewports_;
    bool quit_ = true;
};

// The render window, set by the driver right after construction and cleared at shutdown.
extern D3DWindow* g_window;
