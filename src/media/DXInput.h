#pragma once
// The input reader: four direction states from keyboard and joystick.

#include <QObject>

#include "game/Interfaces.h"

class QWidget;

class DXInput : public QObject, public veltrix::InputInterface {
    Q_OBJECT
public:
    // Watches the window's key events and activation.
    explicit DXInput(QWidget* window, QObject* parent = nullptr);
    ~DXInput() override;

    veltrix::DirectionStates Poll() override;
};
