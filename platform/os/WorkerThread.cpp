#include "platform/os/WorkerThread.h"

#include <system_error>

namespace os {

WorkerThread::~WorkerThread() {
    join();
}

bool WorkerThread::start(std::function<void()> body) {
    if (thread_.joinable() || !body) {
        return false;
    }
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    // A browser page without shared-memory threads has only its main thread.
    return false;
#endif
    try {
        thread_ = std::thread(std::move(body));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void WorkerThread::join() {
    if (!thread_.joinable()) {
        return;
    }
    // A thread cannot wait for itself (std::thread would throw); when the body ends its own
    // WorkerThread, let it finish on its own.
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
        return;
    }
    thread_.join();
}

}  // namespace os
