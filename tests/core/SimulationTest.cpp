// Long random games: the rules must keep their invariants whatever the
// player does, also with level advance off and the serpent at full length.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "GameDoubles.h"
#include "game/Random.h"
#include "game/Rules.h"

using namespace veltrix;

namespace {

using veltrix::testing::FakeTimer;
using veltrix::testing::FixedSwitches;
using veltrix::testing::NullSurface;
using veltrix::testing::RecordingCaption;
using veltrix::testing::RecordingSound;

// Steers towards the food along safe cells most of the time, so games get long;
// now and then it mashes random keys.
struct Player final : InputInterface {
    const GameState* state = nullptr;
    std::mt19937 dice;
    DirectionStates Poll() override {
        if (dice() % 10 == 0) return {dice() % 2 == 0, dice() % 2 == 0, dice() % 2 == 0, dice() % 2 == 0};
        const TSerpent& serpent = state->Serpent;
        const TSegment head = serpent.Body[1];
        const TSegment steps[] = {{0, 0}, {0, -CellSize}, {0, CellSize}, {-CellSize, 0}, {CellSize, 0}};
        int best = 0;
        long bestDistance = 0;
        for (int heading = 1; heading <= 4; ++heading) {
            const TSegment next{head.X + steps[heading].X, head.Y + steps[heading].Y};
            bool safe = next.X >= 0 && next.X <= FieldMaxX && next.Y >= 0 && next.Y <= FieldMaxY;
            for (int i = 1; safe && i < serpent.Length; ++i) safe = serpent.Body[i] != next;
            if (!safe) continue;
            const long distance = std::labs(long(next.X) - state->Food.X) + std::labs(long(next.Y) - state->Food.Y);
            if (best == 0 || distance < bestDistance) best = heading, bestDistance = distance;
        }
        return {best == 1, best == 2, best == 3, best == 4};
    }
};

bool OnGrid(const TSegment& s) {
    return s.X >= 0 && s.X <= FieldMaxX && s.Y >= 0 && s.Y <= FieldMaxY && s.X % CellSize == 0 &&
           s.Y % CellSize == 0;
}

} // namespace

TEST(Simulation, RandomGamesKeepTheirInvariants) {
    int longest = 0;
    for (std::uint64_t seed = 1; seed <= 24; ++seed) {
        GameState state;
        state.SoundEnabled = true;
        NullSurface surface;
        RecordingSound sound;
        FakeTimer timer;
        RecordingCaption caption;
        FixedSwitches switches;
        switches.levelAllowed = seed % 3 == 0;
        SeededRandom random(seed);
        Player player;
        player.state = &state;
        player.dice.seed(static_cast<std::uint32_t>(seed));
        const GamePorts ports{&surface, &sound, &player, &timer, &caption, &switches, &random};

        NewGame(state, ports);
        for (int tick = 0; tick < 15000; ++tick) {
            const TSegment foodBefore = state.Food;
            Tick(state, ports);
            ASSERT_LE(state.Serpent.Length, BodyCapacity);
            ASSERT_TRUE(OnGrid(state.Food));
            if (state.Food != foodBefore) {
                // Freshly placed food is never under the serpent.
                for (int i = 1; i < state.Serpent.Length; ++i) ASSERT_NE(state.Serpent.Body[i], state.Food);
            }
            longest = std::max<int>(longest, state.Serpent.Length);
            if (!timer.enabled) {
                // Alternate between a new game and resuming on the ended state,
                // as a save or load command does.
                if (tick % 2) NewGame(state, ports); else timer.enabled = true;
            }
        }
    }
    EXPECT_GT(longest, 20) << "the games should get long enough to matter";
}

TEST(Simulation, FullLengthSerpentKeepsEatingWithoutGrowing) {
    // Lay a 200-segment serpent in a boustrophedon over the top rows and
    // feed it repeatedly: the store must never be written past its end.
    GameState state;
    NullSurface surface;
    RecordingSound sound;
    FakeTimer timer;
    RecordingCaption caption;
    FixedSwitches switches;
    switches.levelAllowed = false;
    SeededRandom random(7);
    struct Still final : InputInterface {
        DirectionStates Poll() override { return {}; }
    } still;
    const GamePorts ports{&surface, &sound, &still, &timer, &caption, &switches, &random};
    state.Serpent.Length = BodyCapacity;
    for (int i = 1; i <= BodyCapacity; ++i) {
        const int p = BodyCapacity - i;  // the tail starts at the bottom right
        const int row = p / FieldColumns;
        const int column = row % 2 == 0 ? FieldColumns - 1 - p % FieldColumns : p % FieldColumns;
        state.Serpent.Body[i] = {column * CellSize, (FieldRows - 1 - row) * CellSize};
    }
    // The head ends the tenth row; it eats its way up through the free rows.
    state.Serpent.Direction = HeadingUp;
    for (int meal = 0; meal < 50; ++meal) {
        timer.enabled = true;
        state.Food = state.Serpent.Body[1];
        state.Food.Y -= CellSize;
        if (state.Food.Y < 0) break;
        Tick(state, ports);
        ASSERT_EQ(state.Serpent.Length, BodyCapacity);
        for (int i = 1; i <= BodyCapacity; ++i) ASSERT_NE(state.Serpent.Body[i], state.Food);
    }
    EXPECT_GT(state.Score, 0);
}
