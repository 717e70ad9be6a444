#pragma once
// File errors of the save and load commands. The message is the text the
// error box shows; the box adds the full stop.

#include <stdexcept>
#include <string>

namespace veltrix {

class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& text) : std::runtime_error(text) {}
};

inline constexpr const char* TextFileNotFound = "File not found";
inline constexpr const char* TextInvalidFilename = "Invalid filename";
inline constexpr const char* TextTooManyOpenFiles = "Too many open files";
inline constexpr const char* TextFileAccessDenied = "File access denied";
inline constexpr const char* TextReadBeyondEnd = "Read beyond end of file";
inline constexpr const char* TextDiskFull = "Disk full";
inline constexpr const char* TextInvalidNumericInput = "Invalid numeric input";

// What a failing call was doing with the path it named; decides what a
// missing entry or an unusable name means.
enum class PathUse {
    OpenExisting,  // the file itself must be there: ENOENT is "File not found"
    CreateNew,     // only its folder must be there: ENOENT is "Invalid filename"
    Transfer,      // reading, writing, flushing an open file
};

// The one place where system error numbers become the game's texts. The
// game's own codes (2, 3, 5, ...) are never compared with errno values.
std::string FileErrorText(int systemError, PathUse use);

[[noreturn]] void ThrowFileError(int systemError, PathUse use);

} // namespace veltrix
