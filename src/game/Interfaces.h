#pragma once
// The seams between the rules and the machine they run on. The desktop layer
// implements them with Qt and SDL; tests implement them with recorders.

#include <cstdint>
#include <string>

namespace veltrix {

// Picture indices of the picture list.
enum PictureIndex : int { PictureBody = 0, PictureFood = 1, PictureBackground = 2 };

struct TextStyle {
    bool ClearBrush = true;
    std::string FontName;
    std::uint32_t Colour = 0;  // 0x00BBGGRR, as the original colour values
    int PointSize = 0;         // points at 96 dpi
};

class SurfaceInterface {
public:
    virtual ~SurfaceInterface() = default;
    virtual void Fill(std::uint32_t colour) = 0;
    virtual void Draw(int index, std::int32_t x, std::int32_t y, int pattern) = 0;
    // Text canvas on the back buffer: obtain, write, release.
    virtual void BeginText(const TextStyle& style) = 0;
    virtual void TextOut(std::int32_t x, std::int32_t y, const std::string& utf8) = 0;
    virtual void ReleaseText() = 0;
    virtual void Flip() = 0;
};

enum class SoundEffect { Start, Eat, Level, GameOver };

class SoundInterface {
public:
    virtual ~SoundInterface() = default;
    // Relative path, looked up against the current directory when played.
    virtual void Play(const std::string& relativePath) = 0;
};

struct DirectionStates {
    bool Up = false;
    bool Down = false;
    bool Left = false;
    bool Right = false;
    friend bool operator==(const DirectionStates&, const DirectionStates&) = default;
};

class InputInterface {
public:
    virtual ~InputInterface() = default;
    // Reads every device once; no queue of past presses.
    virtual DirectionStates Poll() = 0;
};

class TimerInterface {
public:
    virtual ~TimerInterface() = default;
    virtual std::uint32_t Interval() const = 0;
    virtual void SetInterval(std::uint32_t value) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool value) = 0;
};

class CaptionInterface {
public:
    virtual ~CaptionInterface() = default;
    virtual void SetCaption(const std::string& utf8) = 0;
};

class SwitchesInterface {
public:
    virtual ~SwitchesInterface() = default;
    virtual bool LevelAdvanceAllowed() const = 0;
};

class RandomInterface {
public:
    virtual ~RandomInterface() = default;
    // Uniform integer in 0 .. range-1.
    virtual int Next(int range) = 0;
};

// Everything the rules talk to during a command or a tick.
struct GamePorts {
    SurfaceInterface* Surface = nullptr;
    SoundInterface* Sound = nullptr;
    InputInterface* Input = nullptr;
    TimerInterface* Timer = nullptr;
    CaptionInterface* Caption = nullptr;
    SwitchesInterface* Switches = nullptr;
    RandomInterface* Random = nullptr;
};

// The timer's rule for a written interval: negative (as signed) stores 0.
constexpr std::uint32_t StoredInterval(std::uint32_t value) {
    return static_cast<std::int32_t>(value) < 0 ? 0u : value;
}

} // namespace veltrix
