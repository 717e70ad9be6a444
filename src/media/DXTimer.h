#pragma once
// The game's tick timer.

#include <QObject>
#include <cstdint>
#include <functional>

#include "game/Interfaces.h"

class QWidget;

class DXTimer : public QObject, public veltrix::TimerInterface {
    Q_OBJECT
public:
    using TimerEvent = std::function<void(std::uint32_t lagCount)>;

    explicit DXTimer(QObject* parent = nullptr);
    ~DXTimer() override;

    std::uint32_t Interval() const override;
    void SetInterval(std::uint32_t value) override;
    bool Enabled() const override;
    void SetEnabled(bool value) override;

    void SetActiveOnly(bool value);
    void SetOnTimer(TimerEvent handler);
    // The window whose screen's refresh rate paces the ticks.
    void SetWindow(QWidget* window);

    // Nested pause while a message box or file dialog runs.
    void Suspend();
    void Resume();
};
