#pragma once
#include <string>

namespace veltrix {

// Source with every "$V$" (any letter case) replaced by Version. Never
// throws: should anything go wrong, Source comes back as it was.
std::string ReplaceVersionTag(const std::string& Source, const std::string& Version) noexcept;

} // namespace veltrix
