// The resident memory of this process as the kernel reports it in /proc/self/status: VmRSS (what
// is resident now) and VmHWM (the most that ever was); beside it, what the C library's allocator
// has handed out and not yet taken back, which tells a leak (both grow) from an allocator that
// keeps freed memory resident (only the resident size grows).
#pragma once

#include <cstdint>
#include <string_view>

struct ResidentMemory {
    // Kilobytes; -1 where the status text lacks the line.
    std::int64_t residentKb = -1;
    std::int64_t peakKb = -1;
    std::int64_t heapInUseKb = -1;

    static ResidentMemory parse(std::string_view status);
    // -1 for what cannot be read.
    static ResidentMemory ofThisProcess();
    static std::int64_t heapInUseKilobytes();
};
