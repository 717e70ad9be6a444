#pragma once
// The save and load commands with their file dialogs. The window owns the
// two dialogs, configures them once at start and runs a command per click.

#include <QFileDialog>
#include <QString>
#include <optional>
#include <string>

#include "game/GameState.h"
#include "game/Interfaces.h"

// The executable's folder followed by "saves": where both dialogs open.
QString SavedGamesFolder();

// Qt's own dialog (the native one cannot return a file that does not exist),
// the "savl" extension added to a name typed without one, one filter, no
// overwrite question, and the chosen file need not exist.
void ConfigureSavedGameDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode, const QString& folder);

// Runs the dialog; the chosen path in the system's encoding, or nothing when
// the player cancels.
std::optional<std::string> RunSavedGameDialog(QFileDialog& dialog);

// Timer off, dialog, file, timer on. A file error (veltrix::FileError, a
// std::runtime_error whose what() is the box's text) leaves the timer off.
void RunSaveCommand(QFileDialog& dialog, const veltrix::GameState& state, veltrix::TimerInterface& timer);
void RunLoadCommand(QFileDialog& dialog, veltrix::GameState& state, veltrix::TimerInterface& timer);
