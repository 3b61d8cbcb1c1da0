#include <QWidget>
#include <gtest/gtest.h>

TEST(GuiSmoke, OffscreenWidgetShows)
{
    QWidget w;
    w.show();
    EXPECT_TRUE(w.isVisible());
}
