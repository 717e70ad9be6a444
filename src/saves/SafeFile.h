#pragma once
// Saved-game files on disk: a save never destroys the previous file, a load
// reads only regular files and never blocks. Every failure is a FileError.

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

namespace veltrix {

// The system calls the file code makes, so tests can make a disk fill up or
// a folder refuse new files (tests run as root, where permission bits do
// not refuse anything). Calls return like their POSIX namesakes and set
// errno on failure.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual int Open(const char* path, int flags, mode_t mode);
    virtual ssize_t Read(int fd, void* buffer, std::size_t size);
    virtual ssize_t Write(int fd, const void* buffer, std::size_t size);
    virtual int Fsync(int fd);
    virtual int Ftruncate(int fd, off_t size);
    virtual int Fstat(int fd, struct stat* info);
    virtual int Fchmod(int fd, mode_t mode);
    virtual int Fchown(int fd, uid_t owner, gid_t group);
    virtual int Close(int fd);
    virtual int Stat(const char* path, struct stat* info);
    virtual int Lstat(const char* path, struct stat* info);
    virtual ssize_t Readlink(const char* path, char* buffer, std::size_t size);
    virtual int Rename(const char* from, const char* to);
    virtual int Unlink(const char* path);
};

// The real system.
FileSystem& SystemFileSystem();

// Replaces the file at `path` (or the file a symbolic link there names)
// with `bytes` in one step: a hidden temporary file in the same folder is
// written, flushed and renamed over it, keeping the old permission bits.
// When the folder refuses new files but the file itself may be written, it
// is written in place instead.
void SaveFileSafely(const std::string& path, std::string_view bytes, FileSystem& fs = SystemFileSystem());

struct LoadedFile {
    std::string Bytes;
    bool CutShort = false;  // the file went on beyond the limit
};

// Reads at most `limit` bytes of a regular file.
LoadedFile LoadFileSafely(const std::string& path, std::size_t limit, FileSystem& fs = SystemFileSystem());

} // namespace veltrix
