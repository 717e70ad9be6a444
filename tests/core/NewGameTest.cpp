#include <gtest/gtest.h>

#include "GameDoubles.h"
#include "game/Captions.h"
#include "game/ErrorText.h"
#include "game/Rules.h"

using namespace veltrix;
using veltrix::testing::World;

TEST(Captions, StartAndRunningTextsDiffer) {
    EXPECT_EQ(StartCaption(), "Veltrix(多媒体版)    得分:0    第1关");
    EXPECT_EQ(RunningCaption(0, 1), "Veltrix(DirectX版)    得分：0    第1关");
    EXPECT_EQ(RunningCaption(290, 255), "Veltrix(DirectX版)    得分：290    第255关");
    EXPECT_EQ(RunningCaption(-10, 0), "Veltrix(DirectX版)    得分：-10    第0关");
}

TEST(NewGame, ReplacesAnAdvancedGameWithTheStartState) {
    World world;
    GameState state;
    state.SoundEnabled = true;
    state.Level = 7;
    state.Score = 120;
    state.Serpent.Direction = HeadingLeft;
    state.Serpent.Length = 9;
    for (int i = 1; i <= 9; ++i) state.Serpent.Body[i] = {i * 25, 0};
    state.Food = {0, 0};
    world.timer.interval = 40;

    NewGame(state, world.Ports());

    EXPECT_EQ(state.Level, 1);
    EXPECT_EQ(state.Score, 0);
    EXPECT_EQ(world.timer.interval, 100u);
    EXPECT_TRUE(world.timer.enabled);
    EXPECT_EQ(state.Serpent.Direction, HeadingUp);
    EXPECT_EQ(state.Serpent.Length, 5);
    const TSegment start[] = {{100, 400}, {100, 425}, {100, 450}, {100, 475}, {100, 500}};
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(state.Serpent.Body[i], start[i - 1]) << "segment " << i;
    EXPECT_EQ(state.Serpent.Body[6], (TSegment{150, 0})) << "entries past the length keep their values";
    EXPECT_EQ(state.Food, (TSegment{250, 350}));
    EXPECT_EQ(world.caption.captions, std::vector<std::string>{StartCaption()});
    EXPECT_EQ(world.sound.played, std::vector<std::string>{"sounds/begin.wav"});
    EXPECT_TRUE(world.surface.ops.empty()) << "a new game draws nothing itself";
}

TEST(NewGame, StartEffectOnlyWhileSoundIsOn) {
    World world;
    GameState state;
    state.SoundEnabled = false;
    NewGame(state, world.Ports());
    EXPECT_TRUE(world.sound.played.empty());
    state.SoundEnabled = true;
    NewGame(state, world.Ports());
    EXPECT_EQ(world.sound.played.size(), 1u);
}

TEST(ErrorText, FullStopWhenTheLastCharacterComesAfterIt) {
    struct Case {
        std::string message, shown;
    } cases[] = {
        {"File not found", "File not found."},
        {"Done.", "Done."},
        {"Oops!", "Oops!"},     // '!' comes before '.'
        {"(x)", "(x)"},         // ')' too
        {"a-", "a-"},           // '-' too
        {"I/O error 5", "I/O error 5."},
        {"x/", "x/."},          // '/' comes after '.'
        {"", ""},
        {"文件", "文件."},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorBoxText(c.message), c.shown) << c.message;
}
