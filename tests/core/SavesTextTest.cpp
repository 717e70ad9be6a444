// The saved-game text: writing, the reader's grammar, storing a record.
#include <climits>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "GameDoubles.h"
#include "game/Rules.h"
#include "saves/FileError.h"
#include "saves/SavedGameText.h"

namespace veltrix {
namespace {

using testing::FakeTimer;
using testing::World;

std::string Lines(const std::vector<long long>& values) {
    std::string out;
    for (long long v : values) out += std::to_string(v) + "\r\n";
    return out;
}

TEST(SavesText, NewGameIsTheSeventeenLineExample) {
    World world;
    GameState state;
    NewGame(state, world.Ports());
    EXPECT_EQ(WriteSavedGame(state, world.timer.Interval()),
              "100\r\n0\r\n1\r\n5\r\n250\r\n350\r\n1\r\n"
              "100\r\n400\r\n100\r\n425\r\n100\r\n450\r\n100\r\n475\r\n100\r\n500\r\n");
}

TEST(SavesText, ZeroStateWritesSevenLines) {
    GameState state;
    state.Serpent.Body[1] = {25, 0};  // beyond the length: not written
    EXPECT_EQ(WriteSavedGame(state, 100), "100\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
}

GameState RunningGame() {
    GameState state;
    state.Score = 290;
    state.Level = 7;
    state.Food = {475, 0};
    state.Serpent.Direction = HeadingLeft;
    state.Serpent.Length = 3;
    state.Serpent.Body[1] = {-25, 550};  // a head that has left the field
    state.Serpent.Body[2] = {0, 550};
    state.Serpent.Body[3] = {25, 550};
    return state;
}

GameState FullExtremeGame() {
    GameState state;
    state.Score = INT_MIN;
    state.Level = 255;
    state.Food = {INT_MAX, INT_MIN};
    state.Serpent.Direction = HeadingRight;
    state.Serpent.Length = BodyCapacity;
    for (int k = 1; k <= BodyCapacity; ++k) state.Serpent.Body[k] = {k * 25 - 2600, INT_MAX - k};
    return state;
}

struct RoundTripCase {
    const char* name;
    GameState state;
    std::uint32_t interval;
};
void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class SavesRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(SavesRoundTrip, ReadsBackWhatWasWritten) {
    const RoundTripCase& c = GetParam();
    GameState loaded;
    for (auto& segment : loaded.Serpent.Body) segment = {-1, -1};
    const TSegment beyond = loaded.Serpent.Body[BodyCapacity];
    FakeTimer timer;
    timer.interval = 55;

    StoreSavedGame(ReadSavedGame(WriteSavedGame(c.state, c.interval)), loaded, timer);

    EXPECT_EQ(timer.interval, c.interval);
    EXPECT_EQ(loaded.Score, c.state.Score);
    EXPECT_EQ(loaded.Level, c.state.Level);
    EXPECT_EQ(loaded.Food, c.state.Food);
    EXPECT_EQ(loaded.Serpent.Direction, c.state.Serpent.Direction);
    ASSERT_EQ(loaded.Serpent.Length, c.state.Serpent.Length);
    for (int k = 1; k <= c.state.Serpent.Length; ++k) EXPECT_EQ(loaded.Serpent.Body[k], c.state.Serpent.Body[k]) << k;
    if (c.state.Serpent.Length < BodyCapacity) {
        EXPECT_EQ(loaded.Serpent.Body[BodyCapacity], beyond);
    }
}

INSTANTIATE_TEST_SUITE_P(SavesGames, SavesRoundTrip,
                         ::testing::Values(RoundTripCase{"running", RunningGame(), 40},
                                           RoundTripCase{"zero", GameState{}, 100},
                                           RoundTripCase{"full", FullExtremeGame(), 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ConvertCase {
    const char* run;
    std::optional<std::int32_t> value;
};
void PrintTo(const ConvertCase& c, std::ostream* os) { *os << '"' << c.run << '"'; }

class SavesConvert : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(SavesConvert, ReadsTheValueOrRefuses) {
    const ConvertCase& c = GetParam();
    EXPECT_EQ(ConvertValue(c.run), c.value) << '"' << c.run << '"';
}

const std::optional<std::int32_t> Bad;

INSTANTIATE_TEST_SUITE_P(
    SavesGrammar, SavesConvert,
    ::testing::Values(ConvertCase{"0", 0}, ConvertCase{"010", 10}, ConvertCase{"-0", 0},
                      ConvertCase{"2147483647", INT_MAX}, ConvertCase{"2147483648", Bad},
                      ConvertCase{"-2147483648", INT_MIN}, ConvertCase{"-2147483649", Bad},
                      ConvertCase{"+2147483647", INT_MAX}, ConvertCase{"99999999999999999999", Bad},
                      ConvertCase{"+5", 5}, ConvertCase{"-25", -25}, ConvertCase{"$64", 100},
                      ConvertCase{"x64", 100}, ConvertCase{"X64", 100}, ConvertCase{"0x64", 100},
                      ConvertCase{"0X64", 100}, ConvertCase{"$aBcD", 0xABCD}, ConvertCase{"0xABcd", 0xABCD},
                      ConvertCase{"$7FFFFFFF", INT_MAX}, ConvertCase{"$80000000", INT_MIN},
                      ConvertCase{"0xffffffff", -1}, ConvertCase{"$100000000", Bad},
                      ConvertCase{"$0000000000000000FFFFFFFF", -1}, ConvertCase{"-$10", -16},
                      ConvertCase{"+0x10", 16}, ConvertCase{"-$FFFFFFFF", 1}, ConvertCase{"-$80000000", INT_MIN},
                      ConvertCase{"+", Bad}, ConvertCase{"-", Bad}, ConvertCase{"$", Bad}, ConvertCase{"x", Bad},
                      ConvertCase{"0x", Bad}, ConvertCase{"0X", Bad}, ConvertCase{"-$", Bad},
                      ConvertCase{"", Bad}, ConvertCase{"--1", Bad}, ConvertCase{"+-1", Bad},
                      ConvertCase{"$-1", Bad}, ConvertCase{"00x10", Bad}, ConvertCase{"0x0x1", Bad},
                      ConvertCase{"12a", Bad}, ConvertCase{"$fg", Bad}, ConvertCase{"1.5", Bad},
                      ConvertCase{"1e3", Bad}, ConvertCase{"abc", Bad}, ConvertCase{"0b1", Bad},
                      ConvertCase{"h10", Bad}, ConvertCase{"\xEF\xBC\x91", Bad}));

struct ReaderCase {
    const char* name;
    std::string text;
    std::vector<std::int32_t> values;  // read in turn
    bool failsAfter = false;           // one more read then fails
};
void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.name; }

class SavesReader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(SavesReader, ReadsValuesLineByLine) {
    const ReaderCase& c = GetParam();
    SavedGameReader reader(c.text);
    for (std::size_t i = 0; i < c.values.size(); ++i) EXPECT_EQ(reader.Next(), c.values[i]) << "value " << i;
    if (c.failsAfter) {
        try {
            reader.Next();
            ADD_FAILURE() << "read a bad value";
        } catch (const FileError& error) {
            EXPECT_STREQ(error.what(), "Invalid numeric input");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    SavesLines, SavesReader,
    ::testing::Values(
        ReaderCase{"CrLf", "1\r\n-2\r\n$1F\r\n", {1, -2, 31, 0, 0}},
        ReaderCase{"LfOnly", "1\n-2\n$1F\n", {1, -2, 31, 0}},
        ReaderCase{"CrOnly", "1\r2\r3\r", {1, 0, 0}},
        ReaderCase{"NoEndOfLastLine", "7\r\n8", {7, 8, 0}},
        ReaderCase{"BlankLinesAndBlanks", "\r\n\r\n  \t 7 \r\n\n\x01\x1a\x20" "8\r\n", {7, 8, 0}},
        ReaderCase{"RestOfLineDiscarded", "5 junk here\r\n6\tx\r\n", {5, 6, 0}},
        ReaderCase{"ValueOnAfterDiscard", "5 $\r\n-$10 junk\n", {5, -16, 0}},
        ReaderCase{"RunLongerThanAValue", std::string(30, '0') + "1234\r\n9\r\n", {12, 9}},
        ReaderCase{"RunOfExactly32", std::string(31, '0') + "8\r\n9\r\n", {8, 9}},
        ReaderCase{"LongRunFailsOnItsStart", std::string(40, '1') + "\r\n", {}, true},
        ReaderCase{"NulIsBlank", std::string("\0\0" "4\r\n", 5), {4}},
        ReaderCase{"HighBytesAreNotBlanks", "\xA0" "5\r\n", {}, true},
        ReaderCase{"SignWithoutDigits", "1\r\n-\r\n", {1}, true},
        ReaderCase{"PrefixWithoutDigits", "1\r\n0x\r\n", {1}, true},
        ReaderCase{"JunkGluedToValue", "5x\r\n", {}, true},
        ReaderCase{"Empty", "", {0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// A file whose values need more than the input limit is refused; one whose
// values all lie within it is read.
TEST(SavesReader, InputCutShortRefusesOnlyWhatItNeeds) {
    EXPECT_EQ(ReadSavedGame(Lines({10, 20, 3, 0, 0, 0, 1}) + "99 and more", true).Score, 20);
    const std::string cutInValue = Lines({10, 20, 3, 0, 0}) + "12";
    EXPECT_THROW(ReadSavedGame(cutInValue, true), FileError);
    EXPECT_NO_THROW(ReadSavedGame(cutInValue, false));
    EXPECT_THROW(ReadSavedGame(Lines({10, 20}) + "\r\n\r\n", true), FileError);
    EXPECT_THROW(ReadSavedGame(Lines({10, 20}) + "3 and the rest", true), FileError);
}

TEST(SavesFileRead, LengthKeepsLowEightBitsAndReadsThatManySegments) {
    const std::string text = Lines({100, 0, 1, 261, 250, 350, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    const SavedGameRecord record = ReadSavedGame(text);
    ASSERT_EQ(record.Length, 5);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(record.Body[k], (TSegment{2 * k - 1, 2 * k})) << k;
    EXPECT_EQ(record.Body[6], TSegment{});
}

TEST(SavesFileRead, LengthAboveCapacityIsRefused) {
    struct Case {
        long long length;
        bool accepted;
    } cases[] = {{200, true}, {456, true}, {-56, true}, {201, false}, {255, false}, {-1, false}, {511, false}};
    for (const Case& c : cases) {
        const std::string text = Lines({100, 0, 1, c.length, 0, 0, 1});
        if (c.accepted) {
            EXPECT_EQ(ReadSavedGame(text).Length, 200) << c.length;
        } else {
            EXPECT_THROW(ReadSavedGame(text), FileError) << c.length;
        }
    }
}

TEST(SavesFileRead, ShortFileReadsZerosForMissingValues) {
    const SavedGameRecord record = ReadSavedGame(Lines({80, 30, 2, 3, 25, 50, 4, 100, 200}));
    EXPECT_EQ(record.Length, 3);
    EXPECT_EQ(record.Direction, 4);
    EXPECT_EQ(record.Body[1], (TSegment{100, 200}));
    EXPECT_EQ(record.Body[2], TSegment{});
    EXPECT_EQ(record.Body[3], TSegment{});
}

TEST(SavesStore, CutsFieldsAndKeepsEntriesBeyondLength) {
    GameState state;
    for (int k = 1; k <= BodyCapacity; ++k) state.Serpent.Body[k] = {k, -k};
    FakeTimer timer;
    timer.interval = 70;
    const std::string text = Lines({-5, -30, 257, 2, -25, 600, 260, 10, 20, 30, 40});

    StoreSavedGame(ReadSavedGame(text), state, timer);

    EXPECT_EQ(timer.interval, 0u);  // negative becomes 0
    EXPECT_EQ(state.Score, -30);
    EXPECT_EQ(state.Level, 1);
    EXPECT_EQ(state.Serpent.Length, 2);
    EXPECT_EQ(state.Food, (TSegment{-25, 600}));
    EXPECT_EQ(state.Serpent.Direction, 4);
    EXPECT_EQ(state.Serpent.Body[1], (TSegment{10, 20}));
    EXPECT_EQ(state.Serpent.Body[2], (TSegment{30, 40}));
    EXPECT_EQ(state.Serpent.Body[3], (TSegment{3, -3}));
    EXPECT_EQ(state.Serpent.Body[0], TSegment{});
}

} // namespace
} // namespace veltrix
