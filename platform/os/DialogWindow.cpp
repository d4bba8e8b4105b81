#include "platform/os/DialogWindow.h"

#include <SDL2/SDL.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>

#include "platform/os/VideoSystem.h"

namespace os {
namespace {

// A core 3.3 context is what ImGui's OpenGL3 renderer needs; every GL driver of a machine that
// can run the show offers it.
constexpr const char* kGlslVersion = "#version 330 core";
constexpr unsigned kClearBufferBit = 0x00004000;  // GL_COLOR_BUFFER_BIT

SDL_GLContext createContext(SDL_Window* window) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    // The render window's device asks for its own context later; it must find SDL's defaults.
    SDL_GL_ResetAttributes();
    return context;
}

// The two GL calls the frame needs besides ImGui's renderer, which loads its own.
void clearFrame() {
    using ClearColor = void (*)(float, float, float, float);
    using Clear = void (*)(unsigned);
    static const auto clearColor =
        reinterpret_cast<ClearColor>(SDL_GL_GetProcAddress("glClearColor"));
    static const auto clear = reinterpret_cast<Clear>(SDL_GL_GetProcAddress("glClear"));
    if (clearColor != nullptr && clear != nullptr) {
        const ImVec4 background = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
        clearColor(background.x, background.y, background.z, 1.0f);
        clear(kClearBufferBit);
    }
}

}  // namespace

DialogWindow::Opening DialogWindow::open(const Settings& settings) {
    Opening opening;
    if (!VideoSystem::start(&opening.error)) {
        return opening;
    }
    SDL_Window* window =
        SDL_CreateWindow(settings.title.c_str(), settings.x, settings.y, settings.width,
                         settings.height, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (window == nullptr) {
        opening.error = std::string("cannot open the dialog window: ") + SDL_GetError();
        return opening;
    }
    SDL_GLContext context = createContext(window);
    if (context == nullptr) {
        opening.error = std::string("no OpenGL context for the dialog: ") + SDL_GetError();
        SDL_DestroyWindow(window);
        return opening;
    }
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(1);

    ImGuiContext* imgui = ImGui::CreateContext();
    ImGui::SetCurrentContext(imgui);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    ImGui_ImplSDL2_InitForOpenGL(window, context);
    // Constructed here so that a failed renderer start is undone by the destructor.
    opening.window.reset(new DialogWindow(window, context, imgui));
    if (!ImGui_ImplOpenGL3_Init(kGlslVersion)) {
        opening.window.reset();
        opening.error = "the dialog's OpenGL renderer could not start";
        return opening;
    }
    // Without a window manager nobody else gives the new window the keyboard.
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window);
    return opening;
}

DialogWindow::DialogWindow(SDL_Window* window, SDL_GLContext context, ImGuiContext* imgui)
    : window_(window), context_(context), imgui_(imgui) {}

DialogWindow::~DialogWindow() {
    ImGui::SetCurrentContext(imgui_);
    SDL_GL_MakeCurrent(window_, context_);
    if (ImGui::GetIO().BackendRendererUserData != nullptr) {
        ImGui_ImplOpenGL3_Shutdown();
    }
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext(imgui_);
    SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(context_);
    SDL_DestroyWindow(window_);
    // The dialog was the program's only window: whatever is still queued (the key that ended
    // it, a close request) belonged to it and must not reach the render window.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void DialogWindow::pumpEvents(IDialogEventListener& listener) {
    ImGui::SetCurrentContext(imgui_);
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        ImGui_ImplSDL2_ProcessEvent(&event);
        if (const std::optional<DialogKey> key = dialogKeyOf(event)) {
            listener.onKey(*key);
        } else if (event.type == SDL_QUIT ||
                   (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE &&
                    event.window.windowID == id())) {
            listener.onCloseRequested();
        }
    }
}

void DialogWindow::beginFrame() {
    ImGui::SetCurrentContext(imgui_);
    SDL_GL_MakeCurrent(window_, context_);
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
}

void DialogWindow::endFrame() {
    ImGui::Render();
    clearFrame();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    SDL_GL_SwapWindow(window_);
}

std::uint32_t DialogWindow::id() const {
    return SDL_GetWindowID(window_);
}

}  // namespace os
