#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

#include "QtPrinting.h"
#include "game/Captions.h"
#include "media/DXTimer.h"
#include "window/Guarded.h"
#include "window/MainForm.h"

namespace {

struct RecordingSound final : veltrix::SoundInterface {
    std::vector<std::string> played;
    void Play(const std::string& path) override { played.push_back(path); }
};

class MainFormTest : public ::testing::Test {
protected:
    RecordingSound sound;
    TMainForm form{sound};
};

QString StartCaption() {
    return QString::fromStdString(veltrix::StartCaption());
}

} // namespace

TEST_F(MainFormTest, StartsWithTheStartCaptionAndNoGame) {
    EXPECT_EQ(form.windowTitle(), StartCaption());
    EXPECT_FALSE(form.DXTimer->Enabled());
    EXPECT_EQ(form.DXTimer->Interval(), 100u);
    EXPECT_EQ(form.State.Level, 0);
    EXPECT_EQ(form.State.Serpent.Length, 0);
    EXPECT_TRUE(form.State.SoundEnabled);
}

TEST_F(MainFormTest, ClientAreaIsFixedAt502By576BelowTheMenuBar) {
    form.show();
    QApplication::processEvents();
    const QWidget* area = form.centralWidget();
    EXPECT_EQ(area->size(), QSize(502, 576));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "the window cannot be resized";
    EXPECT_EQ(form.height(), 576 + form.menuBar()->height());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.menuBar()->isNativeMenuBar());
}

TEST_F(MainFormTest, MenuMatchesItsDesign) {
    struct Item {
        const char* path;  // object names from the menu bar down
        QString text;
        bool checkable, checked;
    };
    const Item items[] = {
        {"NGame", "游戏(&G)", false, false},     {"NGame/NNew", "开始(&N)", false, false},
        {"NGame/N6", "", false, false},          {"NGame/NSound", "音效", false, false},
        {"NGame/NSound/NSoundOn", "开", true, true}, {"NGame/NSound/NSoundOff", "关", true, false},
        {"NGame/NLevel", "允许过关", true, true},  {"NGame/N8", "", false, false},
        {"NGame/NSave", "储存进度(&S)", false, false}, {"NGame/NLoad", "读取进度(&R)", false, false},
        {"NAbout", "关于(&A)", false, false},     {"NQuit", "退出(&Q)", false, false},
    };
    QStringList seen;
    std::function<void(const QList<QAction*>&, const QString&)> walk = [&](const QList<QAction*>& actions,
                                                                           const QString& prefix) {
        for (QAction* action : actions) {
            const QString name = action->menu() ? action->menu()->objectName() : action->objectName();
            seen << prefix + name;
            if (action->menu()) walk(action->menu()->actions(), prefix + name + "/");
            EXPECT_TRUE(action->shortcut().isEmpty()) << name.toStdString();
        }
    };
    walk(form.menuBar()->actions(), "");
    QStringList expected;
    for (const Item& item : items) expected << item.path;
    EXPECT_EQ(seen, expected);
    for (const Item& item : items) {
        const QString leaf = QString(item.path).section('/', -1);
        QAction* action = form.findChild<QAction*>(leaf);
        if (!action) action = form.findChild<QMenu*>(leaf)->menuAction();
        if (!item.text.isEmpty()) EXPECT_EQ(action->text(), item.text) << item.path;
        EXPECT_EQ(action->isCheckable(), item.checkable) << item.path;
        EXPECT_EQ(action->isChecked(), item.checked) << item.path;
    }
}

TEST_F(MainFormTest, StartItemStartsANewGame) {
    form.State.Level = 9;
    form.DXTimer->SetInterval(20);
    form.Item("NNew")->trigger();
    EXPECT_EQ(form.State.Level, 1);
    EXPECT_EQ(form.State.Serpent.Length, 5);
    EXPECT_EQ(form.State.Food, (veltrix::TSegment{250, 350}));
    EXPECT_EQ(form.DXTimer->Interval(), 100u);
    EXPECT_TRUE(form.DXTimer->Enabled());
    EXPECT_EQ(form.windowTitle(), StartCaption());
    EXPECT_EQ(sound.played, std::vector<std::string>{"sounds/begin.wav"});
    form.DXTimer->SetEnabled(false);
}

TEST_F(MainFormTest, SoundSwitchesKeepExactlyOneItemChecked) {
    QAction* on = form.Item("NSoundOn");
    QAction* off = form.Item("NSoundOff");
    struct Step {
        QAction* item;
        bool soundAfter;
    } steps[] = {{on, true}, {off, false}, {off, false}, {on, true}, {on, true}};
    for (const Step& step : steps) {
        step.item->trigger();
        EXPECT_EQ(form.State.SoundEnabled, step.soundAfter);
        EXPECT_EQ(on->isChecked(), step.soundAfter);
        EXPECT_EQ(off->isChecked(), !step.soundAfter);
    }
    off->trigger();
    form.Item("NNew")->trigger();
    EXPECT_TRUE(sound.played.empty()) << "no start effect while sound is off";
    form.DXTimer->SetEnabled(false);
}

TEST_F(MainFormTest, LevelItemTurnsItsMarkOncePerClick) {
    QAction* level = form.Item("NLevel");
    level->trigger();
    EXPECT_FALSE(level->isChecked());
    level->trigger();
    EXPECT_TRUE(level->isChecked());
    form.NLevelClick();  // a direct call turns it too
    EXPECT_FALSE(level->isChecked());
}

TEST_F(MainFormTest, QuitItemClosesTheWindow) {
    form.show();
    QApplication::processEvents();
    form.Item("NQuit")->trigger();
    EXPECT_FALSE(form.isVisible());
}

// Connections made by name fail silently at run time: every item that opens
// a dialog must reach its handler, which shows the right one.
TEST_F(MainFormTest, DialogItemsReachTheirHandlers) {
    form.show();
    struct Case {
        const char* item;
        QString dialogName;
        bool timerEnabledWhileOpen;
    } cases[] = {{"NSave", "SaveDialog", false}, {"NLoad", "OpenDialog", false}, {"NAbout", "FormAbout", true}};
    for (const Case& c : cases) {
        form.DXTimer->SetEnabled(true);
        QString seen;
        bool timerWhileOpen = !c.timerEnabledWhileOpen;
        QTimer::singleShot(50, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr) << c.item;
            seen = modal->objectName();
            timerWhileOpen = form.DXTimer->Enabled();
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        });
        form.Item(c.item)->trigger();
        EXPECT_EQ(seen, c.dialogName) << c.item;
        EXPECT_EQ(timerWhileOpen, c.timerEnabledWhileOpen) << c.item;
        EXPECT_TRUE(form.DXTimer->Enabled()) << c.item << ": ticks go on after a cancelled dialog";
        EXPECT_EQ(form.FormAbout, nullptr);
    }
    form.DXTimer->SetEnabled(false);
}

TEST(ErrorBox, ShowsTheMessageWithTitleIconAndFullStop) {
    QApplication::setApplicationName("Veltrix");
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->accept();
    });
    bool after = false;
    Guarded(nullptr, nullptr, [] { throw std::runtime_error("File not found"); });
    after = true;
    EXPECT_TRUE(after) << "the program carries on";
    EXPECT_EQ(title, "Veltrix");
    EXPECT_EQ(text, "File not found.");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::Ok);
}
