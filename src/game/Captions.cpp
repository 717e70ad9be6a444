#include "game/Captions.h"

namespace veltrix {

std::string StartCaption() {
    return "Veltrix(多媒体版)    得分:0    第1关";
}

std::string RunningCaption(std::int32_t score, std::uint8_t level) {
    return "Veltrix(DirectX版)    得分：" + std::to_string(score) + "    第" +
           std::to_string(static_cast<unsigned>(level)) + "关";
}

} // namespace veltrix
