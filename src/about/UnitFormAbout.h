#pragma once
// The About dialog: program icon, name, version, the two links and the
// playing instructions. Built afresh for every showing.

#include <QDialog>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TRzURLLabel;
namespace Ui {
class TFormAbout;
}

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* owner = nullptr);
    ~TFormAbout() override;

    // The dialog's controls, as its window description names them.
    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label5;
    TRzURLLabel* RzURLLabel4;
    QLabel* Label6;
    TRzURLLabel* RzURLLabel1;
    QPlainTextEdit* Memo1;
    QPlainTextEdit* Memo2;
    QPushButton* Button1;

public slots:
    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FitLabels();

    std::unique_ptr<Ui::TFormAbout> ui_;
};

// The version the About dialog shows in place of its placeholder.
inline constexpr const char* AboutVersionText = "2.7";

// The About menu command: a new dialog owned by `owner`, kept in
// `formAbout` while it runs modally, destroyed afterwards and the pointer
// cleared.
void RunAboutCommand(QWidget* owner, TFormAbout*& formAbout);
