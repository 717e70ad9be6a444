#include "saves/SavedGameCommands.h"

#include "saves/SavedGameText.h"

namespace veltrix {

void SaveGameFile(const std::string& path, const GameState& state, std::uint32_t interval, FileSystem& fs) {
    SaveFileSafely(path, WriteSavedGame(state, interval), fs);
}

void LoadGameFile(const std::string& path, GameState& state, TimerInterface& timer, FileSystem& fs) {
    const LoadedFile file = LoadFileSafely(path, SavedGameInputLimit, fs);
    const SavedGameRecord record = ReadSavedGame(file.Bytes, file.CutShort);
    StoreSavedGame(record, state, timer);
}

void SaveCommand(const ChooseSavedGame& choose, const GameState& state, TimerInterface& timer, FileSystem& fs) {
    timer.SetEnabled(false);
    if (const auto path = choose()) SaveGameFile(*path, state, timer.Interval(), fs);
    timer.SetEnabled(true);
}

void LoadCommand(const ChooseSavedGame& choose, GameState& state, TimerInterface& timer, FileSystem& fs) {
    timer.SetEnabled(false);
    if (const auto path = choose()) LoadGameFile(*path, state, timer, fs);
    timer.SetEnabled(true);
}

} // namespace veltrix
