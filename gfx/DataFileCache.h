// The data file cache: each named data file is read into memory once and its bytes are shared
// by everyone who builds textures, effects or meshes from it. Entries are only ever added, and
// stay where they are, so a DataFileEntry pointer is valid for the life of the cache.
//
// Names are matched exactly (case-sensitive, no normalisation): "data\\stars.jpg" and
// "data/stars.jpg" are two entries. On disk the cache tries "data/" + name first, then the name
// itself, each relative to its root (the working directory for the process-wide cache); only
// when opening is a backslash read as the path separator. Where no file has exactly that name,
// the one whose name matches ignoring letter case is read (CaseInsensitiveLookup), as the file
// systems the data was made on find it; the entry still carries the name as asked. A name that
// cannot be opened as a regular file is named on standard error and reported with the message
// box "Couldn't open file!" / "error" and a posted quit request, and gets no entry.
//
// Names found inside data files (a model's texture names) are not the program's own: they go
// through preloadContained, which refuses any name that would reach outside those two folders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "gfx/DataFileEntry.h"

namespace kelvo {

class DataFileCache {
public:
    // root: the directory names are resolved against; empty means the working directory.
    explicit DataFileCache(std::filesystem::path root = {});
    DataFileCache(const DataFileCache&) = delete;
    DataFileCache& operator=(const DataFileCache&) = delete;

    // The process-wide cache (working directory), created on first use and never freed.
    static DataFileCache& instance();

    // Reads the file unless an entry of that name exists.
    void preload(const std::string& name);
    // As preload for a name that stays inside the folders (staysInside); any other name is
    // reported as a file that cannot be opened, without looking at the disk.
    void preloadContained(const std::string& name);
    // The entry of exactly that name, or null.
    const DataFileEntry* find(const std::string& name) const;
    std::size_t entryCount() const;

    // False for names that could reach outside the data folder and the working directory: an
    // absolute path (either separator), a drive letter, a ".." component, or a NUL byte (the
    // name would be cut short when opened).
    static bool staysInside(const std::string& name);

private:
    struct StoredFile {
        DataFileEntry entry;
        std::vector<std::uint8_t> bytes;
    };

    const DataFileEntry* findLocked(const std::string& name) const;
    std::string diskPath(const std::string& relative) const;
    static void reportUnopened(const std::string& name);

    std::filesystem::path root_;
    std::deque<StoredFile> files_;
    mutable std::mutex mutex_;
};

// The process-wide cache's operations, as engine code calls them.
void preloadDataFile(const std::string& name);
void preloadContainedDataFile(const std::string& name);
const DataFileEntry* findDataFile(const std::string& name);

}  // namespace kelvo
