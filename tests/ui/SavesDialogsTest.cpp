// The save and load commands through Qt's file dialog, driven as a player
// would: a name typed into the dialog, the error box read and closed.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "game/ErrorText.h"
#include "../core/GameDoubles.h"
#include "saves/FileError.h"
#include "saves/SavedGameDialogs.h"
#include "saves/SavedGameText.h"
#include "window/Guarded.h"

namespace {

using PlainTimer = veltrix::testing::FakeTimer;

// Answers whatever modal window comes up: types `name` into a file dialog
// (or cancels it when empty) and reads and closes message boxes.
class Player {
public:
    Player(const PlainTimer& timer, QString name) : timer_(timer), name_(std::move(name)) {
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, [this] { Act(); });
        poll_.start();
    }

    std::vector<std::string> seen;

private:
    void Act() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            seen.push_back(timer_.enabled ? "dialog while ticking" : "dialog");
            if (name_.isEmpty()) {
                dialog->reject();
                return;
            }
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(edit, nullptr);
            edit->clear();
            QTest::keyClicks(edit, name_);
            QTest::keyClick(edit, Qt::Key_Return);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.push_back("box: " + box->text().toStdString());
            box->done(QMessageBox::Ok);
        }
    }

    const PlainTimer& timer_;
    QString name_;
    QTimer poll_;
};

class SavesDialogs : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }

    QString Folder() const { return folder_.path(); }
    std::string Path(const QString& name) const { return QFile::encodeName(folder_.filePath(name)).toStdString(); }
    void Put(const QString& name, const QByteArray& bytes) const {
        QFile file(folder_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Contents(const QString& name) const {
        QFile file(folder_.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList Names() const { return QDir(Folder()).entryList(QDir::Files | QDir::Hidden); }

    static veltrix::GameState Running() {
        veltrix::GameState state;
        state.Score = 40;
        state.Level = 2;
        state.Food = {250, 350};
        state.Serpent.Direction = veltrix::HeadingDown;
        state.Serpent.Length = 2;
        state.Serpent.Body[1] = {100, 125};
        state.Serpent.Body[2] = {100, 100};
        return state;
    }

    QTemporaryDir folder_;
    PlainTimer timer_ = [] {
        PlainTimer timer;
        timer.enabled = true;  // a game is running
        return timer;
    }();
};

TEST_F(SavesDialogs, ConfiguresQtsOwnDialogForSavedGames) {
    for (auto mode : {QFileDialog::AcceptSave, QFileDialog::AcceptOpen}) {
        QFileDialog dialog;
        ConfigureSavedGameDialog(dialog, mode, Folder());
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog.acceptMode(), mode);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);  // the file need not exist
        EXPECT_EQ(dialog.defaultSuffix(), "savl");
        EXPECT_EQ(dialog.nameFilters(), QStringList{"savl (*.savl)"});
        EXPECT_EQ(dialog.directory().absolutePath(), QDir(Folder()).absolutePath());
    }
    EXPECT_EQ(SavedGamesFolder(), QCoreApplication::applicationDirPath() + "/saves");
}

TEST_F(SavesDialogs, TypedNameWithoutExtensionIsSavedAsSavl) {
    QFileDialog dialog;
    ConfigureSavedGameDialog(dialog, QFileDialog::AcceptSave, Folder());
    timer_.interval = 60;
    Player player(timer_, "game");
    RunSaveCommand(dialog, Running(), timer_);
    EXPECT_EQ(player.seen, std::vector<std::string>{"dialog"});
    EXPECT_TRUE(timer_.enabled);
    EXPECT_EQ(Names(), QStringList{"game.savl"});
    EXPECT_EQ(Contents("game.savl").toStdString(), veltrix::WriteSavedGame(Running(), 60));
}

TEST_F(SavesDialogs, SavingOverAFileReplacesItWithoutAQuestion) {
    Put("game.savl", "an older and longer saved game\r\n");
    QFileDialog dialog;
    ConfigureSavedGameDialog(dialog, QFileDialog::AcceptSave, Folder());
    Player player(timer_, "game.savl");
    RunSaveCommand(dialog, Running(), timer_);
    EXPECT_EQ(player.seen, std::vector<std::string>{"dialog"});
    EXPECT_EQ(Contents("game.savl").toStdString(), veltrix::WriteSavedGame(Running(), 100));
    EXPECT_EQ(Names(), QStringList{"game.savl"});
}

TEST_F(SavesDialogs, LoadTakesTheTypedFileAndTheGameGoesOn) {
    Put("crafted.savl", "$50\r\n120\r\n4\r\n1\r\n0\r\n25\r\n4\r\n75\r\n100\r\n");
    QFileDialog dialog;
    ConfigureSavedGameDialog(dialog, QFileDialog::AcceptOpen, Folder());
    veltrix::GameState state = Running();
    Player player(timer_, "crafted");
    RunLoadCommand(dialog, state, timer_);
    EXPECT_EQ(player.seen, std::vector<std::string>{"dialog"});
    // No completion list left open to keep the main window inactive.
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(timer_.enabled);
    EXPECT_EQ(timer_.interval, 80u);
    EXPECT_EQ(state.Score, 120);
    EXPECT_EQ(state.Level, 4);
    EXPECT_EQ(state.Serpent.Length, 1);
    EXPECT_EQ(state.Serpent.Direction, veltrix::HeadingRight);
    EXPECT_EQ(state.Serpent.Body[1], (veltrix::TSegment{75, 100}));
    EXPECT_EQ(state.Serpent.Body[2], (veltrix::TSegment{100, 100}));  // beyond the length: kept
}

TEST_F(SavesDialogs, CancelledDialogChangesNothingAndTheTimerRuns) {
    timer_.enabled = false;  // before any game: ticks start on the zero state
    for (auto mode : {QFileDialog::AcceptSave, QFileDialog::AcceptOpen}) {
        QFileDialog dialog;
        ConfigureSavedGameDialog(dialog, mode, Folder());
        veltrix::GameState state;
        Player player(timer_, "");
        if (mode == QFileDialog::AcceptSave)
            RunSaveCommand(dialog, state, timer_);
        else
            RunLoadCommand(dialog, state, timer_);
        EXPECT_EQ(player.seen, std::vector<std::string>{"dialog"});
        EXPECT_TRUE(timer_.enabled);
        EXPECT_EQ(state.Serpent.Length, 0);
    }
    EXPECT_TRUE(Names().isEmpty());
}

struct BoxCase {
    const char* name;
    QFileDialog::AcceptMode mode;
    const char* typed;
    const char* box;
};
void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class SavesErrorBox : public SavesDialogs, public ::testing::WithParamInterface<BoxCase> {};

// The error reaches the program's error box with its full stop; the game
// stays paused and unchanged.
TEST_P(SavesErrorBox, ShowsTheFileErrorAndKeepsTheGamePaused) {
    const BoxCase& c = GetParam();
    Put("letters.savl", "100\r\nten\r\n");
    Put("long.savl", "100\r\n0\r\n1\r\n201\r\n");
    QFileDialog dialog;
    ConfigureSavedGameDialog(dialog, c.mode, Folder());
    veltrix::GameState state = Running();
    Player player(timer_, c.typed);
    Guarded(nullptr, nullptr, [&] {
        if (c.mode == QFileDialog::AcceptSave)
            RunSaveCommand(dialog, state, timer_);
        else
            RunLoadCommand(dialog, state, timer_);
    });
    EXPECT_EQ(player.seen, (std::vector<std::string>{"dialog", std::string("box: ") + c.box}));
    EXPECT_FALSE(timer_.enabled);
    EXPECT_EQ(timer_.interval, 100u);
    EXPECT_EQ(state.Score, Running().Score);
    EXPECT_EQ(state.Serpent.Body, Running().Serpent.Body);
}

INSTANTIATE_TEST_SUITE_P(
    SavesBoxes, SavesErrorBox,
    ::testing::Values(BoxCase{"LoadMissing", QFileDialog::AcceptOpen, "missing", "File not found."},
                      BoxCase{"LoadLetters", QFileDialog::AcceptOpen, "letters", "Invalid numeric input."},
                      BoxCase{"LoadTooLong", QFileDialog::AcceptOpen, "long.savl", "Invalid numeric input."},
                      BoxCase{"LoadMissingFolder", QFileDialog::AcceptOpen, "nowhere/game", "Invalid filename."},
                      BoxCase{"SaveMissingFolder", QFileDialog::AcceptSave, "nowhere/game", "Invalid filename."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
