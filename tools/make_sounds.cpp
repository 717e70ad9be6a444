// Synthesises the game's four sound effects as 16-bit mono PCM wave files.
// Usage: make_sounds <output folder>   (the committed copies live in assets/sounds)

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 22050;
constexpr double Pi = 3.14159265358979323846;

struct Note {
    double hertz;   // 0 is a rest
    double seconds;
};

// A soft plucked voice: a sine with a touch of its octave, quick attack and
// exponential decay, so short notes never click.
void AddNote(std::vector<double>& out, double start, const Note& note, double gain) {
    const int first = static_cast<int>(start * Rate);
    const int count = static_cast<int>(note.seconds * Rate);
    if (out.size() < static_cast<std::size_t>(first + count)) out.resize(static_cast<std::size_t>(first + count));
    if (note.hertz <= 0) return;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / Rate;
        const double attack = std::min(1.0, t / 0.006);
        const double release = std::min(1.0, (note.seconds - t) / 0.015);
        const double decay = std::exp(-3.5 * t / note.seconds);
        const double wave = std::sin(2 * Pi * note.hertz * t) + 0.3 * std::sin(4 * Pi * note.hertz * t);
        out[static_cast<std::size_t>(first + i)] += gain * attack * release * decay * wave;
    }
}

std::vector<double> Melody(const std::vector<Note>& notes, double gain, double overlap = 0.0) {
    std::vector<double> out;
    double start = 0;
    for (const Note& note : notes) {
        AddNote(out, start, note, gain);
        start += note.seconds * (1.0 - overlap);
    }
    return out;
}

bool WriteWave(const std::string& path, const std::vector<double>& samples) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    auto u32 = [&](std::uint32_t v) { std::fwrite(&v, 4, 1, file); };
    auto u16 = [&](std::uint16_t v) { std::fwrite(&v, 2, 1, file); };
    std::fwrite("RIFF", 1, 4, file);
    u32(36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, file);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(Rate);
    u32(Rate * 2);
    u16(2);
    u16(16);
    std::fwrite("data", 1, 4, file);
    u32(dataBytes);
    for (double s : samples) {
        const double clipped = std::max(-1.0, std::min(1.0, s));
        const auto value = static_cast<std::int16_t>(std::lround(clipped * 32000));
        std::fwrite(&value, 2, 1, file);
    }
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    // C major: a bright start jingle, a blip, a rising arpeggio, a falling phrase.
    const auto begin = Melody({{523.25, 0.09}, {659.25, 0.09}, {783.99, 0.09}, {1046.5, 0.28}}, 0.45);
    const auto eat = Melody({{987.77, 0.045}, {1318.5, 0.07}}, 0.4);
    const auto level = Melody({{523.25, 0.07}, {659.25, 0.07}, {783.99, 0.07}, {1046.5, 0.07},
                               {1318.5, 0.07}, {1568.0, 0.3}}, 0.4);
    const auto over = Melody({{659.25, 0.16}, {587.33, 0.16}, {523.25, 0.16}, {392.0, 0.16}, {261.63, 0.32}},
                             0.45);
    bool ok = WriteWave(folder + "/begin.wav", begin) && WriteWave(folder + "/eat.wav", eat) &&
              WriteWave(folder + "/level.wav", level) && WriteWave(folder + "/over.wav", over);
    if (!ok) std::fprintf(stderr, "could not write the wave files to %s\n", folder.c_str());
    return ok ? 0 : 1;
}
