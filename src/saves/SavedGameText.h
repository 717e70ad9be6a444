#pragma once
// The saved-game file as text: one signed decimal per line, CR LF line ends,
// interval, score, level, length, food X, food Y, heading, then X and Y of
// each segment from the head to the tail.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/GameState.h"
#include "game/Interfaces.h"

namespace veltrix {

// A file never needs more than a few kilobytes; beyond this much input the
// reader gives up rather than wade through whatever it was handed.
constexpr std::size_t SavedGameInputLimit = std::size_t{1} << 20;

// The longest run of characters that makes up one value; more of the same
// run is ignored with the rest of its line.
constexpr std::size_t ValueRunLimit = 32;

std::string WriteSavedGame(const GameState& state, std::uint32_t interval);

// Everything a file holds, already cut to the widths of the game's fields.
struct SavedGameRecord {
    std::int32_t Interval = 0;  // as read; the timer's rule applies when stored
    std::int32_t Score = 0;
    std::uint8_t Level = 0;
    std::uint8_t Length = 0;
    TSegment Food;
    std::uint8_t Direction = HeadingNone;
    std::array<TSegment, BodyCapacity + 1> Body{};  // entries 1..Length
};

// One value as the file holds it: optional sign, then decimal digits, or
// hexadecimal after "$", "x", "X", "0x" or "0X". Empty when invalid.
std::optional<std::int32_t> ConvertValue(std::string_view run);

// Reads values one after the other, one per line.
class SavedGameReader {
public:
    // `cutShort` tells that the input went on beyond `text`; a value that
    // would need those bytes is refused instead of guessed.
    explicit SavedGameReader(std::string_view text, bool cutShort = false);

    // The next value; 0 at the end of the input. Throws FileError with
    // "Invalid numeric input".
    std::int32_t Next();

private:
    void SkipRestOfLine();

    std::string_view text_;
    std::size_t pos_ = 0;
    bool cutShort_ = false;
    bool started_ = false;
};

// Reads and checks a whole file; throws FileError and returns nothing when
// any part of it is bad, so a caller can store all or nothing.
SavedGameRecord ReadSavedGame(std::string_view text, bool cutShort = false);

// Stores a checked record: the interval through the timer's rule, body
// entries 1..Length; entries beyond Length keep their values.
void StoreSavedGame(const SavedGameRecord& record, GameState& state, TimerInterface& timer);

} // namespace veltrix
