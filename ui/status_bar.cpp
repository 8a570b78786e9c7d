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
// The text starts a little inside its part.
constexpr int kTextInset = 3;
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
    bar->setFixedHeight(std::max(kMinHeight, bar->sizeHint().height()));
    // Each part spans from the previous right edge to its own (the last to
    // the window's edge); the labels are placed there, not laid out, so a
    // layout's spacing never shifts the later parts.
    int left = 0;
    for (int part = 0; part < kStatusParts; ++part) {
        const int right = part < kStatusParts - 1 ? kRightEdges[part] : window->width();
        parts[part] = new QLabel(QString::fromUtf8(kInitialTexts[part]), bar);
        setDefaultFont(parts[part]);
        parts[part]->setGeometry(left + kTextInset, 0, right - left - kTextInset, bar->height());
        left = right;
    }
    bar->setGeometry(0, window->height(), window->width(), bar->height());
    setStatusBarHandler(showPartText);
    return bar;
}

QStatusBar* mainStatusBar() { return bar; }

QString statusPartText(int part) {
    return bar && part >= 0 && part < kStatusParts ? parts[part]->text() : QString();
}
