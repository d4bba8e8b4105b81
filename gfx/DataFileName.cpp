#include "gfx/DataFileName.h"

#include <utility>

#include "gfx/DataFileCache.h"

namespace kelvo {

DataFileName::DataFileName(std::string name) : name_(std::move(name)) {
    preloadDataFile(name_);
}

const DataFileEntry* DataFileName::entry() const {
    return findDataFile(name_);
}

}  // namespace kelvo
