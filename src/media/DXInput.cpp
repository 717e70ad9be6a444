#include "media/DXInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "media/SdlJoystick.h"

namespace {

// Identifies the physical key. Synthetic events (tests, accessibility
// tools) carry no scan code; they fall back to the key and keypad flag.
quint64 PhysicalKey(const QKeyEvent& event) {
    if (event.nativeScanCode() != 0) return event.nativeScanCode();
    const quint64 keypad = event.modifiers().testFlag(Qt::KeypadModifier) ? 1 : 0;
    return (quint64{1} << 40) | (keypad << 32) | static_cast<quint32>(event.key());
}

} // namespace

TDXInput::TDXInput(QWidget* window, QObject* parent)
    : QObject(parent), window_(window), joystick_(std::make_unique<SdlJoystick>()) {
    // Key events go to the focused child first; watching the whole
    // application sees them wherever they land in the window.
    if (qApp) qApp->installEventFilter(this);
}

TDXInput::~TDXInput() = default;

TDXInput::Direction TDXInput::KeyDirection(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        // With NumLock off the keypad sends arrows; the physical key still counts.
        switch (key) {
        case Qt::Key_8: case Qt::Key_Up: return Direction::Up;
        case Qt::Key_2: case Qt::Key_Down: return Direction::Down;
        case Qt::Key_4: case Qt::Key_Left: return Direction::Left;
        case Qt::Key_6: case Qt::Key_Right: return Direction::Right;
        default: return Direction::None;
        }
    }
    switch (key) {
    case Qt::Key_K: case Qt::Key_Up: return Direction::Up;
    case Qt::Key_J: case Qt::Key_Down: return Direction::Down;
    case Qt::Key_H: case Qt::Key_Left: return Direction::Left;
    case Qt::Key_L: case Qt::Key_Right: return Direction::Right;
    default: return Direction::None;
    }
}

veltrix::DirectionStates TDXInput::Poll() {
    if (!WindowHasInput()) {
        held_.clear();
        return {};
    }
    veltrix::DirectionStates states = joystick_->Read();
    for (const Direction direction : std::as_const(held_)) {
        switch (direction) {
        case Direction::Up: states.Up = true; break;
        case Direction::Down: states.Down = true; break;
        case Direction::Left: states.Left = true; break;
        case Direction::Right: states.Right = true; break;
        case Direction::None: break;
        }
    }
    return states;
}

bool TDXInput::WindowHasInput() const {
    return window_ && window_->isActiveWindow() && !QApplication::activePopupWidget();
}

bool TDXInput::FromWatchedWindow(QObject* receiver) const {
    if (!window_ || !receiver->isWidgetType()) return false;
    return static_cast<QWidget*>(receiver)->window() == window_;
}

bool TDXInput::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        if (FromWatchedWindow(watched)) KeyPressed(static_cast<QKeyEvent&>(*event));
        break;
    case QEvent::KeyRelease:
        if (FromWatchedWindow(watched)) KeyReleased(static_cast<QKeyEvent&>(*event));
        break;
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
        // Releases that happen elsewhere are never seen; forget every key.
        if (watched == window_) held_.clear();
        break;
    case QEvent::Show:
        // A menu takes the keyboard without deactivating the window.
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->windowType() == Qt::Popup)
            held_.clear();
        break;
    case QEvent::ApplicationDeactivate:
        held_.clear();
        break;
    default:
        break;
    }
    return false;
}

void TDXInput::KeyPressed(const QKeyEvent& event) {
    // Auto-repeat presses are let in: a key held while the window was away
    // counts again from its next repeat.
    if (!WindowHasInput()) return;
    const Direction direction = KeyDirection(event.key(), event.modifiers());
    if (direction == Direction::None) return;
    held_.insert(PhysicalKey(event), direction);
}

void TDXInput::KeyReleased(const QKeyEvent& event) {
    // X11 sends repeats as release/press pairs while the key stays down.
    if (event.isAutoRepeat()) return;
    held_.remove(PhysicalKey(event));
}
