#pragma once
#include <string>

namespace veltrix {

// The error box's text: a full stop is added when the message's last
// character comes after "." in character order.
std::string ErrorBoxText(const std::string& message);

} // namespace veltrix
