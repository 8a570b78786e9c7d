// The main window's status bar: four parts whose right edges lie at 130,
// 660 and 790 pixels (the last reaches the window's edge), at least 19
// pixels high, starting with "0 张图片", "", "音频长度: 0秒" and
// "视频长度: 0秒". setStatusText (platform/status_bar.h) writes its parts.
#pragma once

#include <QString>

class QStatusBar;
class QWidget;

// Creates the bar at the bottom of window (whose client area is above it)
// and makes setStatusText reach it. One per run.
QStatusBar* createStatusBar(QWidget* window);

// The bar, or null before it is created.
QStatusBar* mainStatusBar();

// The text of part (0 to 3) as shown.
QString statusPartText(int part);
