// The device's GL contexts: the main context (the thread that created the device) and a few
// worker contexts sharing its objects, one per other thread that calls the device. A thread
// takes a worker on its first call and gives it back when it ends.
//
// Workers are created up front on the creating thread, because SDL shares a new context only
// with the context current on the creating thread, and the main context cannot be current on
// two threads at once.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/d3d9/gl/GLContext.h"

class GLContextPool {
public:
    // A browser page has one WebGL context, on its canvas, and one thread.
    static constexpr int kWorkers = glprofile::kES ? 0 : 2;

    // Creates the contexts; the main one is left current. Null with `error` set on failure.
    // On ES the main context lives on `presentation` (the canvas) itself; elsewhere every
    // context has a hidden window of its own.
    static std::unique_ptr<GLContextPool> create(SDL_Window* presentation, std::string* error);
    ~GLContextPool();

    // The calling thread's context, made current; null when every worker is taken.
    GLContext* acquire();
    GLContext& main() { return *core_->contexts.front(); }
    // True while a worker is in use: writes to shared objects are then flushed at once, so the
    // other context sees them.
    bool shared() const { return core_->workersInUse > 0; }

private:
    struct Core {
        std::mutex mutex;
        std::vector<std::unique_ptr<GLContext>> contexts;  // [0] is the main context
        std::vector<bool> taken;
        int workersInUse = 0;
        void release(GLContext* context);
    };
    struct ThreadSlot {
        std::weak_ptr<Core> core;
        GLContext* context;
    };
    struct ThreadSlots {
        std::vector<ThreadSlot> slots;
        ~ThreadSlots();
    };
    static ThreadSlots& threadSlots();

    GLContextPool() = default;
    GLContext* takeWorker();

    std::shared_ptr<Core> core_;
    std::thread::id mainThread_;
};
