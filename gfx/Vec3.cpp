#include "gfx/Vec3.h"

#include <cmath>

namespace kelvo {

float length(const Vec3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

Vec3 normalize(const Vec3& v) {
    const float len = length(v);
    if (len == 0.0f) {
        return v;
    }
    return {v.x / len, v.y / len, v.z / len};
}

}  // namespace kelvo
