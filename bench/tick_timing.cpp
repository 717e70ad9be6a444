// Drives the real tick timer and reports how closely its ticks keep the
// interval, and what the waiting costs in processor time.
//   tick_timing [interval-ms] [ticks]      (defaults: 100 and 100)
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
// Figures are only meaningful on an otherwise idle machine: with builds
// running beside it, the scheduler delays the wake-ups by milliseconds.

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

#include "media/DXTimer.h"

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int interval = argc > 1 ? std::atoi(argv[1]) : 100;
    const int ticks = argc > 2 ? std::atoi(argv[2]) : 100;
    if (interval < 0 || ticks < 1) {
        std::fprintf(stderr, "usage: %s [interval-ms] [ticks]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.resize(502, 576);
    window.show();

    TDXTimer timer;
    timer.SetWindow(&window);
    // The timing itself is measured, not whether a window manager gave us the focus.
    timer.SetActiveOnly(false);
    timer.SetInterval(static_cast<std::uint32_t>(interval));

    QElapsedTimer clock;
    std::vector<double> stamps;
    stamps.reserve(ticks + 1);
    timer.SetOnTimer([&](std::uint32_t) {
        stamps.push_back(clock.nsecsElapsed() / 1e6);
        if (static_cast<int>(stamps.size()) > ticks) {
            timer.SetEnabled(false);
            app.quit();
        }
    });

    const double cpuBefore = CpuSeconds();
    clock.start();
    stamps.push_back(0.0);  // enabling counts as the tick before the first
    timer.SetEnabled(true);
    app.exec();
    const double wall = clock.nsecsElapsed() / 1e9;
    const double cpu = CpuSeconds() - cpuBefore;

    const double refreshHz = window.screen() ? window.screen()->refreshRate() : 0.0;
    const double period = std::max<double>(interval, 1000.0 / (refreshHz >= 1 ? refreshHz : 60.0));
    std::vector<double> errors;
    double sum = 0;
    for (std::size_t i = 1; i < stamps.size(); ++i) {
        const double error = stamps[i] - stamps[i - 1] - period;
        sum += error;
        errors.push_back(std::fabs(error));
    }
    std::sort(errors.begin(), errors.end());
    const double mean = sum / errors.size();
    const double p99 = errors[std::min(errors.size() - 1,
                                       static_cast<std::size_t>(std::ceil(0.99 * errors.size())) - 1)];
    const double cpuShare = 100.0 * cpu / wall;

    std::printf("interval %d ms, expected period %.3f ms (screen %.1f Hz), %d ticks in %.2f s\n",
                interval, period, refreshHz, ticks, wall);
    std::printf("period error: mean %+.3f ms, median |error| %.3f ms, p99 |error| %.3f ms, "
                "max |error| %.3f ms\n",
                mean, errors[errors.size() / 2], p99, errors.back());
    std::printf("cpu: %.3f s = %.2f %% of one core\n", cpu, cpuShare);
    const bool met = std::fabs(mean) <= 0.5 && p99 <= 2.0 && cpuShare < 2.0;
    std::printf("aims (mean within 0.5 ms, p99 within 2 ms, cpu under 2 %%): %s\n",
                met ? "met" : "NOT met");
    return 0;
}
