#pragma once
// A scratch folder per test and a file system whose calls can be made to fail
// (the tests run as root, where permission bits refuse nothing).

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <sys/stat.h>

#include "saves/SafeFile.h"

namespace veltrix::testing {

struct FaultyFileSystem : FileSystem {
    int openError = 0;       // every open
    int createError = 0;     // opens that would create a file
    int openWriteError = 0;  // opening an existing file for writing
    int writeError = 0;
    std::size_t writeAllowance = SIZE_MAX;  // bytes written before writeError strikes
    int fsyncError = 0;
    int renameError = 0;
    int readError = 0;

    int Open(const char* path, int flags, mode_t mode) override {
        const bool creates = (flags & O_CREAT) != 0;
        const bool writes = (flags & O_ACCMODE) != O_RDONLY;
        if (int e = openError ? openError : creates ? createError : writes ? openWriteError : 0) return Fail(e);
        return FileSystem::Open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* buffer, std::size_t size) override {
        if (writeError && writeAllowance == 0) return Fail(writeError);
        if (size > writeAllowance) size = writeAllowance;
        const ssize_t written = FileSystem::Write(fd, buffer, size);
        if (written > 0 && writeAllowance != SIZE_MAX) writeAllowance -= static_cast<std::size_t>(written);
        return written;
    }
    int Fsync(int fd) override { return fsyncError ? Fail(fsyncError) : FileSystem::Fsync(fd); }
    int Rename(const char* from, const char* to) override {
        return renameError ? Fail(renameError) : FileSystem::Rename(from, to);
    }
    ssize_t Read(int fd, void* buffer, std::size_t size) override {
        return readError ? Fail(readError) : FileSystem::Read(fd, buffer, size);
    }

private:
    static int Fail(int error) {
        errno = error;
        return -1;
    }
};

class SavesFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/veltrix-saves-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        oldMask_ = umask(022);
    }
    void TearDown() override {
        umask(oldMask_);
        std::filesystem::remove_all(dir_);
    }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static mode_t Mode(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    // Every name in the folder, hidden ones included: leftovers show here.
    std::set<std::string> Names(const std::string& sub = "") const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(sub.empty() ? dir_ : Path(sub)))
            names.insert(entry.path().filename().string());
        return names;
    }

    std::string dir_;

private:
    mode_t oldMask_ = 0;
};

} // namespace veltrix::testing
