#include "tools/soak/ResidentMemory.h"

#include <malloc.h>

#include <charconv>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>

// The address and thread sanitizers replace malloc with an allocator of their own; glibc's
// counters then see none of the program's blocks, and the sanitizer's own count is the one.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KELVO_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KELVO_SANITIZER_ALLOCATOR 1
#endif
#endif

#if defined(KELVO_SANITIZER_ALLOCATOR)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// The number after "Key:" on its own line ("VmRSS:\t  123456 kB"), or -1.
std::int64_t kilobytesOf(std::string_view status, std::string_view key) {
    std::size_t at = 0;
    while ((at = status.find(key, at)) != std::string_view::npos) {
        const bool lineStart = at == 0 || status[at - 1] == '\n';
        at += key.size();
        if (!lineStart || at >= status.size() || status[at] != ':') {
            continue;
        }
        const std::size_t digits = status.find_first_of("0123456789\n", at);
        if (digits == std::string_view::npos || status[digits] == '\n') {
            return -1;
        }
        std::int64_t value = -1;
        std::from_chars(status.data() + digits, status.data() + status.size(), value);
        return value;
    }
    return -1;
}

}  // namespace

ResidentMemory ResidentMemory::parse(std::string_view status) {
    return {kilobytesOf(status, "VmRSS"), kilobytesOf(status, "VmHWM"), -1};
}

// Every arena's allocated chunks plus the blocks mapped on their own.
std::int64_t ResidentMemory::heapInUseKilobytes() {
#if defined(KELVO_SANITIZER_ALLOCATOR)
    return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes() / 1024);
#elif defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return static_cast<std::int64_t>((info.uordblks + info.hblkhd) / 1024);
#else
    return -1;
#endif
}

ResidentMemory ResidentMemory::ofThisProcess() {
    std::ifstream file("/proc/self/status");
    const std::string status{std::istreambuf_iterator<char>(file), {}};
    ResidentMemory memory = parse(status);
    memory.heapInUseKb = heapInUseKilobytes();
    return memory;
}
