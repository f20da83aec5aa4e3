#pragma once

#include <cstdint>

namespace services {

// The program's pseudo-random generator, seeded once at start-up.
void Randomize(std::uint64_t seed);

// A value drawn uniformly from 0 to bound - 1.
std::uint32_t RandomBelow(std::uint32_t bound);

} // namespace services
