// Per-object world-view matrices of a scene, keyed by object key. Looking up a key the table
// does not hold inserts the identity for it, so a new object's velocity starts at zero.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "gfx/Matrix.h"

namespace kelvo {

class WorldViewTable {
public:
    // The entry of key, inserted as the identity when missing.
    Matrix& entry(std::uint32_t key);
    bool contains(std::uint32_t key) const { return entries_.count(key) != 0; }
    std::size_t size() const { return entries_.size(); }

private:
    std::unordered_map<std::uint32_t, Matrix> entries_;
};

}  // namespace kelvo
