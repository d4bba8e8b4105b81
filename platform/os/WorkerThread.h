// A second thread running one function, owned by whoever started it: the loading screen starts
// its drawing thread here and joins it once the content exists, so the thread has stopped
// issuing device calls before the frame loop draws its first frame.
//
// Destruction joins a running thread rather than abandoning it (an abandoned std::thread ends
// the process). The function must therefore come to an end by itself; WorkerThread has no way to
// interrupt it.
#pragma once

#include <functional>
#include <thread>

namespace os {

class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs `body` on a new thread at once. False, and nothing runs, when a thread started here
    // has not been joined yet or the system refuses a new thread.
    bool start(std::function<void()> body);

    // Waits for the thread to finish; returns at once when none is running.
    void join();

    // True from a successful start() until join().
    bool started() const { return thread_.joinable(); }

private:
    std::thread thread_;
};

}  // namespace os
