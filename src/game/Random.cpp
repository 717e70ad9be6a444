#include "game/Random.h"

#include <chrono>

namespace veltrix {

std::uint64_t SeededRandom::ClockSeed() {
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

int SeededRandom::Next(int range) {
    if (range <= 1) return 0;
    return std::uniform_int_distribution<int>(0, range - 1)(engine_);
}

} // namespace veltrix
