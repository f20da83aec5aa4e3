#include "services/Random.h"

#include <random>

namespace services {
namespace {

// Made as the program starts: see platform/Dpi.cpp.
std::mt19937 generator;

std::mt19937& Generator() {
    return generator;
}

} // namespace

void Randomize(std::uint64_t seed) {
    // Both halves of a clock reading reach the state, not just its low bits.
    std::seed_seq sequence{static_cast<std::uint32_t>(seed),
                           static_cast<std::uint32_t>(seed >> 32)};
    Generator().seed(sequence);
}

std::uint32_t RandomBelow(std::uint32_t bound) {
    return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(Generator());
}

} // namespace services
