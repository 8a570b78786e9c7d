#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "platform/info_window.h"
#include "ui/info_window.h"

namespace {

TEST(InfoWindow, AppendingShowsTheLogAndClosingOnlyHidesIt) {
    appendInfoText("早先的记录");  // before the window: kept in memory
    QWidget owner;
    createInfoWindow(&owner);
    installInfoWindow();
    QWidget* window = infoWindow();
    EXPECT_EQ(window->windowTitle(), "信息 - F2");
    EXPECT_TRUE(window->isVisible());  // the earlier notice shows it
    EXPECT_EQ(infoLogText(), "");

    window->close();
    EXPECT_FALSE(window->isVisible());
    appendInfoText("图片1.jpg 无法读取");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(infoWindowLog()->toPlainText(), "早先的记录\n\n图片1.jpg 无法读取\n\n");
    EXPECT_TRUE(infoWindowLog()->isReadOnly());
    setInfoWindowHandler(nullptr);
}

} // namespace
