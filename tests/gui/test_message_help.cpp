// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/form_message.h"
#include "app/gui/help.h"

#include "support/temp_home.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class HelpTest : public ::testing::Test
{
protected:
    HelpTest() { vb::TForm_Message::ResetTestHooks(); }
    ~HelpTest() override { vb::TForm_Message::ResetTestHooks(); }

    vbtest::TempHome home;
    vb::AppContext ctx{vb::AppPaths(home.Path(), home.Path(), home.Path()), nullptr, {}};
    vb::TForm_Message dialog{ctx};
    std::vector<QUrl> opened;
    std::function<bool(const QUrl&)> open = [this](const QUrl& url) {
        opened.push_back(url);
        return true;
    };
};

TEST_F(HelpTest, OpensThePageEvenInAFolderWithSpaces)
{
    const std::string page = home.File("my help/verbanta.html");
    vbtest::WriteBytes(page, "<html></html>");
    EXPECT_TRUE(vb::OpenHelpPage(page, dialog, open));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toLocalFile().toStdString(), page);
    EXPECT_EQ(vb::TForm_Message::MessageCount(), 0);
}

TEST_F(HelpTest, AMissingPageIsToldNotOpened)
{
    vb::TForm_Message::SetNextAnswer(2);
    EXPECT_FALSE(vb::OpenHelpPage(home.File("help/verbanta.html"), dialog, open));
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(vb::TForm_Message::LastMessage().text, "Файл справки verbanta.html не найден!");
    EXPECT_EQ(vb::TForm_Message::LastMessage().caption1, "");
    EXPECT_EQ(vb::TForm_Message::LastMessage().caption2, "понятно");
    EXPECT_EQ(vb::TForm_Message::LastMessage().caption3, "");

    // A folder where the page should be is not a page either.
    vbtest::WriteBytes(home.File("help/verbanta.html/x"), "");
    vb::TForm_Message::SetNextAnswer(2);
    EXPECT_FALSE(vb::OpenHelpPage(home.File("help/verbanta.html"), dialog, open));
    EXPECT_EQ(vb::TForm_Message::MessageCount(), 2);
}

TEST_F(HelpTest, ADesktopWithoutViewerIsTold)
{
    const std::string page = home.File("verbanta.html");
    vbtest::WriteBytes(page, "<html></html>");
    vb::TForm_Message::SetNextAnswer(2);
    EXPECT_FALSE(vb::OpenHelpPage(page, dialog, [](const QUrl&) { return false; }));
    EXPECT_EQ(vb::TForm_Message::MessageCount(), 1);
    EXPECT_EQ(vb::TForm_Message::LastMessage().caption2, "понятно");
}

} // namespace
