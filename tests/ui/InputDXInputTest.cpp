#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <SDL.h>

#include "media/DXInput.h"
#include "media/SdlJoystick.h"

using veltrix::DirectionStates;

namespace {

constexpr DirectionStates None{};
constexpr DirectionStates Up{true, false, false, false};
constexpr DirectionStates Down{false, true, false, false};
constexpr DirectionStates Left{false, false, true, false};
constexpr DirectionStates Right{false, false, false, true};

void PrintTo(const DirectionStates& s, std::ostream* os) {
    *os << "{Up " << s.Up << ", Down " << s.Down << ", Left " << s.Left << ", Right " << s.Right
        << "}";
}

// Keys land on a focused child, as they do on the real window.
class InputDXInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(200, 200);
        field = new QWidget(&window);
        field->setFocusPolicy(Qt::StrongFocus);
        window.show();
        Activate(window);
        field->setFocus();
    }

    static void Activate(QWidget& w) {
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    void Key(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             quint32 scanCode = 0, bool autoRepeat = false) {
        QKeyEvent event(type, key, modifiers, scanCode, 0, 0, QString(), autoRepeat);
        QApplication::sendEvent(field, &event);
    }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, quint32 scan = 0) {
        Key(QEvent::KeyPress, key, modifiers, scan);
    }
    void Release(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, quint32 scan = 0) {
        Key(QEvent::KeyRelease, key, modifiers, scan);
    }

    QWidget window;
    QWidget* field = nullptr;
    TDXInput input{&window};
};

struct KeyCase {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    DirectionStates states;
};

class InputKeyTableTest : public InputDXInputTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(InputKeyTableTest, KeyHeldSetsItsStateAndReleaseClearsIt) {
    const KeyCase& c = GetParam();
    Press(c.key, c.modifiers);
    EXPECT_EQ(input.Poll(), c.states);
    Release(c.key, c.modifiers);
    EXPECT_EQ(input.Poll(), None);
}

constexpr Qt::KeyboardModifiers Keypad = Qt::KeypadModifier;

INSTANTIATE_TEST_SUITE_P(
    InputKeys, InputKeyTableTest,
    ::testing::Values(KeyCase{"K", Qt::Key_K, {}, Up}, KeyCase{"ArrowUp", Qt::Key_Up, {}, Up},
                      KeyCase{"Keypad8", Qt::Key_8, Keypad, Up},
                      KeyCase{"Keypad8NumLockOff", Qt::Key_Up, Keypad, Up},
                      KeyCase{"J", Qt::Key_J, {}, Down}, KeyCase{"ArrowDown", Qt::Key_Down, {}, Down},
                      KeyCase{"Keypad2", Qt::Key_2, Keypad, Down},
                      KeyCase{"H", Qt::Key_H, {}, Left}, KeyCase{"ArrowLeft", Qt::Key_Left, {}, Left},
                      KeyCase{"Keypad4", Qt::Key_4, Keypad, Left},
                      KeyCase{"L", Qt::Key_L, {}, Right},
                      KeyCase{"ArrowRight", Qt::Key_Right, {}, Right},
                      KeyCase{"Keypad6", Qt::Key_6, Keypad, Right},
                      KeyCase{"ShiftK", Qt::Key_K, Qt::ShiftModifier, Up},
                      KeyCase{"Digit8", Qt::Key_8, {}, None}, KeyCase{"Digit2", Qt::Key_2, {}, None},
                      KeyCase{"Keypad5", Qt::Key_5, Keypad, None},
                      KeyCase{"W", Qt::Key_W, {}, None}, KeyCase{"Space", Qt::Key_Space, {}, None}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputDXInputTest, StatesAreTheUnionOfHeldKeys) {
    Press(Qt::Key_K);
    Press(Qt::Key_6, Keypad);
    EXPECT_EQ(input.Poll(), (DirectionStates{true, false, false, true}));
    Release(Qt::Key_K);
    EXPECT_EQ(input.Poll(), Right);
}

TEST_F(InputDXInputTest, TapBetweenPollsIsNotSeenAndHeldKeyIsSeenByEveryPoll) {
    Press(Qt::Key_Left);
    Release(Qt::Key_Left);
    EXPECT_EQ(input.Poll(), None);
    Press(Qt::Key_Left);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(input.Poll(), Left) << "poll " << i;
}

TEST_F(InputDXInputTest, AutoRepeatDoesNotLetGoOfAHeldKey) {
    constexpr quint32 ScanK = 45;
    Press(Qt::Key_K, {}, ScanK);
    for (int i = 0; i < 3; ++i) {
        Key(QEvent::KeyRelease, Qt::Key_K, {}, ScanK, true);
        EXPECT_EQ(input.Poll(), Up);
        Key(QEvent::KeyPress, Qt::Key_K, {}, ScanK, true);
    }
    Release(Qt::Key_K, {}, ScanK);
    EXPECT_EQ(input.Poll(), None);
}

TEST_F(InputDXInputTest, NumLockToggledWhileHeldStillLetsGo) {
    constexpr quint32 ScanKeypad8 = 80;
    Press(Qt::Key_8, Keypad, ScanKeypad8);
    EXPECT_EQ(input.Poll(), Up);
    Release(Qt::Key_Up, Keypad, ScanKeypad8);
    EXPECT_EQ(input.Poll(), None);
}

TEST_F(InputDXInputTest, LosingActivationForgetsHeldKeysUntilPressedAgain) {
    Press(Qt::Key_Down);
    {
        QWidget other;
        other.show();
        Activate(other);
        Press(Qt::Key_Left);  // not the watched window's input
        EXPECT_EQ(input.Poll(), None) << "another window is in front";
    }
    Activate(window);
    EXPECT_EQ(input.Poll(), None) << "a key released elsewhere must not stay stuck";
    Key(QEvent::KeyPress, Qt::Key_Down, {}, 0, true);
    EXPECT_EQ(input.Poll(), Down) << "a key still held counts again from its next repeat";
}

TEST_F(InputDXInputTest, ActivationLostBetweenPollsStillForgetsHeldKeys) {
    Press(Qt::Key_Down);
    {
        QWidget other;
        other.show();
        Activate(other);
    }
    Activate(window);
    EXPECT_EQ(input.Poll(), None);
}

TEST_F(InputDXInputTest, MenuOpenedBetweenPollsForgetsHeldKeys) {
    Press(Qt::Key_H);
    QMenu menu;
    menu.addAction("item");
    menu.popup(window.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    menu.close();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
    EXPECT_EQ(input.Poll(), None);
}

TEST_F(InputDXInputTest, NothingIsReadWhileAMenuIsOpen) {
    QMenu menu;
    menu.addAction("item");
    menu.popup(window.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    Press(Qt::Key_H);
    EXPECT_EQ(input.Poll(), None);
}

TEST_F(InputDXInputTest, ScaleJoystickAxisTable) {
    struct Case {
        int raw;
        int scaled;
    };
    for (const Case c : {Case{0, 0}, Case{-32768, -1000}, Case{32767, 1000}, Case{16383, 0},
                         Case{16384, 0}, Case{-16384, 0}, Case{16417, 501}, Case{-16417, -501},
                         Case{-20000, -610}}) {
        EXPECT_EQ(ScaleJoystickAxis(c.raw), c.scaled) << "raw " << c.raw;
    }
}

// A joystick made by SDL itself, so no hardware is needed.
class InputJoystickTest : public InputDXInputTest {
protected:
    void SetUp() override {
        InputDXInputTest::SetUp();
        input.Poll();
        if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) GTEST_SKIP() << "no SDL joystick support";
        if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real joystick is attached";
        index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 0, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        stick = SDL_JoystickOpen(index);
        ASSERT_NE(stick, nullptr) << SDL_GetError();
    }
    void TearDown() override {
        if (stick) SDL_JoystickClose(stick);
        if (index >= 0) SDL_JoystickDetachVirtual(index);
        input.Poll();  // lets the reader notice the joystick is gone
    }
    void Deflect(Sint16 x, Sint16 y) {
        SDL_JoystickSetVirtualAxis(stick, 0, x);
        SDL_JoystickSetVirtualAxis(stick, 1, y);
    }

    int index = -1;
    SDL_Joystick* stick = nullptr;
};

TEST_F(InputJoystickTest, AxesGiveDirectionsOutsideTheDeadZone) {
    struct Case {
        Sint16 x, y;
        DirectionStates states;
    };
    for (const Case c : {Case{0, 0, None}, Case{-32768, 0, Left}, Case{32767, 0, Right},
                         Case{0, -32768, Up}, Case{0, 32767, Down},
                         Case{16384, -16384, None}, Case{-16417, 16417, {false, true, true, false}},
                         Case{-20000, -20000, {true, false, true, false}}}) {
        Deflect(c.x, c.y);
        EXPECT_EQ(input.Poll(), c.states) << "x " << c.x << " y " << c.y;
    }
}

TEST_F(InputJoystickTest, JoystickAndKeyboardAreJoined) {
    Deflect(32767, 0);
    Press(Qt::Key_Up);
    EXPECT_EQ(input.Poll(), (DirectionStates{true, false, false, true}));
}

TEST_F(InputJoystickTest, NothingIsReadWhileAnotherWindowIsInFront) {
    Deflect(32767, 0);
    QWidget about;
    about.show();
    Activate(about);
    EXPECT_EQ(input.Poll(), None);
}

TEST_F(InputJoystickTest, JoystickPulledOutContributesNothing) {
    Deflect(32767, 0);
    ASSERT_EQ(input.Poll(), Right);
    SDL_JoystickClose(stick);
    stick = nullptr;
    SDL_JoystickDetachVirtual(index);
    index = -1;
    EXPECT_EQ(input.Poll(), None);
}

TEST(InputHotPlugTest, JoystickPluggedInLaterIsPickedUp) {
    SdlJoystick reader;
    if (!reader.Available()) GTEST_SKIP() << "no SDL joystick support";
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real joystick is attached";
    EXPECT_EQ(reader.Read(), None);
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 0, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    SDL_JoystickSetVirtualAxis(stick, 1, -32768);
    EXPECT_EQ(reader.Read(), Up);
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
}

} // namespace
