#pragma once
// Sound effects through SDL_mixer: asynchronous, one at a time, the newest
// replacing the one still playing.

#include <cstdint>
#include <string>
#include <vector>

#include "game/Interfaces.h"

struct Mix_Chunk;

class SdlSound final : public veltrix::SoundInterface {
public:
    SdlSound();
    ~SdlSound() override;
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    // False when neither a real nor SDL's dummy device could be opened;
    // the game then runs silent.
    bool Available() const { return open_; }
    void Play(const std::string& relativePath) override;

private:
    bool OpenDevice();
    void StopCurrent();

    bool open_ = false;
    Mix_Chunk* current_ = nullptr;
    bool currentIsBeep_ = false;
    Mix_Chunk* beep_ = nullptr;
    std::vector<std::uint8_t> beepSamples_;
};
