#pragma once
// A label that opens its target in the desktop's handler when clicked,
// like a hyperlink: a browser for web addresses, the mail program for mailto.

#include <QColor>
#include <QLabel>
#include <QString>

class TRzURLLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString target READ Target WRITE SetTarget)

public:
    static inline const QColor LinkColor{60, 60, 120};
    static inline const QColor VisitedColor{130, 95, 70};

    explicit TRzURLLabel(QWidget* parent = nullptr);

    QString Target() const { return target_; }
    void SetTarget(const QString& target) { target_ = target; }

    // Opens the target; the label shows the visited colour only when the
    // desktop accepted it. Returns whether it did.
    bool Open();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetTextColor(const QColor& color);

    QString target_;
    bool pressed_ = false;
};
