#include "gfx/WorldViewTable.h"

namespace kelvo {

Matrix& WorldViewTable::entry(std::uint32_t key) {
    return entries_.try_emplace(key, Matrix::identity()).first->second;
}

}  // namespace kelvo
