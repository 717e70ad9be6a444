#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "GameDoubles.h"
#include "game/Captions.h"
#include "game/Rules.h"

using namespace veltrix;
using veltrix::testing::World;

namespace {

class TickTest : public ::testing::Test {
protected:
    void StartGame() {
        state.SoundEnabled = true;
        NewGame(state, world.Ports());
        Forget();
    }
    void Forget() {
        world.surface.ops.clear();
        world.sound.played.clear();
        world.caption.captions.clear();
    }
    void Tick() { veltrix::Tick(state, world.Ports()); }
    void Lay(std::initializer_list<TSegment> body, std::uint8_t heading) {
        int i = 0;
        for (const TSegment& s : body) state.Serpent.Body[++i] = s;
        state.Serpent.Length = static_cast<std::uint8_t>(i);
        state.Serpent.Direction = heading;
    }
    int BodyDraws() const {
        int n = 0;
        for (const auto& op : world.surface.ops) n += op.rfind("draw 0 ", 0) == 0;
        return n;
    }

    World world;
    GameState state;
};

const std::vector<std::string> GameOverPicture = {
    "fill 0", "draw 2 0,0 p0", "text-begin Arial 255 35 clear", "text 100,300 GAME OVER!", "text-release"};

} // namespace

TEST_F(TickTest, StartPositionReachesTheTopAfter16TicksAndEndsOnThe17th) {
    StartGame();
    for (int i = 0; i < 16; ++i) Tick();
    EXPECT_EQ(state.Serpent.Body[1], (TSegment{100, 0}));
    EXPECT_TRUE(world.timer.enabled);
    EXPECT_TRUE(world.sound.played.empty());

    Tick();
    EXPECT_EQ(state.Serpent.Body[1], (TSegment{100, -25})) << "the fatal position is kept";
    EXPECT_FALSE(world.timer.enabled);
    EXPECT_EQ(world.sound.played, std::vector<std::string>{"sounds/over.wav"});
    EXPECT_TRUE(world.caption.captions.empty()) << "ending leaves the caption";
}

TEST_F(TickTest, FrameIsComposedInOrder) {
    StartGame();
    Tick();
    const std::vector<std::string> expected = {
        "fill 0", "draw 2 0,0 p0", "draw 0 100,375 p0", "draw 0 100,400 p0", "draw 0 100,425 p0",
        "draw 0 100,450 p0", "draw 0 100,475 p0", "draw 1 250,350 p0", "flip"};
    EXPECT_EQ(world.surface.ops, expected);
    EXPECT_EQ(world.input.polls, 1);
}

TEST_F(TickTest, TurningTestsEachKeyAgainstTheHeadingLeftBefore) {
    struct Case {
        std::uint8_t heading;
        DirectionStates held;
        std::uint8_t after;
    } cases[] = {
        {HeadingUp, {.Down = true}, HeadingUp},         // opposite key alone does nothing
        {HeadingLeft, {.Right = true}, HeadingLeft},
        {HeadingUp, {.Left = true}, HeadingLeft},
        {HeadingRight, {.Up = true, .Left = true}, HeadingLeft},   // reversal within one tick
        {HeadingLeft, {.Up = true, .Right = true}, HeadingRight},
        {HeadingNone, {.Down = true}, HeadingDown},
        {HeadingNone, {.Up = true, .Down = true, .Left = true, .Right = true}, HeadingLeft},
        {HeadingNone, {}, HeadingNone},
    };
    for (const Case& c : cases) {
        state = {};
        Lay({{200, 200}}, c.heading);
        world.input.held = c.held;
        Tick();
        EXPECT_EQ(state.Serpent.Direction, c.after) << "from " << int(c.heading);
    }
}

TEST_F(TickTest, ReversalEndsTheGameOnlyFromThreeSegments) {
    for (int length : {1, 2, 3, 5}) {
        state = {};
        state.Food = {0, 550};
        state.Serpent.Length = static_cast<std::uint8_t>(length);
        for (int i = 1; i <= length; ++i) state.Serpent.Body[i] = {200 - 25 * (i - 1), 200};
        state.Serpent.Direction = HeadingRight;
        world.timer.enabled = true;
        world.input.held = {.Up = true, .Left = true};
        Tick();
        EXPECT_EQ(state.Serpent.Body[1], (TSegment{175, 200}));
        EXPECT_EQ(world.timer.enabled, length < 3) << "length " << length;
    }
}

TEST_F(TickTest, HeadMayTakeTheCellTheTailLeavesInTheSameTick) {
    world.timer.enabled = true;
    state.Food = {0, 0};
    Lay({{100, 100}, {125, 100}, {125, 125}, {100, 125}}, HeadingDown);
    Tick();
    EXPECT_EQ(state.Serpent.Body[1], (TSegment{100, 125}));
    EXPECT_TRUE(world.timer.enabled);
}

TEST_F(TickTest, EveryMatchingSegmentEndsTheGameAgain) {
    state.SoundEnabled = true;
    world.timer.enabled = true;
    Lay({{100, 100}, {100, 100}, {100, 100}, {100, 100}}, HeadingNone);
    state.Food = {0, 0};
    Tick();
    EXPECT_EQ(world.sound.played.size(), 3u);
    EXPECT_FALSE(world.timer.enabled);
}

TEST_F(TickTest, EatingScoresPlacesFoodAndShowsGrowthOneTickLater) {
    StartGame();
    state.Food = {100, 375};
    world.random.values = {10, 5};
    Tick();
    EXPECT_EQ(state.Score, 10);
    EXPECT_EQ(world.caption.captions, std::vector<std::string>{RunningCaption(10, 1)});
    EXPECT_EQ(world.sound.played, std::vector<std::string>{"sounds/eat.wav"});
    EXPECT_EQ(world.random.ranges, (std::vector<int>{20, 23}));
    EXPECT_EQ(state.Food, (TSegment{250, 125}));
    EXPECT_EQ(state.Serpent.Length, 6);
    EXPECT_EQ(state.Serpent.Body[6], (TSegment{125, 475}));
    EXPECT_EQ(BodyDraws(), 5);
    EXPECT_EQ(world.surface.ops.at(world.surface.ops.size() - 2), "draw 1 250,125 p0");

    Forget();
    Tick();
    EXPECT_EQ(BodyDraws(), 6);
    EXPECT_EQ(state.Serpent.Body[6], (TSegment{100, 475})) << "the new segment takes the old tail's place";
}

TEST_F(TickTest, FoodIsNeverPlacedOnTheSerpent) {
    StartGame();
    state.Food = {100, 375};
    // After the move the serpent covers (100,375)..(100,475): columns 4, rows 15..19.
    world.random.values = {4, 15, 4, 19, 4, 17, 3, 15};
    Tick();
    EXPECT_EQ(state.Food, (TSegment{75, 375}));
    EXPECT_EQ(world.random.ranges.size(), 8u);
}

TEST_F(TickTest, LevelAdvanceResetsTheSerpentAndShowsOnlyFood) {
    StartGame();
    world.timer.enabled = true;
    state.Score = 290;
    state.Food = {100, 375};
    world.random.values = {0, 0};
    Tick();
    EXPECT_EQ(world.sound.played, (std::vector<std::string>{"sounds/eat.wav", "sounds/level.wav"}));
    EXPECT_EQ(world.caption.captions, (std::vector<std::string>{RunningCaption(300, 1), RunningCaption(0, 2)}));
    EXPECT_EQ(state.Score, 0);
    EXPECT_EQ(state.Level, 2);
    EXPECT_EQ(world.timer.interval, 90u);
    EXPECT_TRUE(world.timer.enabled);
    EXPECT_EQ(state.Serpent.Direction, HeadingUp);
    EXPECT_EQ(state.Serpent.Length, 6);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(state.Serpent.Body[i], (TSegment{100, 375 + 25 * i}));
    EXPECT_EQ(state.Serpent.Body[6], (TSegment{125, 500}));
    const std::vector<std::string> tail(world.surface.ops.end() - 3, world.surface.ops.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"fill 0", "draw 1 0,0 p0", "flip"}));
}

TEST_F(TickTest, LevelAdvanceIntervalFloorAndLevelWrap) {
    struct Case {
        std::uint32_t interval;
        std::uint8_t level;
        std::uint32_t intervalAfter;
        std::uint8_t levelAfter;
    } cases[] = {{100, 1, 90, 2}, {10, 10, 0, 11}, {0, 11, 0, 12}, {5, 254, 0, 255}, {90, 255, 80, 0}};
    for (const Case& c : cases) {
        state = {};
        Lay({{100, 100}}, HeadingNone);
        state.Food = {100, 100};
        state.Score = 295;
        state.Level = c.level;
        world.timer.interval = c.interval;
        Tick();
        EXPECT_EQ(world.timer.interval, c.intervalAfter) << c.interval;
        EXPECT_EQ(state.Level, c.levelAfter) << int(c.level);
    }
}

TEST_F(TickTest, NoLevelAdvanceWhileItIsSwitchedOff) {
    StartGame();
    world.switches.levelAllowed = false;
    state.Score = 290;
    state.Food = {100, 375};
    Tick();
    EXPECT_EQ(state.Score, 300);
    EXPECT_EQ(state.Level, 1);
    EXPECT_EQ(world.timer.interval, 100u);
}

TEST_F(TickTest, ZeroStateEatsTheFoodAtTheOrigin) {
    world.timer.enabled = true;
    Tick();
    EXPECT_EQ(state.Score, 10);
    EXPECT_EQ(world.caption.captions, std::vector<std::string>{RunningCaption(10, 0)});
    EXPECT_EQ(state.Serpent.Length, 1);
    EXPECT_EQ(state.Serpent.Body[1], (TSegment{25, 0}));
    EXPECT_TRUE(world.timer.enabled);
}

TEST_F(TickTest, NoHeadingWithTwoSegmentsEndsTheGame) {
    world.timer.enabled = true;
    state.Food = {300, 300};
    Lay({{100, 100}, {125, 100}}, HeadingNone);
    Tick();
    EXPECT_EQ(state.Serpent.Body[1], (TSegment{100, 100}));
    EXPECT_FALSE(world.timer.enabled);
}

TEST_F(TickTest, GameOverFrameHidesTheSerpentAndShowsTheFood) {
    for (bool sound : {true, false}) {
        state = {};
        world = {};
        state.SoundEnabled = sound;
        world.timer.enabled = true;
        Lay({{100, 0}, {100, 25}, {100, 50}}, HeadingUp);
        state.Food = {250, 350};
        Tick();
        auto& ops = world.surface.ops;
        const auto lastFill = std::find(ops.rbegin(), ops.rend(), "fill 0").base() - 1;
        std::vector<std::string> picture(lastFill, ops.end());
        std::vector<std::string> expected = GameOverPicture;
        expected.push_back("draw 1 250,350 p0");
        expected.push_back("flip");
        EXPECT_EQ(picture, expected);
        EXPECT_EQ(world.sound.played.size(), sound ? 1u : 0u);
        EXPECT_EQ(world.surface.openCanvases, 0);
    }
}

TEST_F(TickTest, GrowthStopsAtTheBodyCapacity) {
    world.timer.enabled = true;
    state.Serpent.Length = BodyCapacity;
    state.Serpent.Direction = HeadingNone;
    // A loaded serpent may overlap itself; keep it clear of the head.
    for (int i = 1; i <= BodyCapacity; ++i) state.Serpent.Body[i] = {i == 1 ? 0 : 475, i == 1 ? 0 : 550};
    state.Serpent.Body[2] = {25, 0};
    state.Serpent.Direction = HeadingDown;
    state.Food = {0, 25};
    world.random.values = {19, 0};
    Tick();
    EXPECT_EQ(state.Score, 10);
    EXPECT_EQ(state.Serpent.Length, BodyCapacity);
}

TEST_F(TickTest, LoadedExtremesWrapAround) {
    world.timer.enabled = true;
    Lay({{INT32_MIN, 0}}, HeadingLeft);
    state.Food = {INT32_MAX - 24, 0};
    state.Score = INT32_MAX - 5;
    Tick();
    EXPECT_EQ(state.Serpent.Body[1].X, INT32_MAX - 24);
    EXPECT_EQ(state.Score, INT32_MIN + 4);
    EXPECT_FALSE(world.timer.enabled) << "far outside the field";
}

TEST_F(TickTest, FailedTextStillReleasesTheCanvas) {
    struct Surface final : SurfaceInterface {
        veltrix::testing::RecordingSurface record;
        void Fill(std::uint32_t c) override { record.Fill(c); }
        void Draw(int i, std::int32_t x, std::int32_t y, int p) override { record.Draw(i, x, y, p); }
        void BeginText(const TextStyle& s) override { record.BeginText(s); }
        void TextOut(std::int32_t, std::int32_t, const std::string&) override {
            throw std::runtime_error("no font");
        }
        void ReleaseText() override { record.ReleaseText(); }
        void Flip() override { record.Flip(); }
    } surface;
    GamePorts ports = world.Ports();
    ports.Surface = &surface;
    world.timer.enabled = true;
    Lay({{100, 0}}, HeadingUp);
    EXPECT_THROW(veltrix::Tick(state, ports), std::runtime_error);
    EXPECT_EQ(surface.record.openCanvases, 0);
    EXPECT_EQ(surface.record.ops.back(), "text-release") << "the rest of the tick is skipped";
    EXPECT_TRUE(world.timer.enabled) << "the timer keeps the state the tick left it in";
}
