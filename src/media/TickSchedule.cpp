#include "media/TickSchedule.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace veltrix {

namespace {
// Grid computations on fractional milliseconds: a tick that lands exactly on
// a frame boundary belongs to that frame, not the one before.
constexpr double FrameSlack = 1e-6;
// A timer wakes a little after the time asked for. A tick that late is
// counted from when it was due, so the wake-up delay does not add up over
// the ticks; a tick held back longer (menu, busy machine) counts from now.
constexpr double WakeSlack = 2.0;
}

TickSchedule::TickSchedule(Clock clock) : clock_(std::move(clock)) {}

void TickSchedule::SetInterval(std::uint32_t value) {
    interval_ = static_cast<std::int32_t>(value) < 0 ? 0u : value;
}

void TickSchedule::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (enabled_) Restart();
}

void TickSchedule::SetActiveOnly(bool value) {
    activeOnly_ = value;
}

void TickSchedule::SetApplicationActive(bool active) {
    if (active == applicationActive_) return;
    applicationActive_ = active;
    if (active) Restart();
}

void TickSchedule::Suspend() {
    ++suspended_;
}

void TickSchedule::Resume() {
    if (suspended_ > 0) --suspended_;
}

void TickSchedule::SetMenuOpen(bool open) {
    menuOpen_ = open;
}

void TickSchedule::SetRefreshRate(double hz) {
    if (!(hz >= 1.0 && hz <= 1000.0)) hz = FallbackRefreshRate;
    const double period = 1000.0 / hz;
    if (period == refreshPeriod_) return;
    refreshPeriod_ = period;
    // A new display has its own vertical blank; count frames from the last tick.
    frameOrigin_ = lastTick_;
}

bool TickSchedule::Running() const {
    return enabled_ && !inTick_ && suspended_ == 0 && !menuOpen_ &&
           (applicationActive_ || !activeOnly_);
}

std::optional<double> TickSchedule::TimeUntilDue() const {
    if (!Running()) return std::nullopt;
    return std::max(0.0, DueTime() - clock_());
}

std::optional<std::uint32_t> TickSchedule::BeginTick() {
    if (!Running()) return std::nullopt;
    const double now = clock_();
    const double due = DueTime();
    if (now < due) return std::nullopt;
    const auto elapsed = static_cast<std::uint64_t>(std::max(0.0, now - lastTick_));
    const std::uint64_t lag = elapsed / std::max<std::uint32_t>(interval_, 1);
    lastTick_ = now - due <= WakeSlack ? due : now;
    if (!framed_) {
        framed_ = true;
        frameOrigin_ = lastTick_;
    }
    inTick_ = true;
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(lag, 1, UINT32_MAX));
}

void TickSchedule::EndTick() {
    inTick_ = false;
}

double TickSchedule::DueTime() const {
    const double due = lastTick_ + interval_;
    if (!framed_) return due;
    return std::max(due, NextFrameAfter(lastTick_));
}

double TickSchedule::NextFrameAfter(double time) const {
    const double frames = std::floor((time - frameOrigin_) / refreshPeriod_ + FrameSlack);
    return frameOrigin_ + (frames + 1) * refreshPeriod_;
}

void TickSchedule::Restart() {
    lastTick_ = clock_();
    framed_ = false;
}

} // namespace veltrix
