#include "about/UPub_Version.h"

namespace veltrix {

std::string ReplaceVersionTag(const std::string& Source, const std::string& Version) noexcept {
    try {
        std::string result;
        result.reserve(Source.size());
        std::size_t i = 0;
        while (i < Source.size()) {
            // Bytes of multi-byte characters are all >= 0x80, so they never
            // match '$' or 'v' and the scan is safe on UTF-8 text.
            if (i + 3 <= Source.size() && Source[i] == '$' && (Source[i + 1] == 'V' || Source[i + 1] == 'v') &&
                Source[i + 2] == '$') {
                result += Version;
                i += 3;
            } else {
                result += Source[i];
                ++i;
            }
        }
        return result;
    } catch (...) {
        try {
            return Source;
        } catch (...) {
            // Not even a copy could be made; nothing sensible is left to return.
            return {};
        }
    }
}

} // namespace veltrix
