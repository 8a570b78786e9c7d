#include "ui/status_bar.h"

#include <QLabel>
#include <QPointer>
#include <QStatusBar>
#include <algorithm>
#include <string>

#include "platform/status_bar.h"
#include "platform/ui_thread.h"
#include "ui/kit/default_font.h"

namespace {

constexpr int kMinHeight = 19;
constexpr int kRightEdges[kStatusParts - 1] = {130, 660, 790};
const char* const kInitialTexts[kStatusParts] = {"0 张图片", "", "音频长度: 0秒", "视频长度: 0秒"};

QPointer<QStatusBar> bar;
QLabel* parts[kStatusParts] = {};

void showPartText(int part, const std::string& text) {
    runOnUiThread([&] {
        if (bar && part >= 0 && part < kStatusParts) parts[part]->setText(QString::fromStdString(text));
    });
}

} // namespace

QStatusBar* createStatusBar(QWidget* window) {
    bar = new QStatusBar(window);
    bar->setSizeGripEnabled(false);
    bar->setMinimumHeight(kMinHeight);
    bar->setFixedHeight(std::max(kMinHeight, bar->sizeHint().height()));
    int left = 0;
    for (int part = 0; part < kStatusParts; ++part) {
        parts[part] = new QLabel(QString::fromUtf8(kInitialTexts[part]), bar);
        setDefaultFont(parts[part]);
        if (part < kStatusParts - 1) {
            parts[part]->setFixedWidth(kRightEdges[part] - left);
            left = kRightEdges[part];
            bar->addWidget(parts[part]);
        } else {
            bar->addWidget(parts[part], 1);
        }
    }
    bar->setGeometry(0, window->height(), window->width(), bar->height());
    setStatusBarHandler(showPartText);
    return bar;
}

QStatusBar* mainStatusBar() { return bar; }

QString statusPartText(int part) {
    return bar && part >= 0 && part < kStatusParts ? parts[part]->text() : QString();
}
