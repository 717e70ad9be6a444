// One full game-over frame on the real surface against a plain copy of a
// frame's bytes, measured in the same run. The ratio counter is the figure
// to watch: frame time over memcpy time.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "media/DXDraw.h"

namespace {

constexpr std::size_t FrameBytes = std::size_t{TDXDraw::SurfaceWidth} * TDXDraw::SurfaceHeight * 4;

void ComposeFrame(TDXDraw& draw, const veltrix::TextStyle& style) {
    draw.Fill(0);
    draw.Draw(veltrix::PictureBackground, 0, 0, 0);
    for (int i = 0; i < 200; ++i)
        draw.Draw(veltrix::PictureBody, 25 * (i % 20), 25 * (i / 20), 0);
    draw.Draw(veltrix::PictureFood, 250, 400, 0);
    draw.BeginText(style);
    draw.TextOut(100, 300, "GAME OVER!");
    draw.ReleaseText();
}

veltrix::TextStyle GameOverStyle() {
    veltrix::TextStyle style;
    style.FontName = "Arial";
    style.Colour = 255;
    style.PointSize = 35;
    return style;
}

// CPU time of this thread: other busy processes on the machine do not count.
double ThreadNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<unsigned char> source(FrameBytes, 1), target(FrameBytes, 0);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), FrameBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FrameBytes));
}

// The frame and the memcpy take turns within each iteration, so both meet
// the same machine load and caches; the counters hold their mean times and
// the ratio of frame to memcpy.
template <bool WithFlip>
void BM_Frame(benchmark::State& state) {
    TDXDraw draw;
    if (!draw.Initialize()) {
        state.SkipWithError("surface could not be set up");
        return;
    }
    const veltrix::TextStyle style = GameOverStyle();
    std::vector<unsigned char> source(FrameBytes, 1), target(FrameBytes, 0);
    ComposeFrame(draw, style);  // warms the glyph cache like a running game
    double frameTime = 0, copyTime = 0;
    for (auto _ : state) {
        const double start = ThreadNanoseconds();
        std::memcpy(target.data(), source.data(), FrameBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
        const double copied = ThreadNanoseconds();
        ComposeFrame(draw, style);
        if constexpr (WithFlip)
            draw.Flip();
        benchmark::DoNotOptimize(draw.BackBuffer().constBits());
        benchmark::ClobberMemory();
        const double composed = ThreadNanoseconds();
        copyTime += copied - start;
        frameTime += composed - copied;
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["frame_ns"] = frameTime / n;
    state.counters["memcpy_ns"] = copyTime / n;
    state.counters["ratio_to_memcpy"] = copyTime > 0 ? frameTime / copyTime : 0;
}

BENCHMARK(BM_MemcpyFrame);
BENCHMARK(BM_Frame<false>)->Name("BM_ComposeFrame");
BENCHMARK(BM_Frame<true>)->Name("BM_ComposeAndFlipFrame");

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
