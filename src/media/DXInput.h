#pragma once
// The input reader: four direction states from keyboard and joystick.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <memory>

#include "game/Interfaces.h"

class QKeyEvent;
class QWidget;
class SdlJoystick;

class TDXInput : public QObject, public veltrix::InputInterface {
    Q_OBJECT
public:
    // Watches the window's key events and activation.
    explicit TDXInput(QWidget* window, QObject* parent = nullptr);
    ~TDXInput() override;

    veltrix::DirectionStates Poll() override;

    // The state a key of the key table stands for, if any.
    enum class Direction { None, Up, Down, Left, Right };
    static Direction KeyDirection(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool WindowHasInput() const;
    bool FromWatchedWindow(QObject* receiver) const;
    void KeyPressed(const QKeyEvent& event);
    void KeyReleased(const QKeyEvent& event);

    QPointer<QWidget> window_;
    // Held keys of the key table by physical key, so the same key is let go
    // whatever NumLock or the modifiers turned it into meanwhile.
    QHash<quint64, Direction> held_;
    std::unique_ptr<SdlJoystick> joystick_;
};
