#pragma once
#include <cstdint>
#include <string>

namespace veltrix {

// Shown at start and by a new game; fixed text with an ASCII colon.
std::string StartCaption();
// Shown after food is eaten and after a level advance; full-width colon.
std::string RunningCaption(std::int32_t score, std::uint8_t level);

} // namespace veltrix
