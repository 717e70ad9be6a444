#include "media/DXTimer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cmath>

#include "media/TickSchedule.h"

namespace {

// Menus and the system's dialogs run loops of their own in the original;
// the game's own modal dialogs (the About box) do not stop the ticks.
bool ForeignLoopOpen() {
    if (QApplication::activePopupWidget()) return true;
    QWidget* modal = QApplication::activeModalWidget();
    return qobject_cast<QMessageBox*>(modal) || qobject_cast<QFileDialog*>(modal);
}

bool OpensForeignLoop(QObject* object) {
    if (!object->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(object);
    return widget->windowType() == Qt::Popup || qobject_cast<QMessageBox*>(widget) ||
           qobject_cast<QFileDialog*>(widget);
}

} // namespace

TDXTimer::TDXTimer(QObject* parent)
    : QObject(parent),
      clock_(std::make_unique<QElapsedTimer>()),
      timer_(new QTimer(this)) {
    clock_->start();
    schedule_ = std::make_unique<veltrix::TickSchedule>(
        [clock = clock_.get()] { return clock->nsecsElapsed() / 1e6; });
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &TDXTimer::Fire);
    if (qApp) {
        schedule_->SetApplicationActive(qApp->applicationState() == Qt::ApplicationActive);
        connect(qApp, &QGuiApplication::applicationStateChanged, this,
                &TDXTimer::ApplicationStateChanged);
        qApp->installEventFilter(this);
    }
}

TDXTimer::~TDXTimer() = default;

std::uint32_t TDXTimer::Interval() const {
    return schedule_->Interval();
}

void TDXTimer::SetInterval(std::uint32_t value) {
    schedule_->SetInterval(veltrix::StoredInterval(value));
    Update();
}

bool TDXTimer::Enabled() const {
    return schedule_->Enabled();
}

void TDXTimer::SetEnabled(bool value) {
    if (value == schedule_->Enabled()) return;
    schedule_->SetEnabled(value);
    Update();
}

void TDXTimer::SetActiveOnly(bool value) {
    schedule_->SetActiveOnly(value);
    Update();
}

void TDXTimer::SetOnTimer(TimerEvent handler) {
    onTimer_ = std::move(handler);
}

void TDXTimer::SetWindow(QWidget* window) {
    window_ = window;
    Update();
}

void TDXTimer::Suspend() {
    schedule_->Suspend();
    Update();
}

void TDXTimer::Resume() {
    schedule_->Resume();
    Update();
}

bool TDXTimer::Running() const {
    return schedule_->Running();
}

bool TDXTimer::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
        // The popup list is updated around these events; look once things settle.
        if (OpensForeignLoop(watched)) UpdateLater();
        break;
    default:
        break;
    }
    return false;
}

void TDXTimer::ApplicationStateChanged(Qt::ApplicationState state) {
    schedule_->SetApplicationActive(state == Qt::ApplicationActive);
    Update();
}

void TDXTimer::UpdateLater() {
    if (updatePending_) return;
    updatePending_ = true;
    QTimer::singleShot(0, this, [this] {
        updatePending_ = false;
        Update();
    });
}

void TDXTimer::Update() {
    schedule_->SetMenuOpen(ForeignLoopOpen());
    QScreen* screen = window_ ? window_->screen() : QGuiApplication::primaryScreen();
    schedule_->SetRefreshRate(screen ? screen->refreshRate() : 0.0);
    const std::optional<double> left = schedule_->TimeUntilDue();
    if (!left) {
        timer_->stop();
        return;
    }
    // Rounded up: a timer that fires before the tick is due only costs a wake-up.
    timer_->start(static_cast<int>(std::ceil(*left)));
}

void TDXTimer::Fire() {
    schedule_->SetMenuOpen(ForeignLoopOpen());
    const std::optional<std::uint32_t> lag = schedule_->BeginTick();
    if (!lag) {
        Update();
        return;
    }
    // Even if the handler throws, the next tick must be scheduled.
    struct AfterTick {
        TDXTimer* timer;
        ~AfterTick() {
            timer->schedule_->EndTick();
            timer->Update();
        }
    } after{this};
    if (onTimer_) onTimer_(*lag);
}
