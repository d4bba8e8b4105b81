#include "gfx/DataFileCache.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <optional>
#include <utility>

#include "platform/os/CaseInsensitiveLookup.h"
#include "platform/os/MessageBox.h"
#include "platform/os/QuitRequest.h"

namespace kelvo {

namespace {

// Stands in for the bytes of an empty file, so that data is never null.
const std::uint8_t noBytes[1] = {0};

std::string withSlashes(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

bool isRegularFile(std::FILE* file) {
    struct stat info {};
    return fstat(fileno(file), &info) == 0 && !S_ISDIR(info.st_mode);
}

// The size measured by seeking is only a first guess: reading goes on to the end of the stream
// and the entry keeps exactly the bytes read, so a file that shrinks, a pipe or a read error
// never leaves bytes in the entry that did not come from the file.
std::size_t measuredSize(std::FILE* file) {
    std::size_t size = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long end = std::ftell(file);
        size = end > 0 ? static_cast<std::size_t>(end) : 0;
    }
    std::fseek(file, 0, SEEK_SET);
    return size;
}

std::vector<std::uint8_t> readAll(std::FILE* file) {
    constexpr std::size_t limit = std::numeric_limits<std::uint32_t>::max();
    constexpr std::size_t chunk = 64 * 1024;
    std::size_t wanted = std::clamp<std::size_t>(measuredSize(file), chunk, limit);
    std::vector<std::uint8_t> bytes;
    std::size_t used = 0;
    while (wanted > 0) {
        bytes.resize(used + wanted);
        const std::size_t got = std::fread(bytes.data() + used, 1, wanted, file);
        used += got;
        if (got < wanted) {
            break;
        }
        wanted = std::min(chunk, limit - used);
    }
    bytes.resize(used);
    bytes.shrink_to_fit();
    return bytes;
}

std::optional<std::vector<std::uint8_t>> readFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> bytes;
    if (isRegularFile(file)) {
        bytes = readAll(file);
    }
    std::fclose(file);
    return bytes;
}

// The data was made where file names ignore letter case: when no file has exactly this name,
// the one that matches it ignoring case is read instead. A file that exists but cannot be read
// is not replaced by another one.
std::optional<std::vector<std::uint8_t>> readFileAnyCase(const std::string& path) {
    errno = 0;
    auto bytes = readFile(path);
    if (bytes || (errno != ENOENT && errno != ENOTDIR)) {
        return bytes;
    }
    const auto onDisk = os::CaseInsensitiveLookup::resolve(path);
    return onDisk ? readFile(*onDisk) : std::nullopt;
}

// Names come from data files too: bytes that would garble the terminal are shown as '?'.
std::string printable(std::string name) {
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return std::isprint(static_cast<unsigned char>(c)) == 0; }, '?');
    return name;
}

// "C:\\art\\x.png" and "c:x.png" both name a file on some drive, wherever the program is.
bool hasDriveLetter(const std::string& name) {
    return name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) != 0 &&
           name[1] == ':';
}

bool hasParentComponent(const std::string& name) {
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find_first_of("/\\", start), name.size());
        if (name.compare(start, end - start, "..") == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

DataFileCache::DataFileCache(std::filesystem::path root) : root_(std::move(root)) {}

DataFileCache& DataFileCache::instance() {
    static DataFileCache* cache = new DataFileCache();
    return *cache;
}

std::string DataFileCache::diskPath(const std::string& relative) const {
    const std::string path = withSlashes(relative);
    return root_.empty() ? path : (root_ / path).string();
}

void DataFileCache::preload(const std::string& name) {
    {
        std::lock_guard lock(mutex_);
        if (findLocked(name) != nullptr) {
            return;
        }
    }
    auto bytes = readFileAnyCase(diskPath("data/" + name));
    if (!bytes) {
        bytes = readFileAnyCase(diskPath(name));
    }
    if (!bytes) {
        reportUnopened(name);
        return;
    }
    std::lock_guard lock(mutex_);
    if (findLocked(name) != nullptr) {
        return;
    }
    StoredFile& stored = files_.emplace_back();
    stored.bytes = std::move(*bytes);
    stored.entry.name = name;
    stored.entry.data = stored.bytes.empty() ? noBytes : stored.bytes.data();
    stored.entry.size = static_cast<std::uint32_t>(stored.bytes.size());
}

void DataFileCache::preloadContained(const std::string& name) {
    if (staysInside(name)) {
        preload(name);
    } else {
        reportUnopened(name);
    }
}

void DataFileCache::reportUnopened(const std::string& name) {
    std::fprintf(stderr, "data file not found: \"%s\"\n", printable(name).c_str());
    os::showMessageBox("Couldn't open file!", "error");
    os::postQuitMessage(0);
}

bool DataFileCache::staysInside(const std::string& name) {
    const bool absolute = name.starts_with('/') || name.starts_with('\\');
    return !absolute && !hasDriveLetter(name) && !hasParentComponent(name) &&
           name.find('\0') == std::string::npos;
}

const DataFileEntry* DataFileCache::find(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return findLocked(name);
}

const DataFileEntry* DataFileCache::findLocked(const std::string& name) const {
    for (const StoredFile& stored : files_) {
        if (stored.entry.name == name) {
            return &stored.entry;
        }
    }
    return nullptr;
}

std::size_t DataFileCache::entryCount() const {
    std::lock_guard lock(mutex_);
    return files_.size();
}

void preloadDataFile(const std::string& name) {
    DataFileCache::instance().preload(name);
}

void preloadContainedDataFile(const std::string& name) {
    DataFileCache::instance().preloadContained(name);
}

const DataFileEntry* findDataFile(const std::string& name) {
    return DataFileCache::instance().find(name);
}

}  // namespace kelvo
