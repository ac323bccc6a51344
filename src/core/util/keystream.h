// The keystream that scrambles channel-table files and firmware upgrade files. Scrambling and
// unscrambling are the same operation; each file starts the generator from the same seed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vxl {

constexpr uint32_t kKeystreamSeed = 0x4E6F7276u;

// XORs every byte with the next keystream byte ((r mod 255) + 1, never 0), the generator
// restarted from `seed`.
void ApplyKeystream(uint8_t* data, size_t length, uint32_t seed = kKeystreamSeed);

}  // namespace vxl
