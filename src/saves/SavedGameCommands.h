#pragma once
// The save and load commands without their dialogs: the dialog is whatever
// supplies the chosen path, or nothing when the player cancels.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "game/GameState.h"
#include "game/Interfaces.h"
#include "saves/SafeFile.h"

namespace veltrix {

// Writes the game to `path`, replacing any file there without asking.
void SaveGameFile(const std::string& path, const GameState& state, std::uint32_t interval,
                  FileSystem& fs = SystemFileSystem());

// Reads and checks the whole file, then stores it; on any error nothing of
// the game or the timer changes. Loading neither draws nor sets the caption.
void LoadGameFile(const std::string& path, GameState& state, TimerInterface& timer,
                  FileSystem& fs = SystemFileSystem());

using ChooseSavedGame = std::function<std::optional<std::string>()>;

// Timer off, ask for the file, transfer it, timer on whatever the player
// chose. A FileError leaves the timer off and travels on to the error box.
void SaveCommand(const ChooseSavedGame& choose, const GameState& state, TimerInterface& timer,
                 FileSystem& fs = SystemFileSystem());
void LoadCommand(const ChooseSavedGame& choose, GameState& state, TimerInterface& timer,
                 FileSystem& fs = SystemFileSystem());

} // namespace veltrix
