#include <gtest/gtest.h>

#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "media/DXTimer.h"

namespace {

// Waiting here only gives the timer a chance to run; nothing is asserted
// about how fast it is.
constexpr int Patience = 5000;

class TimerDXTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(200, 200);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        timer.SetWindow(&window);
        // Activation is driven by the tests that are about it.
        timer.SetActiveOnly(false);
        timer.SetInterval(1);
        timer.SetOnTimer([this](std::uint32_t lag) {
            ++ticks;
            lastLag = lag;
            if (onTick) onTick();
        });
    }

    bool WaitForTicks(int more) {
        const int target = ticks + more;
        return QTest::qWaitFor([&] { return ticks >= target; }, Patience);
    }
    // Lets the event loop run for a while and returns the ticks seen meanwhile.
    int TicksDuring(int milliseconds) {
        const int before = ticks;
        QTest::qWait(milliseconds);
        return ticks - before;
    }

    QWidget window;
    TDXTimer timer;
    int ticks = 0;
    std::uint32_t lastLag = 0;
    std::function<void()> onTick;
};

TEST_F(TimerDXTimerTest, StartsDisabledAndStoresIntervalsAsSpecified) {
    TDXTimer fresh;
    EXPECT_FALSE(fresh.Enabled());
    EXPECT_EQ(fresh.Interval(), 100u);
    fresh.SetInterval(0u - 10u);
    EXPECT_EQ(fresh.Interval(), 0u);
}

TEST_F(TimerDXTimerTest, TicksOnlyWhileEnabled) {
    EXPECT_EQ(TicksDuring(50), 0);
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitForTicks(3));
    EXPECT_GE(lastLag, 1u);
    timer.SetEnabled(false);
    EXPECT_EQ(TicksDuring(50), 0);
}

TEST_F(TimerDXTimerTest, OpenMenuHoldsTicks) {
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitForTicks(1));
    QMenu menu;
    menu.addAction("item");
    menu.popup(window.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !timer.Running(); }, Patience));
    EXPECT_EQ(TicksDuring(50), 0);
    menu.close();
    EXPECT_TRUE(WaitForTicks(2));
}

TEST_F(TimerDXTimerTest, MessageBoxHoldsTicks) {
    timer.SetEnabled(true);
    QMessageBox box(QMessageBox::Critical, "Veltrix", "error", QMessageBox::Ok, &window);
    box.open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !timer.Running(); }, Patience));
    EXPECT_EQ(TicksDuring(50), 0);
    box.close();
    EXPECT_TRUE(WaitForTicks(2));
}

TEST_F(TimerDXTimerTest, SuspendHoldsTicksUntilResumed) {
    timer.SetEnabled(true);
    timer.Suspend();
    EXPECT_EQ(TicksDuring(50), 0);
    timer.Resume();
    EXPECT_TRUE(WaitForTicks(2));
}

TEST_F(TimerDXTimerTest, TicksGoOnUnderTheGamesOwnModalDialog) {
    timer.SetEnabled(true);
    int ticksUnderDialog = -1;
    QTimer::singleShot(0, [&] {
        QDialog about(&window);
        QTimer::singleShot(0, &about, [&] {
            const int before = ticks;
            QTest::qWaitFor([&] { return ticks >= before + 3; }, Patience);
            ticksUnderDialog = ticks - before;
            about.accept();
        });
        about.exec();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticksUnderDialog >= 0; }, 2 * Patience));
    EXPECT_GE(ticksUnderDialog, 3);
}

TEST_F(TimerDXTimerTest, HandlerRunningANestedLoopIsNotReentered) {
    int depth = 0;
    int deepest = 0;
    onTick = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
        --depth;
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitForTicks(3));
    EXPECT_EQ(deepest, 1);
}

TEST_F(TimerDXTimerTest, InactiveApplicationHoldsTicksWithActiveOnly) {
    timer.SetActiveOnly(true);
    timer.SetEnabled(true);
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(TicksDuring(50), 0);
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(WaitForTicks(2));
}

} // namespace
