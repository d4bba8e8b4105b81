#include "gfx/FatalError.h"

#include <cstdio>
#include <mutex>

#include "platform/os/MessageBox.h"

namespace kelvo {

namespace {

// The message is formatted into one process-wide buffer; the lock keeps a report from the
// loading thread from overwriting one being shown by the main thread.
char fatalErrorText[1024];
std::mutex fatalErrorMutex;

}  // namespace

void fatalError(int code) {
    std::lock_guard lock(fatalErrorMutex);
    std::snprintf(fatalErrorText, sizeof fatalErrorText, "Unexpected fatal error(#%d).", code);
    os::showMessageBox(fatalErrorText, "Kelvo error");
}

}  // namespace kelvo
