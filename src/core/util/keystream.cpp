#include "util/keystream.h"

namespace vxl {

void ApplyKeystream(uint8_t* data, size_t length, uint32_t seed) {
    uint32_t state = seed;
    for (size_t i = 0; i < length; ++i) {
        state = state * 22695477u + 1u;
        uint32_t r = (state >> 16) & 0x7FFFu;
        data[i] ^= static_cast<uint8_t>(r % 255u + 1u);
    }
}

}  // namespace vxl
