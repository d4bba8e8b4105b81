#include "platform/sound/AlsaMessages.h"

#include <dlfcn.h>

namespace sound {
namespace {

// ALSA's snd_lib_error_handler_t and snd_lib_error_set_handler, declared here so the build needs
// no ALSA headers: the library is only ever reached at run time, as SDL reaches it.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                                  const char* format, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler handler);

void discard(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

bool discardAlsaMessages() {
    // Never closed: the handler must outlive every use of the library by SDL.
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (library == nullptr) {
        return false;
    }
    auto setHandler =
        reinterpret_cast<AlsaSetErrorHandler>(dlsym(library, "snd_lib_error_set_handler"));
    return setHandler != nullptr && setHandler(&discard) == 0;
}

}  // namespace sound
