#include "saves/FileError.h"

#include <cerrno>

namespace veltrix {

std::string FileErrorText(int systemError, PathUse use) {
    const bool naming = use != PathUse::Transfer;
    switch (systemError) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return TextFileAccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return TextDiskFull;
    case EMFILE:
    case ENFILE:
        return TextTooManyOpenFiles;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return TextInvalidFilename;
    case ENOENT:
        if (use == PathUse::OpenExisting) return TextFileNotFound;
        if (use == PathUse::CreateNew) return TextInvalidFilename;
        break;
    case EINVAL:
    case EILSEQ:
        // A name the file system cannot hold.
        if (naming) return TextInvalidFilename;
        break;
    default:
        break;
    }
    return "I/O error " + std::to_string(systemError);
}

void ThrowFileError(int systemError, PathUse use) {
    throw FileError(FileErrorText(systemError, use));
}

} // namespace veltrix
