#pragma once
// The game's tick timer.

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>

#include "game/Interfaces.h"

class QElapsedTimer;
class QTimer;
class QWidget;
namespace veltrix {
class TickSchedule;
}

class TDXTimer : public QObject, public veltrix::TimerInterface {
    Q_OBJECT
public:
    using TimerEvent = std::function<void(std::uint32_t lagCount)>;

    explicit TDXTimer(QObject* parent = nullptr);
    ~TDXTimer() override;

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

    // Whether ticks are currently being produced: enabled, the application
    // active (with ActiveOnly), no menu or system dialog open, not in a tick.
    bool Running() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplicationStateChanged(Qt::ApplicationState state);
    void Update();
    void UpdateLater();
    void Fire();

    std::unique_ptr<QElapsedTimer> clock_;
    std::unique_ptr<veltrix::TickSchedule> schedule_;
    QTimer* timer_ = nullptr;
    QPointer<QWidget> window_;
    TimerEvent onTimer_;
    bool updatePending_ = false;
};
