// Data file names from untrusted bytes (the model's materials name the textures it wants): the
// data file cache must read a file, or report it missing, for any name, in a directory of its own.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "gfx/DataFileCache.h"
#include "platform/os/MessageBoxCapture.h"

namespace {

std::filesystem::path fuzzRoot() {
    static const std::filesystem::path root = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvo-fuzz-XXXXXX").string();
        std::filesystem::path made = mkdtemp(pattern.data());
        std::filesystem::create_directories(made / "data" / "sub");
        std::ofstream(made / "data" / "a.jpg") << "bytes";
        std::ofstream(made / "data" / "sub" / "b.fxo") << "more bytes";
        std::ofstream(made / "plain.png") << "";
        return made;
    }();
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    os::MessageBoxCapture boxes;
    kelvo::DataFileCache cache(fuzzRoot());
    const std::string name(reinterpret_cast<const char*>(data), size);
    cache.preload(name);
    cache.preload(name);
    const kelvo::DataFileEntry* entry = cache.find(name);
    if (entry != nullptr && (entry->name != name || entry->data == nullptr)) {
        __builtin_trap();
    }
    // A name that cannot be read is reported at each attempt; one that can, never.
    const std::size_t reports = entry == nullptr ? 2 : 0;
    if (boxes.count() != reports || cache.entryCount() > 1) {
        __builtin_trap();
    }
    return 0;
}
