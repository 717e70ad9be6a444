#include "about/UnitFormAbout.h"

#include <QFont>
#include <QKeyEvent>
#include <QPalette>

#include "about/UPub_Version.h"
#include "about/UrlLabel.h"
#include "ui_formabout.h"

namespace {

// Designer stores fonts in points; these heights are pixels, so the dialog
// looks the same whatever the screen's resolution.
void SetPixelHeight(QWidget* widget, int pixels) {
    QFont font = widget->font();
    font.setPixelSize(pixels);
    widget->setFont(font);
}

// Labels size themselves to their text; a right-aligned one keeps its
// right edge where it was placed.
void FitToText(QLabel* label) {
    const QSize hint = label->sizeHint();
    QRect r = label->geometry();
    if (label->alignment() & Qt::AlignRight)
        r.setLeft(r.right() + 1 - hint.width());
    else
        r.setWidth(hint.width());
    r.setHeight(hint.height());
    label->setGeometry(r);
}

} // namespace

TFormAbout::TFormAbout(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::TFormAbout>()) {
    ui_->setupUi(this);
    Image1 = ui_->Image1;
    Label1 = ui_->Label1;
    Label2 = ui_->Label2;
    Label5 = ui_->Label5;
    RzURLLabel4 = ui_->RzURLLabel4;
    Label6 = ui_->Label6;
    RzURLLabel1 = ui_->RzURLLabel1;
    Memo1 = ui_->Memo1;
    Memo2 = ui_->Memo2;
    Button1 = ui_->Button1;
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(302, 257);
    // Button-face background; the labels keep their window-text colour.
    QPalette face = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        face.setColor(group, QPalette::Window, face.color(group, QPalette::Button));
    setPalette(face);

    SetPixelHeight(this, 12);
    SetPixelHeight(Label1, 13);
    SetPixelHeight(RzURLLabel4, 11);
    SetPixelHeight(RzURLLabel1, 11);
    Label1->setForegroundRole(QPalette::ButtonText);

    const QString homePage = QStringLiteral(VELTRIX_HOME_PAGE);
    const QString mail = QStringLiteral(VELTRIX_MAIL);
    RzURLLabel4->setText(homePage);
    RzURLLabel4->SetTarget(homePage);
    RzURLLabel1->setText(mail);
    RzURLLabel1->SetTarget(QStringLiteral("mailto:") + mail);

    connect(Button1, &QPushButton::clicked, this, &TFormAbout::Button1Click);
    Button1->setFocus();
    FitLabels();
}

TFormAbout::~TFormAbout() = default;

void TFormAbout::Button1Click() {
    // Same road as the title bar's close box.
    close();
}

void TFormAbout::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Escape leaves the dialog open, and Enter only reaches here when
        // the button does not have the focus.
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TFormAbout::showEvent(QShowEvent* event) {
    // The version line is rewritten between creation and showing.
    FitLabels();
    QDialog::showEvent(event);
}

void TFormAbout::FitLabels() {
    for (QLabel* label : {Label1, Label2, Label5, static_cast<QLabel*>(RzURLLabel4), static_cast<QLabel*>(RzURLLabel1)})
        FitToText(label);
}

void RunAboutCommand(QWidget* owner, TFormAbout*& formAbout) {
    formAbout = new TFormAbout(owner);
    struct Release {
        TFormAbout*& form;
        ~Release() {
            delete form;
            form = nullptr;
        }
    } release{formAbout};
    formAbout->Label2->setText(QString::fromStdString(
        veltrix::ReplaceVersionTag(formAbout->Label2->text().toStdString(), AboutVersionText)));
    formAbout->exec();
}
