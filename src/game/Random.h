#pragma once
#include <cstdint>
#include <random>

#include "game/Interfaces.h"

namespace veltrix {

class SeededRandom final : public RandomInterface {
public:
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
    // Seeded from the clock, as the game does at start.
    static std::uint64_t ClockSeed();
    int Next(int range) override;

private:
    std::mt19937_64 engine_;
};

} // namespace veltrix
