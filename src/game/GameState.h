#pragma once
// The whole game lives in this one plain record; the window owns it.

#include <array>
#include <cstdint>

namespace veltrix {

constexpr std::int32_t CellSize = 25;
constexpr int BodyCapacity = 200;

// Field limits for the head: 20 columns, 23 rows of cells.
constexpr std::int32_t FieldMaxX = 475;
constexpr std::int32_t FieldMaxY = 550;
constexpr int FieldColumns = 20;
constexpr int FieldRows = 23;

// Heading codes; also the values written to saved games.
enum Heading : std::uint8_t {
    HeadingNone = 0,
    HeadingUp = 1,
    HeadingDown = 2,
    HeadingLeft = 3,
    HeadingRight = 4,
};

struct TSegment {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TSegment&, const TSegment&) = default;
};

struct TSerpent {
    std::uint8_t Direction = HeadingNone;
    std::uint8_t Length = 0;
    // Entry 0 is never written; 1 is the head, 2..Length follow it.
    std::array<TSegment, BodyCapacity + 1> Body{};
};

struct GameState {
    TSerpent Serpent;
    TSegment Food;
    std::int32_t Score = 0;
    std::uint8_t Level = 0;
    bool SoundEnabled = false;  // switched on by FormCreate
};

} // namespace veltrix
