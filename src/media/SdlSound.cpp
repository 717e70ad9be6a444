#include "media/SdlSound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cmath>
#include <cstring>

#include "media/SdlRuntime.h"

namespace {

constexpr int Frequency = 44100;
constexpr int Channel = 0;

// Stand-in for the system's default sound: a short soft two-tone chime,
// played when an effect's file is missing or unreadable.
std::vector<std::uint8_t> MakeBeep(int frequency, Uint16 format, int channels) {
    const int frames = frequency * 18 / 100;
    std::vector<std::int16_t> mono(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / frequency;
        const double tone = (i < frames / 2) ? 880.0 : 660.0;
        const double envelope = std::exp(-6.0 * (i % (frames / 2)) / (frames / 2.0));
        mono[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(9000.0 * envelope * std::sin(2.0 * M_PI * tone * t));
    }
    // Convert to the device's own format so QuickLoad_RAW can play it as is.
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, AUDIO_S16SYS, 1, frequency, format, static_cast<Uint8>(channels), frequency) < 0)
        return {};
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(frames) * 2 * static_cast<std::size_t>(cvt.len_mult));
    std::memcpy(buffer.data(), mono.data(), static_cast<std::size_t>(frames) * 2);
    cvt.buf = buffer.data();
    cvt.len = frames * 2;
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0) return {};
    buffer.resize(static_cast<std::size_t>(cvt.len_cvt));
    return buffer;
}

} // namespace

SdlSound::SdlSound() {
    open_ = OpenDevice();
    if (!open_) return;
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    beepSamples_ = MakeBeep(frequency, format, channels);
    if (!beepSamples_.empty())
        beep_ = Mix_QuickLoad_RAW(beepSamples_.data(), static_cast<Uint32>(beepSamples_.size()));
}

SdlSound::~SdlSound() {
    if (!open_) return;
    StopCurrent();
    if (beep_) Mix_FreeChunk(beep_);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSound::OpenDevice() {
    PrepareSdl();
    auto tryOpen = []() {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        if (Mix_OpenAudio(Frequency, AUDIO_S16SYS, 2, 1024) != 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        return true;
    };
    bool ok = tryOpen();
    if (!ok) {
        // No sound card: SDL's dummy device keeps the effects' timing and
        // code paths alive without any output.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        ok = tryOpen();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    if (ok) Mix_AllocateChannels(1);
    return ok;
}

void SdlSound::StopCurrent() {
    Mix_HaltChannel(Channel);
    if (current_ && !currentIsBeep_) Mix_FreeChunk(current_);
    current_ = nullptr;
    currentIsBeep_ = false;
}

void SdlSound::Play(const std::string& relativePath) {
    if (!open_) return;
    StopCurrent();
    // Opened at the moment of playing, against the current directory then.
    current_ = Mix_LoadWAV(relativePath.c_str());
    currentIsBeep_ = current_ == nullptr;
    if (currentIsBeep_) current_ = beep_;
    if (current_) Mix_PlayChannel(Channel, current_, 0);
}
