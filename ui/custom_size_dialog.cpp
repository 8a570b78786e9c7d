#include "ui/custom_size_dialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <cstdlib>

#include "platform/message_box.h"
#include "ui/kit/activation_focus.h"
#include "ui/kit/default_font.h"
#include "ui/kit/window_geometry.h"

namespace {

constexpr int kClientWidth = 336;
constexpr int kClientHeight = 90;

QLineEdit* makeSizeEdit(QWidget* parent, int x) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(x, 49, 38, 20);
    edit->setAlignment(Qt::AlignCenter);
    edit->setMaxLength(4);  // five-digit sizes cannot be typed
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
    return edit;
}

void makeLabel(QWidget* parent, const char* text, int x, int y, int w, int h) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(x, y, w, h);
}

} // namespace

CustomVideoSizeVerdict checkCustomVideoSize(const char* widthText, const char* heightText) {
    CustomVideoSizeVerdict verdict{0, nullptr, false, std::atoi(widthText), std::atoi(heightText)};
    struct Check {
        bool failed;
        const char* message;
        bool focusHeight;
    };
    const Check checks[] = {
        {!*widthText, "请输入视频的宽度", false},
        {!*heightText, "请输入视频的高度", true},
        {verdict.width % 2 != 0, "视频的宽度必须是偶数(能被2整除)", false},
        {verdict.height % 2 != 0, "视频的高度必须是偶数(能被2整除)", true},
        {verdict.width < 256 || verdict.width > 3840, "视频的宽度必须在 256 - 3840 之间", false},
        {verdict.height < 256 || verdict.height > 2160, "视频的高度必须在 256 - 2160 之间", true},
    };
    for (int i = 0; i < 6; ++i) {
        if (!checks[i].failed) continue;
        verdict.failedCheck = i + 1;
        verdict.message = checks[i].message;
        verdict.focusHeight = checks[i].focusHeight;
        break;
    }
    return verdict;
}

CustomVideoSizeDialog::CustomVideoSizeDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QString::fromUtf8("自定义视频尺寸"));
    setFixedSize(kClientWidth, kClientHeight);

    makeLabel(this, "设置输出视频的尺寸：", 16, 16, 296, 21);
    makeLabel(this, "宽：", 16, 53, 26, 15);
    width_ = makeSizeEdit(this, 44);
    makeLabel(this, "高：", 99, 53, 26, 15);
    height_ = makeSizeEdit(this, 127);
    ok_ = new QPushButton(QString::fromUtf8("确定"), this);
    ok_->setGeometry(190, 48, 60, 23);
    cancel_ = new QPushButton(QString::fromUtf8("取消"), this);
    cancel_->setGeometry(259, 48, 60, 23);
    focus_ = new ActivationFocus(this, width_);
    connect(ok_, &QPushButton::clicked, this, &CustomVideoSizeDialog::onOk);
    connect(cancel_, &QPushButton::clicked, this, &CustomVideoSizeDialog::onCancel);
    setDefaultFontOnChildren(this);
    ::setWindowIcon(this);
    centerWindow(this);
}

void CustomVideoSizeDialog::beginRun(CustomVideoSizeResult* result) {
    result_ = result;
    width_->clear();
    height_->clear();
    cancel_->setDefault(false);
    ok_->setDefault(true);
    width_->setFocus();
}

void CustomVideoSizeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    width_->setFocus();
}

void CustomVideoSizeDialog::onOk() {
    QByteArray widthText = width_->text().left(4).toUtf8();
    QByteArray heightText = height_->text().left(4).toUtf8();
    CustomVideoSizeVerdict verdict = checkCustomVideoSize(widthText.constData(), heightText.constData());
    if (verdict.failedCheck) {
        QLineEdit* named = verdict.focusHeight ? height_ : width_;
        focus_->focusOnNextActivation(named);
        messageBox(static_cast<QWidget*>(this), verdict.message, "提示", MB_ICONWARNING);
        named->setFocus();
        return;
    }
    if (result_) {
        result_->ok = 1;
        result_->width = verdict.width;
        result_->height = verdict.height;
    }
    done(Accepted);
}

void CustomVideoSizeDialog::onCancel() {
    if (result_) result_->ok = 0;
    done(Rejected);
}

void CustomVideoSizeDialog::reject() { onCancel(); }

void CustomVideoSizeDialog::closeEvent(QCloseEvent* event) {
    // The close box ends the run and leaves the result as the caller set it.
    event->accept();
    done(Rejected);
}

bool showCustomVideoSizeDialog(QWidget* owner, CustomVideoSizeResult* result) {
    static QPointer<CustomVideoSizeDialog> dialog;
    if (!dialog) dialog = new CustomVideoSizeDialog(owner);
    if (dialog->isVisible()) return false;  // a run is already in progress
    dialog->beginRun(result);
    dialog->exec();
    if (owner && owner->isVisible()) {
        owner->raise();
        owner->activateWindow();
    }
    return result && result->ok == 1;
}
