#include "saves/SafeFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

#include "saves/FileError.h"

namespace veltrix {

int FileSystem::Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t FileSystem::Read(int fd, void* buffer, std::size_t size) { return ::read(fd, buffer, size); }
ssize_t FileSystem::Write(int fd, const void* buffer, std::size_t size) { return ::write(fd, buffer, size); }
int FileSystem::Fsync(int fd) { return ::fsync(fd); }
int FileSystem::Ftruncate(int fd, off_t size) { return ::ftruncate(fd, size); }
int FileSystem::Fstat(int fd, struct stat* info) { return ::fstat(fd, info); }
int FileSystem::Fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int FileSystem::Fchown(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); }
int FileSystem::Close(int fd) { return ::close(fd); }
int FileSystem::Stat(const char* path, struct stat* info) { return ::stat(path, info); }
int FileSystem::Lstat(const char* path, struct stat* info) { return ::lstat(path, info); }
ssize_t FileSystem::Readlink(const char* path, char* buffer, std::size_t size) {
    return ::readlink(path, buffer, size);
}
int FileSystem::Rename(const char* from, const char* to) { return ::rename(from, to); }
int FileSystem::Unlink(const char* path) { return ::unlink(path); }

FileSystem& SystemFileSystem() {
    static FileSystem system;
    return system;
}

namespace {

constexpr int MaxLinkHops = 40;
constexpr std::size_t TempStemLimit = 64;

// Closes on every way out; a failing close is checked where it matters.
class Descriptor {
public:
    Descriptor(FileSystem& fs, int fd) : fs_(fs), fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) fs_.Close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    FileSystem& fs_;
    int fd_;
};

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void CheckName(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) throw FileError(TextInvalidFilename);
}

struct Target {
    std::string Path;
    bool Exists = false;
    struct stat Info {};
};

// Follows symbolic links to the file they name, which need not exist yet.
Target ResolveTarget(const std::string& path, FileSystem& fs) {
    Target target;
    target.Path = path;
    for (int hops = 0;; ++hops) {
        if (fs.Lstat(target.Path.c_str(), &target.Info) != 0) {
            if (errno == ENOENT) return target;  // a missing folder shows when creating
            ThrowFileError(errno, PathUse::CreateNew);
        }
        if (!S_ISLNK(target.Info.st_mode)) {
            target.Exists = true;
            return target;
        }
        if (hops >= MaxLinkHops) ThrowFileError(ELOOP, PathUse::CreateNew);
        char buffer[4096];
        const ssize_t size = fs.Readlink(target.Path.c_str(), buffer, sizeof buffer);
        if (size < 0) ThrowFileError(errno, PathUse::CreateNew);
        if (static_cast<std::size_t>(size) >= sizeof buffer) ThrowFileError(ENAMETOOLONG, PathUse::CreateNew);
        std::string link(buffer, static_cast<std::size_t>(size));
        if (link.empty()) ThrowFileError(ENOENT, PathUse::CreateNew);
        target.Path = link.front() == '/' ? link : FolderOf(target.Path) + "/" + link;
    }
}

void WriteAll(FileSystem& fs, int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = fs.Write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            ThrowFileError(errno, PathUse::Transfer);
        }
        if (written == 0) ThrowFileError(ENOSPC, PathUse::Transfer);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string TempName(const std::string& folder, const std::string& name) {
    static std::random_device device;
    char tag[16];
    std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(device()));
    // Hidden and not ending in the game's extension, so a crash leaves
    // nothing that looks like a saved game.
    return folder + "/." + name.substr(0, TempStemLimit) + "." + tag + ".tmp";
}

void FlushFolder(FileSystem& fs, const std::string& folder) {
    const int fd = fs.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return;  // the rename is done; nothing more can be made safer
    Descriptor dir(fs, fd);
    if (fs.Fsync(fd) != 0 && errno != EINVAL && errno != EROFS) ThrowFileError(errno, PathUse::Transfer);
}

// The folder takes no new files: overwrite the old bytes first and cut the
// tail afterwards, so the file needs no more room than it had.
void WriteInPlace(FileSystem& fs, Descriptor& file, std::string_view bytes) {
    WriteAll(fs, file.Get(), bytes);
    if (fs.Ftruncate(file.Get(), static_cast<off_t>(bytes.size())) != 0) ThrowFileError(errno, PathUse::Transfer);
    if (fs.Fsync(file.Get()) != 0) ThrowFileError(errno, PathUse::Transfer);
    if (fs.Close(file.Release()) != 0) ThrowFileError(errno, PathUse::Transfer);
}

} // namespace

void SaveFileSafely(const std::string& path, std::string_view bytes, FileSystem& fs) {
    CheckName(path);
    const Target target = ResolveTarget(path, fs);
    int oldFd = -1;
    if (target.Exists) {
        if (!S_ISREG(target.Info.st_mode)) ThrowFileError(EISDIR, PathUse::OpenExisting);
        // A file the player may not write stays refused, whatever its folder
        // allows; opening without truncation leaves it as it is.
        oldFd = fs.Open(target.Path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
        if (oldFd < 0) ThrowFileError(errno, PathUse::OpenExisting);
    }
    Descriptor old(fs, oldFd);

    const std::string folder = FolderOf(target.Path);
    std::string tempPath;
    int tempFd = -1;
    for (int attempt = 0; attempt < 16 && tempFd < 0; ++attempt) {
        tempPath = TempName(folder, NameOf(target.Path));
        tempFd = fs.Open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (tempFd < 0 && errno != EEXIST) break;
    }
    if (tempFd < 0) {
        const int error = errno;
        if (old.Get() >= 0 && (error == EACCES || error == EPERM)) {
            WriteInPlace(fs, old, bytes);
            return;
        }
        ThrowFileError(error, PathUse::CreateNew);
    }

    Descriptor temp(fs, tempFd);
    try {
        WriteAll(fs, temp.Get(), bytes);
        if (target.Exists) {
            // Owner first: changing it may clear set-id bits.
            if (target.Info.st_uid != geteuid() || target.Info.st_gid != getegid())
                (void)fs.Fchown(temp.Get(), target.Info.st_uid, target.Info.st_gid);
            if (fs.Fchmod(temp.Get(), target.Info.st_mode & 07777) != 0) ThrowFileError(errno, PathUse::Transfer);
        }
        if (fs.Fsync(temp.Get()) != 0) ThrowFileError(errno, PathUse::Transfer);
        if (fs.Close(temp.Release()) != 0) ThrowFileError(errno, PathUse::Transfer);
        if (fs.Rename(tempPath.c_str(), target.Path.c_str()) != 0) ThrowFileError(errno, PathUse::CreateNew);
    } catch (...) {
        fs.Unlink(tempPath.c_str());
        throw;
    }
    FlushFolder(fs, folder);
}

LoadedFile LoadFileSafely(const std::string& path, std::size_t limit, FileSystem& fs) {
    CheckName(path);
    // Without blocking: a FIFO with no writer would otherwise hang the game
    // before the check below could refuse it.
    const int fd = fs.Open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0) {
        const int error = errno;
        struct stat folder {};
        if (error == ENOENT &&
            (fs.Stat(FolderOf(path).c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)))
            throw FileError(TextInvalidFilename);
        ThrowFileError(error, PathUse::OpenExisting);
    }
    Descriptor file(fs, fd);
    struct stat info {};
    if (fs.Fstat(fd, &info) != 0) ThrowFileError(errno, PathUse::Transfer);
    if (!S_ISREG(info.st_mode)) throw FileError(TextFileAccessDenied);

    LoadedFile loaded;
    loaded.Bytes.resize(limit + 1);
    std::size_t filled = 0;
    while (filled < loaded.Bytes.size()) {
        const ssize_t got = fs.Read(fd, loaded.Bytes.data() + filled, loaded.Bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            ThrowFileError(errno, PathUse::Transfer);
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    loaded.CutShort = filled > limit;
    loaded.Bytes.resize(filled > limit ? limit : filled);
    if (fs.Close(file.Release()) != 0) ThrowFileError(errno, PathUse::Transfer);
    return loaded;
}

} // namespace veltrix
