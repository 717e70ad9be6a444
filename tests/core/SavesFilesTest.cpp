// Saved-game files on disk: error texts, safe saving, safe loading.
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "SavesFilesFixture.h"
#include "game/ErrorText.h"
#include "saves/FileError.h"
#include "saves/SafeFile.h"

namespace veltrix {
namespace {

using testing::FaultyFileSystem;
using testing::SavesFolder;

struct TextCase {
    int error;
    PathUse use;
    const char* text;
};

TEST(SavesErrorText, MapsSystemErrorsStraightToTheGamesTexts) {
    const TextCase cases[] = {
        {ENOENT, PathUse::OpenExisting, "File not found"},
        {ENOENT, PathUse::CreateNew, "Invalid filename"},
        {ENOENT, PathUse::Transfer, "I/O error 2"},
        {ENOTDIR, PathUse::OpenExisting, "Invalid filename"},
        {ENAMETOOLONG, PathUse::CreateNew, "Invalid filename"},
        {ELOOP, PathUse::OpenExisting, "Invalid filename"},
        {EINVAL, PathUse::CreateNew, "Invalid filename"},
        {EINVAL, PathUse::Transfer, "I/O error 22"},
        {EMFILE, PathUse::OpenExisting, "Too many open files"},
        {ENFILE, PathUse::CreateNew, "Too many open files"},
        {EACCES, PathUse::OpenExisting, "File access denied"},
        {EPERM, PathUse::CreateNew, "File access denied"},
        {EROFS, PathUse::CreateNew, "File access denied"},
        {EISDIR, PathUse::OpenExisting, "File access denied"},
        {ENOSPC, PathUse::Transfer, "Disk full"},
        {EDQUOT, PathUse::Transfer, "Disk full"},
        {EFBIG, PathUse::Transfer, "Disk full"},
        // errno 5 is EIO, not the game's own code 5 for access denied.
        {EIO, PathUse::Transfer, "I/O error 5"},
        {EIO, PathUse::OpenExisting, "I/O error 5"},
        {EBUSY, PathUse::CreateNew, "I/O error 16"},
        {EXDEV, PathUse::CreateNew, "I/O error 18"},
    };
    for (const TextCase& c : cases) EXPECT_EQ(FileErrorText(c.error, c.use), c.text) << "errno " << c.error;
}

TEST(SavesErrorText, IsAStdExceptionThatTheBoxEndsWithAFullStop) {
    try {
        ThrowFileError(ENOSPC, PathUse::Transfer);
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(ErrorBoxText(error.what()), "Disk full.");
        return;
    }
    ADD_FAILURE() << "nothing thrown";
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        return error.what();
    }
    return "no error";
}

const std::string NewText = "100\r\n0\r\n1\r\n";
const std::string OldText = "old save, longer than the new one\r\n";

using SavesSave = SavesFolder;

TEST_F(SavesSave, NewFileGetsTheUsualPermissionBits) {
    SaveFileSafely(Path("game.savl"), NewText);
    EXPECT_EQ(Contents(Path("game.savl")), NewText);
    EXPECT_EQ(Mode(Path("game.savl")), 0644u);
    EXPECT_EQ(Names(), std::set<std::string>{"game.savl"});
}

TEST_F(SavesSave, ReplacesAnExistingFileKeepingItsPermissionBits) {
    Put(Path("game.savl"), OldText);
    ASSERT_EQ(chmod(Path("game.savl").c_str(), 0604), 0);
    SaveFileSafely(Path("game.savl"), NewText);
    EXPECT_EQ(Contents(Path("game.savl")), NewText);
    EXPECT_EQ(Mode(Path("game.savl")), 0604u);
    EXPECT_EQ(Names(), std::set<std::string>{"game.savl"});
}

TEST_F(SavesSave, FollowsSymbolicLinksToTheFileTheyName) {
    std::filesystem::create_directory(Path("real"));
    Put(Path("real/game.savl"), OldText);
    ASSERT_EQ(symlink("real/game.savl", Path("link.savl").c_str()), 0);
    ASSERT_EQ(symlink("missing.savl", Path("dangling.savl").c_str()), 0);

    SaveFileSafely(Path("link.savl"), NewText);
    SaveFileSafely(Path("dangling.savl"), NewText);

    EXPECT_TRUE(std::filesystem::is_symlink(Path("link.savl")));
    EXPECT_TRUE(std::filesystem::is_symlink(Path("dangling.savl")));
    EXPECT_EQ(Contents(Path("real/game.savl")), NewText);
    EXPECT_EQ(Contents(Path("missing.savl")), NewText);
    EXPECT_EQ(Names("real"), std::set<std::string>{"game.savl"});
}

TEST_F(SavesSave, BadNamesAndFoldersAreRefused) {
    std::filesystem::create_directory(Path("folder"));
    Put(Path("plain"), OldText);
    ASSERT_EQ(symlink("loop.savl", Path("loop.savl").c_str()), 0);
    const struct {
        std::string path;
        const char* text;
    } cases[] = {
        {Path("folder"), "File access denied"},
        {Path("no-such-folder/game.savl"), "Invalid filename"},
        {Path("plain/game.savl"), "Invalid filename"},
        {Path(std::string(300, 'a') + ".savl"), "Invalid filename"},
        {Path("loop.savl"), "Invalid filename"},
        {"", "Invalid filename"},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorOf([&] { SaveFileSafely(c.path, NewText); }), c.text) << c.path;
    EXPECT_EQ(Contents(Path("plain")), OldText);
    EXPECT_EQ(Names(), (std::set<std::string>{"folder", "plain", "loop.savl"}));
}

struct FaultCase {
    const char* name;
    std::function<void(FaultyFileSystem&)> fault;
    const char* text;
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class SavesSaveFaults : public SavesFolder, public ::testing::WithParamInterface<FaultCase> {};

// Whatever fails, the old save stays byte for byte and nothing is left over.
TEST_P(SavesSaveFaults, LeaveTheOldFileAsItWas) {
    Put(Path("game.savl"), OldText);
    FaultyFileSystem fs;
    GetParam().fault(fs);
    EXPECT_EQ(ErrorOf([&] { SaveFileSafely(Path("game.savl"), NewText, fs); }), GetParam().text);
    EXPECT_EQ(Contents(Path("game.savl")), OldText);
    EXPECT_EQ(Names(), std::set<std::string>{"game.savl"});
}

INSTANTIATE_TEST_SUITE_P(
    SavesFaults, SavesSaveFaults,
    ::testing::Values(
        FaultCase{"DiskFullAtOnce", [](FaultyFileSystem& fs) { fs.writeError = ENOSPC, fs.writeAllowance = 0; },
                  "Disk full"},
        FaultCase{"DiskFullMidway", [](FaultyFileSystem& fs) { fs.writeError = ENOSPC, fs.writeAllowance = 4; },
                  "Disk full"},
        FaultCase{"QuotaExceeded", [](FaultyFileSystem& fs) { fs.writeError = EDQUOT, fs.writeAllowance = 0; },
                  "Disk full"},
        FaultCase{"WriteIoError", [](FaultyFileSystem& fs) { fs.writeError = EIO, fs.writeAllowance = 0; },
                  "I/O error 5"},
        FaultCase{"FlushFails", [](FaultyFileSystem& fs) { fs.fsyncError = EIO; }, "I/O error 5"},
        FaultCase{"RenameFails", [](FaultyFileSystem& fs) { fs.renameError = EBUSY; }, "I/O error 16"},
        FaultCase{"FileRefusesWrites", [](FaultyFileSystem& fs) { fs.openWriteError = EACCES; },
                  "File access denied"},
        FaultCase{"ReadOnlyFileSystem", [](FaultyFileSystem& fs) { fs.openWriteError = EROFS; },
                  "File access denied"},
        FaultCase{"NoRoomForNewFile", [](FaultyFileSystem& fs) { fs.createError = ENOSPC; }, "Disk full"},
        FaultCase{"TooManyOpenFiles", [](FaultyFileSystem& fs) { fs.openError = EMFILE; }, "Too many open files"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SavesSave, FolderRefusingNewFilesWritesAWritableFileInPlace) {
    Put(Path("game.savl"), OldText);
    FaultyFileSystem fs;
    fs.createError = EACCES;
    SaveFileSafely(Path("game.savl"), NewText, fs);
    EXPECT_EQ(Contents(Path("game.savl")), NewText);

    EXPECT_EQ(ErrorOf([&] { SaveFileSafely(Path("new.savl"), NewText, fs); }), "File access denied");
    EXPECT_EQ(Names(), std::set<std::string>{"game.savl"});
}

using SavesLoad = SavesFolder;

TEST_F(SavesLoad, ReadsRegularFilesUpToTheLimit) {
    Put(Path("game.savl"), "0123456789");
    const LoadedFile whole = LoadFileSafely(Path("game.savl"), 10);
    EXPECT_EQ(whole.Bytes, "0123456789");
    EXPECT_FALSE(whole.CutShort);
    const LoadedFile cut = LoadFileSafely(Path("game.savl"), 4);
    EXPECT_EQ(cut.Bytes, "0123");
    EXPECT_TRUE(cut.CutShort);
}

TEST_F(SavesLoad, RefusesWhatIsNotARegularFile) {
    std::filesystem::create_directory(Path("folder.savl"));
    ASSERT_EQ(mkfifo(Path("pipe.savl").c_str(), 0644), 0);  // no writer: a blocking open would hang
    Put(Path("plain"), "");
    ASSERT_EQ(symlink("loop.savl", Path("loop.savl").c_str()), 0);
    const struct {
        std::string path;
        const char* text;
    } cases[] = {
        {Path("missing.savl"), "File not found"},
        {Path("no-such-folder/game.savl"), "Invalid filename"},
        {Path("plain/game.savl"), "Invalid filename"},
        {Path(std::string(300, 'a') + ".savl"), "Invalid filename"},
        {Path("loop.savl"), "Invalid filename"},
        {"", "Invalid filename"},
        {Path("folder.savl"), "File access denied"},
        {Path("pipe.savl"), "File access denied"},
        {"/dev/null", "File access denied"},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorOf([&] { LoadFileSafely(c.path, 100); }), c.text) << c.path;
}

TEST_F(SavesLoad, SystemFailuresGetTheirTexts) {
    Put(Path("game.savl"), NewText);
    const FaultCase cases[] = {
        {"ReadIoError", [](FaultyFileSystem& fs) { fs.readError = EIO; }, "I/O error 5"},
        {"TooManyOpenFiles", [](FaultyFileSystem& fs) { fs.openError = ENFILE; }, "Too many open files"},
        {"AccessDenied", [](FaultyFileSystem& fs) { fs.openError = EACCES; }, "File access denied"},
    };
    for (const FaultCase& c : cases) {
        FaultyFileSystem fs;
        c.fault(fs);
        EXPECT_EQ(ErrorOf([&] { LoadFileSafely(Path("game.savl"), 100, fs); }), c.text) << c.name;
    }
}

} // namespace
} // namespace veltrix
