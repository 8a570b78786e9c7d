#include "ui/info_window.h"

#include <QCloseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <string>

#include "platform/info_window.h"
#include "platform/ui_thread.h"
#include "ui/kit/default_font.h"

namespace {

constexpr int kWidth = 530;
constexpr int kHeight = 168;

class InfoWindow : public QWidget {
public:
    explicit InfoWindow(QWidget* owner) : QWidget(owner, Qt::Tool) {
        setWindowTitle(QString::fromUtf8("信息 - F2"));
        resize(kWidth, kHeight);
        log_ = new QPlainTextEdit(this);
        log_->setReadOnly(true);
        log_->setFrameShape(QFrame::StyledPanel);
        QPalette colours = log_->palette();
        colours.setColor(QPalette::Base, Qt::black);
        colours.setColor(QPalette::Text, QColor(0, 255, 0));
        log_->setPalette(colours);
        setDefaultFont(log_);
        layoutLog();
    }

    QPlainTextEdit* log() const { return log_; }

protected:
    // The close box only hides: the window and its log live for the run.
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        hide();
    }
    void resizeEvent(QResizeEvent*) override { layoutLog(); }

private:
    void layoutLog() { log_->setGeometry(0, 0, width(), height()); }

    QPlainTextEdit* log_;
};

QPointer<InfoWindow> window;

void appendOnUiThread(const std::string& text) {
    runOnUiThread([&text] { appendInfoWindowText(text.c_str()); });
}

} // namespace

QWidget* createInfoWindow(QWidget* owner) {
    if (!window) window = new InfoWindow(owner);
    return window;
}

QWidget* infoWindow() { return window; }

QPlainTextEdit* infoWindowLog() { return window ? window->log() : nullptr; }

void appendInfoWindowText(const char* text) {
    if (!window) createInfoWindow(nullptr);
    QPlainTextEdit* log = window->log();
    log->moveCursor(QTextCursor::End);
    log->insertPlainText(QString::fromUtf8(text) + "\n\n");
    log->verticalScrollBar()->setValue(log->verticalScrollBar()->maximum());
    if (!window->isVisible()) window->show();
}

void toggleInfoWindow() {
    if (!window) return;
    window->setVisible(!window->isVisible());
}

void installInfoWindow() {
    setInfoWindowHandler(appendOnUiThread);
    std::string earlier = infoLogText();
    if (earlier.empty()) return;
    clearInfoLog();
    // The in-memory log already ends each notice with its blank line.
    if (!window) createInfoWindow(nullptr);
    QString text = QString::fromStdString(earlier).replace("\r\n", "\n");
    window->log()->moveCursor(QTextCursor::End);
    window->log()->insertPlainText(text);
    window->show();
}
