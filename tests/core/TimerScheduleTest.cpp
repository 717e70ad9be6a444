#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "media/TickSchedule.h"

using veltrix::TickSchedule;

namespace {

class TimerScheduleTest : public ::testing::Test {
protected:
    TimerScheduleTest() : schedule([this] { return now; }) {}

    // Runs a tick if one is due at the current time; returns its LagCount.
    std::optional<std::uint32_t> TickNow() {
        const auto lag = schedule.BeginTick();
        if (lag) schedule.EndTick();
        return lag;
    }
    // Moves the clock to the next due time and runs that tick.
    double AdvanceToNextTick() {
        const auto left = schedule.TimeUntilDue();
        EXPECT_TRUE(left.has_value());
        now += left.value_or(0);
        EXPECT_TRUE(TickNow().has_value()) << "at " << now;
        return now;
    }

    double now = 5000;
    TickSchedule schedule;
};

TEST_F(TimerScheduleTest, FirstTickComesOneIntervalAfterEnabling) {
    schedule.SetInterval(100);
    schedule.SetEnabled(true);
    EXPECT_EQ(schedule.TimeUntilDue(), 100.0);
    now += 99;
    EXPECT_FALSE(TickNow());
    now += 1;
    EXPECT_EQ(TickNow(), 1u);
    EXPECT_FALSE(TickNow()) << "one tick per interval";
    now += 100;
    EXPECT_EQ(TickNow(), 1u);
}

TEST_F(TimerScheduleTest, DisabledTimerNeverTicks) {
    now += 10000;
    EXPECT_FALSE(schedule.Running());
    EXPECT_FALSE(schedule.TimeUntilDue());
    EXPECT_FALSE(TickNow());
}

TEST_F(TimerScheduleTest, ReenablingRestartsTheTiming) {
    schedule.SetEnabled(true);
    now += 80;
    schedule.SetEnabled(false);
    schedule.SetEnabled(true);
    now += 20;
    EXPECT_FALSE(TickNow()) << "the old timing must be forgotten";
    now += 80;
    EXPECT_EQ(TickNow(), 1u);
}

TEST_F(TimerScheduleTest, EnablingAnEnabledTimerChangesNothing) {
    schedule.SetEnabled(true);
    now += 80;
    schedule.SetEnabled(true);
    now += 20;
    EXPECT_EQ(TickNow(), 1u);
}

TEST_F(TimerScheduleTest, IntervalChangeCountsFromTheLastTick) {
    schedule.SetEnabled(true);
    now += 100;
    ASSERT_TRUE(TickNow());
    now += 40;
    schedule.SetInterval(50);
    EXPECT_EQ(schedule.TimeUntilDue(), 10.0);
    now += 10;
    EXPECT_TRUE(TickNow());
}

struct IntervalCase {
    std::uint32_t written;
    std::uint32_t stored;
};

class TimerIntervalTest : public TimerScheduleTest,
                          public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(TimerIntervalTest, StoresNegativeAsZero) {
    schedule.SetInterval(GetParam().written);
    EXPECT_EQ(schedule.Interval(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(TimerWrites, TimerIntervalTest,
                         ::testing::Values(IntervalCase{100, 100}, IntervalCase{0, 0},
                                           IntervalCase{0u - 10u, 0},
                                           IntervalCase{0x7FFFFFFFu, 0x7FFFFFFFu},
                                           IntervalCase{0x80000000u, 0},
                                           IntervalCase{0xFFFFFFFFu, 0}));

struct LagCase {
    std::uint32_t interval;
    double wait;
    std::uint32_t lag;
};

class TimerLagTest : public TimerScheduleTest, public ::testing::WithParamInterface<LagCase> {};

TEST_P(TimerLagTest, CountsElapsedIntervals) {
    schedule.SetInterval(GetParam().interval);
    schedule.SetEnabled(true);
    now += GetParam().wait;
    EXPECT_EQ(TickNow(), GetParam().lag);
}

INSTANTIATE_TEST_SUITE_P(TimerWaits, TimerLagTest,
                         ::testing::Values(LagCase{100, 100, 1}, LagCase{100, 199.9, 1},
                                           LagCase{100, 250, 2}, LagCase{100, 1000, 10},
                                           LagCase{0, 0, 1}, LagCase{0, 40, 40},
                                           LagCase{10, 35, 3}));

struct PaceCase {
    std::uint32_t interval;
    double hz;
    double period;
};

class TimerPaceTest : public TimerScheduleTest, public ::testing::WithParamInterface<PaceCase> {};

TEST_P(TimerPaceTest, PeriodIsTheLongerOfIntervalAndRefresh) {
    schedule.SetRefreshRate(GetParam().hz);
    schedule.SetInterval(GetParam().interval);
    schedule.SetEnabled(true);
    const double first = AdvanceToNextTick();
    double previous = first;
    constexpr int Ticks = 60;
    for (int i = 0; i < Ticks; ++i) {
        const double at = AdvanceToNextTick();
        EXPECT_GE(at - previous, GetParam().period - 0.001) << "tick " << i;
        previous = at;
    }
    EXPECT_NEAR((previous - first) / Ticks, GetParam().period, 0.01);
}

INSTANTIATE_TEST_SUITE_P(TimerDisplays, TimerPaceTest,
                         ::testing::Values(PaceCase{100, 60, 100}, PaceCase{20, 60, 20},
                                           PaceCase{10, 60, 1000.0 / 60},
                                           PaceCase{0, 60, 1000.0 / 60},
                                           PaceCase{0, 144, 1000.0 / 144},
                                           PaceCase{0, 0, 1000.0 / 60},
                                           PaceCase{5, -1, 1000.0 / 60}));

TEST_F(TimerScheduleTest, LateTickDoesNotBringTheNextOneForward) {
    schedule.SetRefreshRate(60);
    schedule.SetInterval(0);
    schedule.SetEnabled(true);
    AdvanceToNextTick();
    now += 30;  // a slow frame: the next one waits for a whole new refresh
    ASSERT_TRUE(TickNow());
    EXPECT_FALSE(TickNow());
    EXPECT_GT(*schedule.TimeUntilDue(), 0.0);
}

TEST_F(TimerScheduleTest, NoTicksWhileInactiveAndTimingRestartsOnReactivation) {
    schedule.SetEnabled(true);
    now += 50;
    schedule.SetApplicationActive(false);
    now += 500;
    EXPECT_FALSE(schedule.Running());
    EXPECT_FALSE(TickNow());
    schedule.SetApplicationActive(true);
    EXPECT_FALSE(TickNow()) << "reactivation must not bring an overdue tick";
    now += 100;
    EXPECT_EQ(TickNow(), 1u);
}

TEST_F(TimerScheduleTest, InactiveDoesNotMatterWithoutActiveOnly) {
    schedule.SetActiveOnly(false);
    schedule.SetEnabled(true);
    schedule.SetApplicationActive(false);
    now += 100;
    EXPECT_EQ(TickNow(), 1u);
}

TEST_F(TimerScheduleTest, OpenMenuHoldsTicksAndOverdueTickFollowsAtOnce) {
    schedule.SetEnabled(true);
    schedule.SetMenuOpen(true);
    now += 350;
    EXPECT_FALSE(schedule.Running());
    EXPECT_FALSE(TickNow());
    schedule.SetMenuOpen(false);
    EXPECT_EQ(TickNow(), 3u);
    EXPECT_EQ(schedule.TimeUntilDue(), 100.0) << "the overdue tick starts a new interval";
}

TEST_F(TimerScheduleTest, WakeUpDelayDoesNotAddUp) {
    schedule.SetEnabled(true);
    const double start = now;
    for (int i = 0; i < 10; ++i) {
        now += *schedule.TimeUntilDue() + 0.7;  // every wake-up a little late
        ASSERT_EQ(TickNow(), 1u);
    }
    EXPECT_NEAR(now, start + 1000 + 0.7, 1e-9);
}

TEST_F(TimerScheduleTest, SuspendNests) {
    schedule.SetEnabled(true);
    schedule.Suspend();
    schedule.Suspend();
    now += 100;
    schedule.Resume();
    EXPECT_FALSE(TickNow()) << "one box is still open";
    schedule.Resume();
    EXPECT_TRUE(TickNow());
    schedule.Resume();  // an extra Resume must not leave the count below zero
    schedule.Suspend();
    now += 100;
    EXPECT_FALSE(TickNow());
}

TEST_F(TimerScheduleTest, TickIsNeverReentered) {
    schedule.SetInterval(0);
    schedule.SetEnabled(true);
    ASSERT_TRUE(schedule.BeginTick());
    now += 1000;
    EXPECT_FALSE(schedule.Running());
    EXPECT_FALSE(schedule.BeginTick()) << "a nested loop inside the handler got a tick";
    schedule.EndTick();
    EXPECT_TRUE(schedule.BeginTick());
}

TEST_F(TimerScheduleTest, DisablingInsideTheTickStopsFurtherTicks) {
    schedule.SetEnabled(true);
    now += 100;
    ASSERT_TRUE(schedule.BeginTick());
    schedule.SetEnabled(false);
    schedule.EndTick();
    now += 1000;
    EXPECT_FALSE(TickNow());
}

} // namespace
