#pragma once
// When the next tick is due. Kept free of any toolkit so the rules can be
// driven by a fake clock; TDXTimer feeds it the real clock and the
// application's state and arms a single-shot timer for the time left.

#include <cstdint>
#include <functional>
#include <optional>

namespace veltrix {

class TickSchedule {
public:
    // Monotonic milliseconds; fractions allowed so a 60 Hz display paces
    // ticks at 16.67 ms instead of a rounded 17.
    using Clock = std::function<double()>;

    static constexpr double FallbackRefreshRate = 60.0;

    explicit TickSchedule(Clock clock);

    std::uint32_t Interval() const { return interval_; }
    // Negative values (as signed) store 0; the timing is not restarted.
    void SetInterval(std::uint32_t value);

    bool Enabled() const { return enabled_; }
    // True starts the timing afresh; writing the current value does nothing.
    void SetEnabled(bool value);

    bool ActiveOnly() const { return activeOnly_; }
    void SetActiveOnly(bool value);
    // Reactivation restarts the timing, as if the ticks had never stopped
    // being wanted: the first tick comes one interval later.
    void SetApplicationActive(bool active);

    // A loop that is not the game's own (menu, message box, file dialog)
    // holds the ticks back; the timing goes on, so an overdue tick comes as
    // soon as it is gone. Suspend/Resume nest.
    void Suspend();
    void Resume();
    void SetMenuOpen(bool open);

    // Hz of the display the window is on; 0, negative or absurd means
    // unknown. No tick comes sooner than one refresh after the one before,
    // as every frame's flip used to wait for the vertical blank.
    void SetRefreshRate(double hz);
    double RefreshPeriod() const { return refreshPeriod_; }

    // Enabled, not held back, and not inside a tick.
    bool Running() const;
    // Milliseconds until the next tick is due (0 when overdue); empty when
    // not running.
    std::optional<double> TimeUntilDue() const;

    // When a tick is due: records it and returns its LagCount (elapsed
    // intervals, at least 1). The caller runs the handler and then calls
    // EndTick; no tick is handed out in between.
    std::optional<std::uint32_t> BeginTick();
    void EndTick();

private:
    double DueTime() const;
    double NextFrameAfter(double time) const;
    void Restart();

    Clock clock_;
    std::uint32_t interval_ = 100;
    bool enabled_ = false;
    bool activeOnly_ = true;
    bool applicationActive_ = true;
    int suspended_ = 0;
    bool menuOpen_ = false;
    bool inTick_ = false;
    double refreshPeriod_ = 1000.0 / FallbackRefreshRate;
    double lastTick_ = 0;
    // Frames are counted from the first tick after a restart; until then
    // only the interval counts.
    bool framed_ = false;
    double frameOrigin_ = 0;
};

} // namespace veltrix
