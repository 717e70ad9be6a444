// The real SDL player, writing to SDL's "disk" device instead of a sound card.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <unistd.h>
#include <vector>

#include "media/SdlSound.h"

namespace {

// A quiet square wave, far below the chime's loudness, so the two can be told apart.
void WriteQuietWave(const QString& path) {
    constexpr std::uint32_t rate = 22050, frames = rate / 5;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    auto u32 = [&](std::uint32_t v) { file.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](std::uint16_t v) { file.write(reinterpret_cast<const char*>(&v), 2); };
    file.write("RIFF");
    u32(36 + frames * 2);
    file.write("WAVEfmt ");
    u32(16), u16(1), u16(1), u32(rate), u32(rate * 2), u16(2), u16(16);
    file.write("data");
    u32(frames * 2);
    for (std::uint32_t i = 0; i < frames; ++i) u16(static_cast<std::uint16_t>((i / 20) % 2 ? 1000 : -1000));
}

// Loudest sample the device was given while the player ran.
int PlayAndMeasure(const QString& workDir, const QString& relativePath) {
    const QString output = workDir + "/device.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.toLocal8Bit().constData(), 1);
    {
        SdlSound sound;
        EXPECT_TRUE(sound.Available());
        sound.Play(relativePath.toStdString());
        QThread::msleep(500);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    QFile file(output);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    int loudest = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        std::int16_t s;
        std::memcpy(&s, bytes.constData() + i, 2);
        loudest = std::max(loudest, std::abs(static_cast<int>(s)));
    }
    return loudest;
}

class SoundPlayer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        saved = QDir::currentPath();
        ASSERT_TRUE(QDir(dir.path()).mkpath("game/sounds"));
        ASSERT_TRUE(QDir(dir.path()).mkpath("elsewhere"));
        WriteQuietWave(dir.path() + "/game/sounds/eat.wav");
    }
    void TearDown() override { QDir::setCurrent(saved); }
    QTemporaryDir dir;
    QString saved;
};

} // namespace

TEST_F(SoundPlayer, PlaysThePresentFileRelativeToTheCurrentDirectory) {
    ASSERT_TRUE(QDir::setCurrent(dir.path() + "/game"));
    const int loudest = PlayAndMeasure(dir.path(), "sounds/eat.wav");
    EXPECT_GT(loudest, 500) << "the file's samples reach the device";
    EXPECT_LT(loudest, 2000) << "and it is the file, not the chime";
}

TEST_F(SoundPlayer, MissingFilePlaysTheChimeInstead) {
    ASSERT_TRUE(QDir::setCurrent(dir.path() + "/elsewhere"));
    EXPECT_GT(PlayAndMeasure(dir.path(), "sounds/eat.wav"), 4000);
}

TEST(SoundPlayerDevice, RunsSilentlyWithoutAnyDevice) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        SdlSound sound;  // falls back to the dummy device
        EXPECT_TRUE(sound.Available());
        sound.Play("sounds/none.wav");
        sound.Play("sounds/none.wav");
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}
