#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

#include "about/UnitFormAbout.h"
#include "about/UrlLabel.h"

namespace {

const QString kHomePage = QStringLiteral(VELTRIX_HOME_PAGE);
const QString kMail = QStringLiteral(VELTRIX_MAIL);

// Receives what the desktop would open.
class UrlSink : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Handle(const QUrl& url) { opened.append(url); }
};

// Whether the widget, as drawn, has a pixel of exactly this colour (the
// links' underline is a solid line in their text colour).
bool Shows(QWidget* widget, const QColor& color) {
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).rgb() == color.rgb())
                return true;
    return false;
}

class AboutDialog : public ::testing::Test {
protected:
    void SetUp() override { form = std::make_unique<TFormAbout>(&owner); }

    void ShowActive() {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    QWidget owner;
    std::unique_ptr<TFormAbout> form;
};

struct Placement {
    const char* name;
    int left, top, width, height;  // -1: sized by its text
};

TEST_F(AboutDialog, ControlsSitWhereDescribed) {
    const Placement table[] = {
        {"Image1", 136, 8, 32, 32},      {"Label1", 88, 50, -1, -1},       {"Label2", 127, 70, -1, -1},
        {"RzURLLabel4", 101, 89, -1, -1}, {"Label6", 8, 114, 88, -1},       {"RzURLLabel1", 100, 113, -1, -1},
        {"Memo1", 35, 136, 246, 81},      {"Memo2", 35, 136, 246, 81},      {"Button1", 208, 224, 75, 25},
    };
    for (const Placement& p : table) {
        SCOPED_TRACE(p.name);
        auto* w = form->findChild<QWidget*>(p.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->x(), p.left);
        EXPECT_EQ(w->y(), p.top);
        if (p.width >= 0) {
            EXPECT_EQ(w->width(), p.width);
        }
        if (p.height >= 0) {
            EXPECT_EQ(w->height(), p.height);
        }
    }
    // The two captions on the left end flush with each other, before the links.
    EXPECT_EQ(form->Label5->geometry().right(), form->Label6->geometry().right());
    EXPECT_EQ(form->Label5->y(), 90);
    EXPECT_LT(form->Label5->geometry().right(), form->RzURLLabel1->x());
    EXPECT_EQ(form->size(), QSize(302, 257));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
}

TEST_F(AboutDialog, ShowsItsTexts) {
    struct Text {
        QLabel* label;
        QString text;
    };
    const Text table[] = {
        {form->Label1, QStringLiteral("Veltrix(多媒体版)")},
        {form->Label2, QStringLiteral("(Ver $V$)")},
        {form->Label5, QStringLiteral("主页:")},
        {form->Label6, QStringLiteral("邮件:")},
        {form->RzURLLabel4, kHomePage},
        {form->RzURLLabel1, kMail},
    };
    for (const Text& t : table) {
        SCOPED_TRACE(t.label->objectName().toStdString());
        EXPECT_EQ(t.label->text(), t.text);
    }
    EXPECT_EQ(form->objectName(), QStringLiteral("FormAbout"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("关于"));
    EXPECT_EQ(form->Button1->text(), QStringLiteral("关闭"));
    EXPECT_TRUE(form->Label5->alignment() & Qt::AlignRight);
    EXPECT_TRUE(form->Label6->alignment() & Qt::AlignRight);
    EXPECT_EQ(form->Memo1->toPlainText(), QStringLiteral("玩法:\n"
                                                          "    方向键控制小蛇移动，小蛇不能撞墙，也\n"
                                                          "\n"
                                                          "    不能碰到自己的身体。"));
    EXPECT_TRUE(form->Memo1->isReadOnly());
    EXPECT_EQ(form->Memo1->frameShadow(), QFrame::Plain);
    EXPECT_TRUE(form->Memo2->toPlainText().startsWith(QStringLiteral("How to play:")));
    EXPECT_EQ(form->Image1->size(), QSize(32, 32));
}

TEST_F(AboutDialog, FontsAndLinkLook) {
    struct FontCase {
        QWidget* widget;
        const char* family;
        int pixels;
        bool bold, underline;
    };
    const FontCase table[] = {
        {form.get(), "Arial", 12, false, false},      {form->Label2, "Arial", 12, false, false},
        {form->Label1, "Arial", 13, true, false},     {form->RzURLLabel4, "Verdana", 11, false, true},
        {form->RzURLLabel1, "Verdana", 11, false, true}, {form->Button1, "Arial", 12, false, false},
    };
    for (const FontCase& c : table) {
        SCOPED_TRACE(c.widget->objectName().toStdString());
        const QFont f = c.widget->font();
        EXPECT_EQ(f.family(), QString::fromLatin1(c.family));
        EXPECT_EQ(f.pixelSize(), c.pixels);
        EXPECT_EQ(f.bold(), c.bold);
        EXPECT_EQ(f.underline(), c.underline);
    }
    for (TRzURLLabel* link : {form->RzURLLabel4, form->RzURLLabel1}) {
        EXPECT_TRUE(Shows(link, QColor(60, 60, 120)));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_TRUE(Shows(form.get(), form->palette().color(QPalette::Button)));
    EXPECT_EQ(form->RzURLLabel4->Target(), kHomePage);
    EXPECT_EQ(form->RzURLLabel1->Target(), QStringLiteral("mailto:") + kMail);
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));
}

TEST_F(AboutDialog, ButtonHasFocusFirstAndMemoNext) {
    ShowActive();
    EXPECT_EQ(QApplication::focusWidget(), form->Button1);
    EXPECT_FALSE(form->Memo2->isVisible());
    QTest::keyClick(form->Button1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->Memo1);
    QTest::keyClick(form->Memo1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->Button1);
}

struct CloseCase {
    const char* name;
    std::function<void(TFormAbout&)> act;
    bool closes;
};
void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

class AboutDialogClosing : public AboutDialog, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(AboutDialogClosing, OnlyButtonAndCloseBoxClose) {
    ShowActive();
    GetParam().act(*form);
    EXPECT_EQ(form->isVisible(), !GetParam().closes);
    if (GetParam().closes) {
        EXPECT_EQ(form->result(), QDialog::Rejected);
    }
}

void PressOnFocus(QWidget* target, Qt::Key key) {
    target->setFocus();
    QTest::keyClick(target, key);
}

const CloseCase kCloseCases[] = {
    {"EscapeOnButton", [](TFormAbout& f) { PressOnFocus(f.Button1, Qt::Key_Escape); }, false},
    {"EscapeInMemo", [](TFormAbout& f) { PressOnFocus(f.Memo1, Qt::Key_Escape); }, false},
    {"EnterInMemo", [](TFormAbout& f) { PressOnFocus(f.Memo1, Qt::Key_Return); }, false},
    {"KeypadEnterInMemo", [](TFormAbout& f) { PressOnFocus(f.Memo1, Qt::Key_Enter); }, false},
    {"EnterOnButton", [](TFormAbout& f) { PressOnFocus(f.Button1, Qt::Key_Return); }, true},
    {"SpaceOnButton", [](TFormAbout& f) { PressOnFocus(f.Button1, Qt::Key_Space); }, true},
    {"ButtonClick", [](TFormAbout& f) { QTest::mouseClick(f.Button1, Qt::LeftButton); }, true},
    {"CloseBox",
     [](TFormAbout& f) {
         // What the window manager's close box delivers to the window.
         QCloseEvent close;
         QApplication::sendEvent(f.windowHandle(), &close);
     },
     true},
};

INSTANTIATE_TEST_SUITE_P(Keys, AboutDialogClosing, ::testing::ValuesIn(kCloseCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct LinkCase {
    const char* name;
    bool mail;          // which link: the e-mail one or the home page
    const char* slot;   // the handler's method; a missing one makes opening fail
    bool opens;
};
void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }

class AboutLinks : public AboutDialog, public ::testing::WithParamInterface<LinkCase> {
protected:
    void TearDown() override {
        for (const char* scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    UrlSink sink;
};

TEST_P(AboutLinks, ClickOpensTargetAndMarksVisitedOnlyOnSuccess) {
    const LinkCase& c = GetParam();
    TRzURLLabel* link = c.mail ? form->RzURLLabel1 : form->RzURLLabel4;
    const QUrl expected(c.mail ? QStringLiteral("mailto:") + kMail : kHomePage);
    QDesktopServices::setUrlHandler(expected.scheme(), &sink, c.slot);
    ShowActive();

    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());

    if (c.opens) {
        ASSERT_EQ(sink.opened.size(), 1);
        EXPECT_EQ(sink.opened.front(), expected);
    } else {
        EXPECT_TRUE(sink.opened.isEmpty());
    }
    EXPECT_EQ(Shows(link, QColor(130, 95, 70)), c.opens);
    EXPECT_EQ(Shows(link, QColor(60, 60, 120)), !c.opens);
    EXPECT_TRUE(form->isVisible());
}

const LinkCase kLinkCases[] = {
    {"HomePageOpens", false, "Handle", true},
    {"MailOpens", true, "Handle", true},
    {"HomePageFails", false, "NoSuchHandler", false},
    {"MailFails", true, "NoSuchHandler", false},
};

INSTANTIATE_TEST_SUITE_P(Clicks, AboutLinks, ::testing::ValuesIn(kLinkCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AboutLinkLabel, ReleaseOutsideDoesNotOpen) {
    UrlSink sink;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &sink, "Handle");
    TRzURLLabel link;
    link.setText(QStringLiteral("x"));
    link.SetTarget(QStringLiteral("https://example.org/"));
    link.resize(40, 14);
    link.show();
    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(60, 5));
    QTest::mouseClick(&link, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(sink.opened.isEmpty());
    EXPECT_TRUE(Shows(&link, TRzURLLabel::LinkColor));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

TEST(AboutCommand, FreshDialogEachShowingDestroyedAfterwards) {
    QWidget owner;
    UrlSink sink;
    const QString scheme = QUrl(kHomePage).scheme();
    QDesktopServices::setUrlHandler(scheme, &sink, "Handle");
    TFormAbout* formAbout = nullptr;

    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        QPointer<TFormAbout> seen;
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            seen = formAbout;
            if (!formAbout)
                return;
            EXPECT_EQ(formAbout->parentWidget(), &owner);
            EXPECT_TRUE(formAbout->isModal());
            EXPECT_EQ(formAbout->Label2->text(), QStringLiteral("(Ver 2.7)"));
            // Nothing carries over from an earlier showing.
            EXPECT_TRUE(Shows(formAbout->RzURLLabel4, TRzURLLabel::LinkColor));
            QTest::mouseClick(formAbout->RzURLLabel4, Qt::LeftButton, {}, formAbout->RzURLLabel4->rect().center());
            EXPECT_TRUE(Shows(formAbout->RzURLLabel4, TRzURLLabel::VisitedColor));
            formAbout->Button1->click();
        });
        RunAboutCommand(&owner, formAbout);
        EXPECT_TRUE(ran);
        EXPECT_EQ(formAbout, nullptr);
        EXPECT_TRUE(seen.isNull());
    }
    EXPECT_EQ(sink.opened.size(), 2);
    QDesktopServices::unsetUrlHandler(scheme);
}

} // namespace

#include "AboutDialogTest.moc"
