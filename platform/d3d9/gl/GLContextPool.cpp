#include "platform/d3d9/gl/GLContextPool.h"

#include <cstdio>

namespace {

SDL_Window* createHomeWindow() {
    return SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1, 1,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

std::unique_ptr<GLContext> createContext(SDL_Window* presentation, bool shareWithCurrent,
                                         std::string* error) {
    const bool ownsHome = !glprofile::kES || presentation == nullptr;
    SDL_Window* home = ownsHome ? createHomeWindow() : presentation;
    if (home == nullptr) {
        *error = std::string("cannot create a window for OpenGL: ") + SDL_GetError();
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, shareWithCurrent ? 1 : 0);
    SDL_GLContext handle = SDL_GL_CreateContext(home);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    if (handle == nullptr) {
        *error = std::string("no OpenGL 4.5 core context: ") + SDL_GetError();
        if (ownsHome) {
            SDL_DestroyWindow(home);
        }
        return nullptr;
    }
    return std::make_unique<GLContext>(home, ownsHome, handle);
}

}  // namespace

std::unique_ptr<GLContextPool> GLContextPool::create(SDL_Window* presentation, std::string* error) {
    std::unique_ptr<GLContextPool> pool(new GLContextPool());
    pool->core_ = std::make_shared<Core>();
    pool->mainThread_ = std::this_thread::get_id();
    auto mainContext = createContext(presentation, false, error);
    if (!mainContext) {
        return nullptr;
    }
    if (!mainContext->makeCurrent() || !glprofile::contextSuitable()) {
        *error = "the OpenGL context is not OpenGL 4.5 core";
        return nullptr;
    }
    pool->core_->contexts.push_back(std::move(mainContext));
    for (int i = 0; i < kWorkers; ++i) {
        auto worker = createContext(nullptr, true, error);
        if (!worker) {
            return nullptr;
        }
        pool->core_->contexts.push_back(std::move(worker));
    }
    pool->core_->taken.assign(pool->core_->contexts.size(), false);
    pool->core_->taken[0] = true;
    pool->main().makeCurrent();
    return pool;
}

// A pool whose creation failed part-way holds no main context (or none at all): there is
// nothing to make un-current then.
GLContextPool::~GLContextPool() {
    if (core_ && !core_->contexts.empty()) {
        SDL_GL_MakeCurrent(main().home(), nullptr);
    }
}

GLContextPool::ThreadSlots& GLContextPool::threadSlots() {
    thread_local ThreadSlots slots;
    return slots;
}

// SDL frees its per-thread data (the current GL context and window, the error text) only for
// threads it started itself; a std::thread that used the device must hand it back here, or it
// is lost when the thread ends.
GLContextPool::ThreadSlots::~ThreadSlots() {
    for (ThreadSlot& slot : slots) {
        if (auto core = slot.core.lock()) {
            SDL_GL_MakeCurrent(slot.context->home(), nullptr);
            core->release(slot.context);
        }
    }
    SDL_TLSCleanup();
}

void GLContextPool::Core::release(GLContext* context) {
    std::lock_guard<std::mutex> lock(mutex);
    for (std::size_t i = 1; i < contexts.size(); ++i) {
        if (contexts[i].get() == context && taken[i]) {
            taken[i] = false;
            --workersInUse;
        }
    }
}

GLContext* GLContextPool::takeWorker() {
    std::lock_guard<std::mutex> lock(core_->mutex);
    for (std::size_t i = 1; i < core_->contexts.size(); ++i) {
        if (!core_->taken[i]) {
            core_->taken[i] = true;
            ++core_->workersInUse;
            return core_->contexts[i].get();
        }
    }
    return nullptr;
}

GLContext* GLContextPool::acquire() {
    GLContext* context = nullptr;
    if (std::this_thread::get_id() == mainThread_) {
        context = &main();
    } else {
        ThreadSlots& slots = threadSlots();
        for (ThreadSlot& slot : slots.slots) {
            if (slot.core.lock() == core_) {
                context = slot.context;
                break;
            }
        }
        if (context == nullptr) {
            context = takeWorker();
            if (context == nullptr) {
                std::fprintf(stderr, "d3d9: more threads use the device than it has contexts\n");
                return nullptr;
            }
            std::erase_if(slots.slots, [](const ThreadSlot& s) { return s.core.expired(); });
            slots.slots.push_back({core_, context});
        }
    }
    if (!context->isCurrent() && !context->makeCurrent()) {
        std::fprintf(stderr, "d3d9: cannot make the OpenGL context current: %s\n", SDL_GetError());
        return nullptr;
    }
    return context;
}
