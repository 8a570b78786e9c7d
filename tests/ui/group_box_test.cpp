#include "ui/group_box.h"

#include <gtest/gtest.h>

#include <QImage>

// The frame's top edge runs through the middle of the title line, with or
// without a title, and a title breaks it.
TEST(GroupBox, FrameTopRunsThroughTheTitleLine) {
    for (const char* title : {"", "视频输出设置"}) {
        QWidget window;
        window.resize(300, 80);
        GroupBox box(QString::fromUtf8(title), &window);
        box.setGeometry(0, 0, 300, 62);
        const QImage image = box.grab().toImage();
        const QRgb background = image.pixel(150, 40);
        int top = 0;
        while (top < image.height() && image.pixel(3, top) == background) ++top;
        EXPECT_EQ(top, box.frameTop()) << title;
        EXPECT_LT(top, box.fontMetrics().height()) << title;
        EXPECT_NE(image.pixel(150, top), background) << title;
        if (*title) {
            EXPECT_EQ(box.titleRect().top(), 0);
            EXPECT_EQ(image.pixel(box.titleRect().left() + 1, top), background) << "a gap for the title";
        }
    }
}
