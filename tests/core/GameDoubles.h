#pragma once
// Recording stand-ins for the machine around the rules.

#include <deque>
#include <string>
#include <vector>

#include "game/Interfaces.h"

namespace veltrix::testing {

struct RecordingSurface final : SurfaceInterface {
    std::vector<std::string> ops;
    int openCanvases = 0;
    void Fill(std::uint32_t colour) override { ops.push_back("fill " + std::to_string(colour)); }
    void Draw(int index, std::int32_t x, std::int32_t y, int pattern) override {
        ops.push_back("draw " + std::to_string(index) + " " + std::to_string(x) + "," + std::to_string(y) + " p" +
                      std::to_string(pattern));
    }
    void BeginText(const TextStyle& style) override {
        ++openCanvases;
        ops.push_back("text-begin " + style.FontName + " " + std::to_string(style.Colour) + " " +
                      std::to_string(style.PointSize) + (style.ClearBrush ? " clear" : " solid"));
    }
    void TextOut(std::int32_t x, std::int32_t y, const std::string& text) override {
        ops.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " + text);
    }
    void ReleaseText() override {
        --openCanvases;
        ops.push_back("text-release");
    }
    void Flip() override { ops.push_back("flip"); }
};

// Draws nothing: for long runs where a record would only cost memory.
struct NullSurface final : SurfaceInterface {
    void Fill(std::uint32_t) override {}
    void Draw(int, std::int32_t, std::int32_t, int) override {}
    void BeginText(const TextStyle&) override {}
    void TextOut(std::int32_t, std::int32_t, const std::string&) override {}
    void ReleaseText() override {}
    void Flip() override {}
};

struct RecordingSound final : SoundInterface {
    std::vector<std::string> played;
    void Play(const std::string& path) override { played.push_back(path); }
};

struct ScriptedInput final : InputInterface {
    DirectionStates held;
    int polls = 0;
    DirectionStates Poll() override {
        ++polls;
        return held;
    }
};

struct FakeTimer final : TimerInterface {
    std::uint32_t interval = 100;
    bool enabled = false;
    std::uint32_t Interval() const override { return interval; }
    void SetInterval(std::uint32_t value) override { interval = StoredInterval(value); }
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool value) override { enabled = value; }
};

struct RecordingCaption final : CaptionInterface {
    std::vector<std::string> captions;
    void SetCaption(const std::string& text) override { captions.push_back(text); }
};

struct FixedSwitches final : SwitchesInterface {
    bool levelAllowed = true;
    bool LevelAdvanceAllowed() const override { return levelAllowed; }
};

// Hands out scripted numbers first, then zeros.
struct ScriptedRandom final : RandomInterface {
    std::deque<int> values;
    std::vector<int> ranges;
    int Next(int range) override {
        ranges.push_back(range);
        if (values.empty()) return 0;
        const int v = values.front();
        values.pop_front();
        return v;
    }
};

struct World {
    RecordingSurface surface;
    RecordingSound sound;
    ScriptedInput input;
    FakeTimer timer;
    RecordingCaption caption;
    FixedSwitches switches;
    ScriptedRandom random;
    GamePorts Ports() { return {&surface, &sound, &input, &timer, &caption, &switches, &random}; }
};

} // namespace veltrix::testing
