#include "about/UrlLabel.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPalette>
#include <QUrl>

TRzURLLabel::TRzURLLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setForegroundRole(QPalette::WindowText);
    SetTextColor(LinkColor);
}

bool TRzURLLabel::Open() {
    if (target_.isEmpty() || !QDesktopServices::openUrl(QUrl(target_)))
        return false;
    SetTextColor(VisitedColor);
    return true;
}

void TRzURLLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TRzURLLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and release of the left button over the label;
    // sliding off before letting go cancels it.
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        Open();
}

void TRzURLLabel::SetTextColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}
