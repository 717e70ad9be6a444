#include "game/ErrorText.h"

namespace veltrix {

std::string ErrorBoxText(const std::string& message) {
    // Bytes compare unsigned, so a message ending in a multi-byte character
    // (every UTF-8 byte of one is above ".") gets its full stop too.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

} // namespace veltrix
