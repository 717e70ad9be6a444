#include "saves/SavedGameDialogs.h"

#include <QCoreApplication>
#include <QAbstractItemView>
#include <QCompleter>
#include <QFile>
#include <QLineEdit>

#include "saves/SavedGameCommands.h"

QString SavedGamesFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/saves"); }

void ConfigureSavedGameDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode, const QString& folder) {
    // Qt's dialog also leaves the current directory alone, so the sound
    // effects, looked up relative to it, keep playing after a save or load.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("savl"));
    dialog.setNameFilter(QStringLiteral("savl (*.savl)"));
    dialog.setDirectory(folder);
}

std::optional<std::string> RunSavedGameDialog(QFileDialog& dialog) {
    const int result = dialog.exec();
    // A name typed in full can leave the name box's completion list open
    // after the dialog has closed; as the active popup it would keep the
    // main window inactive, and the ticks with it, until the next click.
    for (auto* edit : dialog.findChildren<QLineEdit*>())
        if (QCompleter* completer = edit->completer()) completer->popup()->hide();
    if (result != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return QFile::encodeName(files.first()).toStdString();
}

void RunSaveCommand(QFileDialog& dialog, const veltrix::GameState& state, veltrix::TimerInterface& timer) {
    veltrix::SaveCommand([&dialog] { return RunSavedGameDialog(dialog); }, state, timer);
}

void RunLoadCommand(QFileDialog& dialog, veltrix::GameState& state, veltrix::TimerInterface& timer) {
    veltrix::LoadCommand([&dialog] { return RunSavedGameDialog(dialog); }, state, timer);
}
