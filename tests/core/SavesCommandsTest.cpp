// The save and load commands: timer order, all-or-nothing loading.
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "GameDoubles.h"
#include "SavesFilesFixture.h"
#include "game/Rules.h"
#include "saves/FileError.h"
#include "saves/SavedGameCommands.h"
#include "saves/SavedGameText.h"

namespace veltrix {
namespace {

using testing::FaultyFileSystem;
using testing::SavesFolder;

struct LoggingTimer final : TimerInterface {
    std::vector<std::string>* log = nullptr;
    std::uint32_t interval = 100;
    bool enabled = true;
    std::uint32_t Interval() const override { return interval; }
    void SetInterval(std::uint32_t value) override {
        interval = StoredInterval(value);
        log->push_back("interval " + std::to_string(interval));
    }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool value) override {
        enabled = value;
        log->push_back(value ? "on" : "off");
    }
};

void ExpectSameGame(const GameState& a, const GameState& b) {
    EXPECT_EQ(a.Score, b.Score);
    EXPECT_EQ(a.Level, b.Level);
    EXPECT_EQ(a.Food, b.Food);
    EXPECT_EQ(a.Serpent.Direction, b.Serpent.Direction);
    EXPECT_EQ(a.Serpent.Length, b.Serpent.Length);
    EXPECT_EQ(a.Serpent.Body, b.Serpent.Body);
    EXPECT_EQ(a.SoundEnabled, b.SoundEnabled);
}

class SavesCommands : public SavesFolder {
protected:
    SavesCommands() { timer.log = &log; }

    // The dialog: logs that it ran and whether ticks could still come.
    ChooseSavedGame Choose(std::optional<std::string> path) {
        return [this, path] {
            log.push_back(timer.enabled ? "dialog while ticking" : "dialog");
            return path;
        };
    }

    GameState Running() {
        testing::World world;
        GameState state;
        NewGame(state, world.Ports());
        state.Score = 120;
        state.Level = 3;
        state.Serpent.Body[7] = {9, 9};  // beyond the length
        return state;
    }

    std::vector<std::string> log;
    LoggingTimer timer;
};

TEST_F(SavesCommands, SaveWritesTheFileBetweenTimerOffAndOn) {
    const GameState state = Running();
    timer.interval = 80;
    SaveCommand(Choose(Path("game.savl")), state, timer);
    EXPECT_EQ(log, (std::vector<std::string>{"off", "dialog", "on"}));
    EXPECT_EQ(Contents(Path("game.savl")), WriteSavedGame(state, 80));
}

TEST_F(SavesCommands, CancelledDialogsStillEnableTheTimer) {
    GameState state;  // no game started yet: ticks start on the zero state
    timer.enabled = false;
    SaveCommand(Choose(std::nullopt), state, timer);
    LoadCommand(Choose(std::nullopt), state, timer);
    EXPECT_EQ(log, (std::vector<std::string>{"off", "dialog", "on", "off", "dialog", "on"}));
    ExpectSameGame(state, GameState{});
    EXPECT_EQ(Names(), std::set<std::string>{});
}

TEST_F(SavesCommands, LoadStoresTheFileAndEnablesTheTimer) {
    Put(Path("game.savl"), "$3C\r\n30\n2\r\n2\r\n-25\r\n0\r\n3\r\n50\r\n75\r\n75\r\n75\r\n");
    GameState state = Running();
    LoadCommand(Choose(Path("game.savl")), state, timer);
    EXPECT_EQ(log, (std::vector<std::string>{"off", "dialog", "interval 60", "on"}));
    EXPECT_EQ(state.Score, 30);
    EXPECT_EQ(state.Level, 2);
    EXPECT_EQ(state.Serpent.Length, 2);
    EXPECT_EQ(state.Food, (TSegment{-25, 0}));
    EXPECT_EQ(state.Serpent.Direction, HeadingLeft);
    EXPECT_EQ(state.Serpent.Body[1], (TSegment{50, 75}));
    EXPECT_EQ(state.Serpent.Body[2], (TSegment{75, 75}));
    EXPECT_EQ(state.Serpent.Body[3], (TSegment{100, 450}));  // beyond the length: kept
    EXPECT_EQ(state.Serpent.Body[7], (TSegment{9, 9}));
}

TEST_F(SavesCommands, SavedGameLoadsBackIntoAnotherGame) {
    const GameState saved = Running();
    timer.interval = 40;
    SaveCommand(Choose(Path("game")), saved, timer);  // the dialog adds the extension, not the command
    GameState loaded;
    loaded.Serpent.Body = saved.Serpent.Body;
    timer.interval = 100;
    LoadCommand(Choose(Path("game")), loaded, timer);
    ExpectSameGame(loaded, saved);
    EXPECT_EQ(timer.interval, 40u);
    EXPECT_TRUE(timer.enabled);
}

struct LoadFailure {
    const char* name;
    std::string fileText;  // empty: no file
    const char* error;
};
void PrintTo(const LoadFailure& c, std::ostream* os) { *os << c.name; }

class SavesLoadFailures : public SavesCommands, public ::testing::WithParamInterface<LoadFailure> {};

// A failed load changes nothing of the game or the timer and leaves it paused.
TEST_P(SavesLoadFailures, LeaveTheGameAsItWasAndPaused) {
    const LoadFailure& c = GetParam();
    if (!c.fileText.empty()) Put(Path("game.savl"), c.fileText);
    const GameState before = Running();
    GameState state = before;
    timer.interval = 70;
    try {
        LoadCommand(Choose(Path("game.savl")), state, timer);
        ADD_FAILURE() << "loaded";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), c.error);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"off", "dialog"}));
    EXPECT_EQ(timer.interval, 70u);
    ExpectSameGame(state, before);
}

INSTANTIATE_TEST_SUITE_P(
    SavesBadFiles, SavesLoadFailures,
    ::testing::Values(LoadFailure{"Missing", "", "File not found"},
                      LoadFailure{"BadFirstLine", "abc\r\n0\r\n", "Invalid numeric input"},
                      LoadFailure{"BadLastSegment", "50\r\n10\r\n4\r\n2\r\n0\r\n0\r\n1\r\n1\r\n2\r\n3\r\n4z\r\n",
                                  "Invalid numeric input"},
                      LoadFailure{"TooLong", "50\r\n10\r\n4\r\n201\r\n0\r\n0\r\n1\r\n", "Invalid numeric input"},
                      LoadFailure{"ValuesBeyondTheInputLimit", std::string(SavedGameInputLimit, ' ') + "5\r\n",
                                  "Invalid numeric input"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SavesCommands, BytesAfterTheLastValueMayPassTheInputLimit) {
    GameState state;
    Put(Path("game.savl"), "90\r\n0\r\n1\r\n0\r\n0\r\n0\r\n2 " + std::string(SavedGameInputLimit, 'x'));
    LoadCommand(Choose(Path("game.savl")), state, timer);
    EXPECT_EQ(timer.interval, 90u);
    EXPECT_EQ(state.Serpent.Direction, HeadingDown);
}

TEST_F(SavesCommands, FailedSaveKeepsTheOldFileAndTheTimerOff) {
    Put(Path("game.savl"), "old");
    FaultyFileSystem fs;
    fs.writeError = ENOSPC;
    fs.writeAllowance = 3;
    EXPECT_THROW(SaveCommand(Choose(Path("game.savl")), Running(), timer, fs), FileError);
    EXPECT_EQ(log, (std::vector<std::string>{"off", "dialog"}));
    EXPECT_FALSE(timer.enabled);
    EXPECT_EQ(Contents(Path("game.savl")), "old");
}

} // namespace
} // namespace veltrix
