// A data file's name whose declaration preloads the file into the process-wide cache, so the
// file is read when the object holding the name is built, not when it first draws.
#pragma once

#include <string>

#include "gfx/DataFileEntry.h"

namespace kelvo {

class DataFileName {
public:
    explicit DataFileName(std::string name);

    const std::string& str() const { return name_; }
    const char* c_str() const { return name_.c_str(); }
    operator const std::string&() const { return name_; }

    // The cached file, or null when it could not be read.
    const DataFileEntry* entry() const;

private:
    std::string name_;
};

}  // namespace kelvo
