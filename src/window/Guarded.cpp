#include "window/Guarded.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "game/ErrorText.h"
#include "media/DXTimer.h"

void ShowErrorBox(QWidget* owner, TDXTimer* timer, const QString& message) {
    if (timer) timer->Suspend();
    const QString text = QString::fromStdString(veltrix::ErrorBoxText(message.toStdString()));
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok, owner);
    box.setObjectName("ErrorBox");
    box.exec();
    if (timer) timer->Resume();
}

void Guarded(QWidget* owner, TDXTimer* timer, const std::function<void()>& body) noexcept {
    try {
        try {
            body();
        } catch (const std::exception& error) {
            ShowErrorBox(owner, timer, QString::fromUtf8(error.what()));
        } catch (...) {
            ShowErrorBox(owner, timer, QStringLiteral("Unknown error"));
        }
    } catch (...) {
        // The box itself failed (out of memory): nothing left to tell the player with.
    }
}
