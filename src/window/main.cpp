#include <QApplication>
#include <QPointer>

#include "media/SdlSound.h"
#include "window/MainForm.h"

int main(int argc, char** argv) {
    // Whole-number scale factors only: 1.25 would give tiles of uneven widths.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltrix"));

    SdlSound sound;
    QPointer<TMainForm> form = new TMainForm(sound);
    form->show();
    const int result = app.exec();
    delete form.data();  // still there when the loop ended before the close was handled
    return result;
}
