// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/form_about.h"
#include "gui_input.h"

#include <QDesktopServices>
#include <QLabel>
#include <QUrl>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using vb::TForm_About;

namespace {

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

class AboutBoxTest : public ::testing::Test
{
protected:
    AboutBoxTest() : ctx(vb::AppPaths("/nonexistent", "/nonexistent", "/nonexistent"), nullptr, {}) { }

    // The labels showing `text`, the white copy first.
    std::vector<QLabel*> LabelsWith(const QString& text) const
    {
        std::vector<QLabel*> found;
        for (QLabel* label : about.findChildren<QLabel*>()) {
            if (label->text() == text) {
                found.push_back(label);
            }
        }
        return found;
    }

    vb::AppContext ctx;
    TForm_About about{ctx};
};

TEST_F(AboutBoxTest, ShowsEachLineEmbossed)
{
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(about.size(), QSize(281, 153));
    EXPECT_TRUE(about.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(about.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(about.Image->geometry(), QRect(6, 5, 32, 32));

    const QString lines[] = {QStringLiteral("Verbanta"), QStringLiteral("Программа заучивания иностранных слов"),
                             QStringLiteral("Версия ") + QStringLiteral(VB_VERSION) +
                                 QStringLiteral(" · GNU GPL 3 или новее"),
                             QStringLiteral("Автор: команда Verbanta")};
    for (const QString& line : lines) {
        const std::vector<QLabel*> copies = LabelsWith(line);
        ASSERT_EQ(copies.size(), 2u) << line.toStdString();
        const QLabel* white = copies[0];
        const QLabel* black = copies[1];
        EXPECT_EQ(white->palette().color(QPalette::WindowText), QColor(Qt::white));
        EXPECT_EQ(black->palette().color(QPalette::WindowText), QColor(Qt::black));
        EXPECT_EQ(white->geometry(), black->geometry().translated(1, 1));
        EXPECT_EQ(white->font(), black->font());
        EXPECT_TRUE(about.rect().contains(black->geometry())) << line.toStdString();
        // The text fits its place: the box does not grow.
        EXPECT_LE(black->fontMetrics().horizontalAdvance(line), black->width()) << line.toStdString();
    }
    const QFont title = LabelsWith(QStringLiteral("Verbanta"))[1]->font();
    EXPECT_EQ(title.family(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(title.pixelSize(), 21);
}

TEST_F(AboutBoxTest, LinksAreBlueAndOpenPageAndMail)
{
    for (QLabel* link : {about.LB_WWW, about.LB_Mail}) {
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
    ASSERT_EQ(LabelsWith(QStringLiteral("Страничка программы :")).size(), 1u);
    ASSERT_EQ(LabelsWith(QStringLiteral("Адрес электронной почты :")).size(), 1u);
    // Captions and addresses do not run into each other.
    for (auto [caption, link] : {std::pair{QStringLiteral("Страничка программы :"), about.LB_WWW},
                                 std::pair{QStringLiteral("Адрес электронной почты :"), about.LB_Mail}}) {
        const QLabel* label = LabelsWith(caption)[0];
        const QRect text(label->pos(), QSize(label->fontMetrics().horizontalAdvance(caption), label->height()));
        EXPECT_FALSE(text.intersects(link->geometry())) << caption.toStdString();
        EXPECT_TRUE(about.rect().contains(link->geometry())) << caption.toStdString();
    }

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "Open");
    about.show();
    vbtest::MouseClick(about.LB_WWW);
    vbtest::MouseClick(about.LB_Mail);
    vbtest::MouseClick(about.LB_Mail, Qt::RightButton);
    about.hide();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));

    ASSERT_EQ(catcher.urls.size(), 2u);
    EXPECT_EQ(catcher.urls[0], QUrl(QString::fromLatin1(TForm_About::kWebPage)));
    EXPECT_EQ(catcher.urls[1].toString(), QStringLiteral("mailto:verbanta@example.org?SUBJECT=Verbanta"));
}

TEST_F(AboutBoxTest, ModalRunFramesDialogOpenAndReportsModalClosed)
{
    std::vector<std::string> events;
    about.SetHooks({[&] { events.push_back("shown"); }, [&] { events.push_back("hidden"); },
                    [&] { events.push_back("modalClosed"); }});
    vbtest::WhenModal(&about, [&] { vbtest::KeyClick(&about, Qt::Key_Escape); });
    about.ShowModalAbout();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(events, (std::vector<std::string>{"shown", "hidden", "modalClosed"}));
}

} // namespace

#include "test_about_box.moc"
