#pragma once
// Every handler and the tick run through here: an exception must never
// leave a Qt slot, and the player sees it in the program's error box.

#include <QString>
#include <functional>

class QWidget;
class TDXTimer;

// The error box: application title, error icon, OK; no ticks while it is open.
void ShowErrorBox(QWidget* owner, TDXTimer* timer, const QString& message);

void Guarded(QWidget* owner, TDXTimer* timer, const std::function<void()>& body) noexcept;
