#include "ui/caption_margins_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <cstdio>
#include <cstring>

#include "foundation/globals.h"
#include "foundation/registry.h"
#include "foundation/text.h"
#include "platform/message_box.h"
#include "ui/kit/activation_focus.h"
#include "ui/kit/default_font.h"
#include "ui/kit/window_geometry.h"

namespace {

constexpr int kClientWidth = 396;
constexpr int kClientHeight = 326;

struct FieldTexts {
    const char* valueName;  // preference value
    const char* empty;
    const char* notNumber;
    const char* range;
};

const FieldTexts fieldTexts[kCaptionMarginFields] = {
    {"watermark_margin_center_bottom", "请输入【加文字】 位置：【中间下方】的【下边距】",
     "输入的【加文字】 位置：【中间下方】的【下边距】有误！\n\n请输入一个数值, 支持小数。",
     "输入的【加文字】 位置：【中间下方】的下边距有误！\n\n请输入一个 0.01 ～ 49.99 范围内的值, 支持小数。"},
    {"watermark_margin_left", "请输入【左边距】", "输入的【左边距】有误！\n\n 请输入一个数值, 支持小数。",
     "输入的【左边距】有误！\n\n请输入一个 0.01 ～ 49.99 范围内的值, 支持小数。"},
    {"watermark_margin_right", "请输入【右边距】", "输入的【右边距】有误！\n\n请输入一个数值, 支持小数。",
     "输入的【右边距】有误！\n\n请输入一个 0.01 ～ 49.99 范围内的值, 支持小数。"},
    {"watermark_margin_top", "请输入【上边距】", "输入的【上边距】有误！\n\n请输入一个数值, 支持小数。",
     "输入的【上边距】有误！\n\n请输入一个 0.01 ～ 49.99 范围内的值, 支持小数。"},
    {"watermark_margin_bottom", "请输入【下边距】", "输入的【下边距】有误！\n\n请输入一个数值, 支持小数。",
     "输入的【下边距】有误！\n\n请输入一个 0.01 ～ 49.99 范围内的值, 支持小数。"},
};

struct Place {
    int x, y, w, h;
};

void makeLabel(QWidget* parent, const char* text, Place at) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(at.x, at.y, at.w, at.h);
}

QLineEdit* makeMarginEdit(QWidget* parent, Place at) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(at.x, at.y, at.w, at.h);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setMaxLength(5);
    return edit;
}

QPushButton* makeButton(QWidget* parent, const char* text, Place at) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setGeometry(at.x, at.y, at.w, at.h);
    return button;
}

// The edit's text as OK reads it: at most 7 characters, blanks trimmed.
std::string fieldText(const QLineEdit* edit) {
    char buffer[32] = "";
    QByteArray text = edit->text().left(7).toUtf8();
    std::strncpy(buffer, text.constData(), sizeof buffer - 1);
    return trim(buffer);
}

} // namespace

float& captionMarginOf(CaptionMargins& margins, int field) {
    switch (field) {
    case kMarginLeft: return margins.left;
    case kMarginRight: return margins.right;
    case kMarginTop: return margins.top;
    case kMarginBottom: return margins.bottom;
    default: return margins.centerBottom;
    }
}

CaptionMarginVerdict checkCaptionMargins(const std::array<std::string, kCaptionMarginFields>& texts) {
    CaptionMarginVerdict verdict{-1, nullptr, {}};
    for (int field = 0; field < kCaptionMarginFields; ++field) {
        const char* text = texts[field].c_str();
        const char* message = !*text ? fieldTexts[field].empty : !isNumber(text) ? fieldTexts[field].notNumber : nullptr;
        if (message) return {field, message, {}};
    }
    for (int field = 0; field < kCaptionMarginFields; ++field) {
        float value = 0;
        std::sscanf(texts[field].c_str(), "%f", &value);
        if (value <= 0 || value >= 50) return {field, fieldTexts[field].range, {}};
        // The small addition keeps the stored fraction x 10000 from truncating below the typed value.
        verdict.fractions[field] = static_cast<float>(static_cast<long double>(value) / 100 + 0.000001L);
    }
    return verdict;
}

void storeCaptionMargins(const std::array<float, kCaptionMarginFields>& fractions) {
    for (int field = 0; field < kCaptionMarginFields; ++field) captionMarginOf(captionMargins, field) = fractions[field];
    for (int field = 0; field < kCaptionMarginFields; ++field) {
        auto units = static_cast<std::uint32_t>(static_cast<int>(static_cast<double>(fractions[field]) * 10000));
        write_registry_dword(HKEY_CURRENT_USER, "SOFTWARE\\Vessoranthe", fieldTexts[field].valueName, units);
    }
}

CaptionMarginsDialog::CaptionMarginsDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QString::fromUtf8("【加文字】边距设置"));
    setFixedSize(kClientWidth, kClientHeight);

    makeLabel(this, "说明：边距的值以视频的宽度与高度做为参照依据。", {19, 19, 376, 21});
    makeLabel(this, "【加文字】 位置：【中间下方】的下边距设置", {16, 59, 268, 21});
    makeLabel(this, "下边距：", {19, 92, 51, 21});
    edits_[kMarginCenterBottom] = makeMarginEdit(this, {70, 89, 41, 20});
    makeLabel(this, "% (视频高度的百分比)", {114, 92, 132, 21});
    defaults_ = makeButton(this, "全部使用默认值", {268, 86, 108, 23});
    makeLabel(this, "【加文字】 位置：左上角、左下角、右上角、右下角的边距设置", {16, 149, 398, 21});
    makeLabel(this, "左边距：", {19, 182, 51, 21});
    edits_[kMarginLeft] = makeMarginEdit(this, {70, 180, 41, 20});
    makeLabel(this, "%", {114, 183, 12, 21});
    makeLabel(this, "右边距：", {162, 182, 51, 21});
    edits_[kMarginRight] = makeMarginEdit(this, {213, 180, 41, 20});
    makeLabel(this, "%", {257, 183, 12, 21});
    makeLabel(this, "上边距：", {19, 219, 51, 21});
    edits_[kMarginTop] = makeMarginEdit(this, {70, 217, 41, 20});
    makeLabel(this, "%", {114, 220, 12, 21});
    makeLabel(this, "下边距：", {162, 219, 51, 21});
    edits_[kMarginBottom] = makeMarginEdit(this, {213, 217, 41, 20});
    makeLabel(this, "%", {257, 220, 12, 21});
    ok_ = makeButton(this, "确定", {116, 272, 75, 23});
    cancel_ = makeButton(this, "取消", {209, 272, 75, 23});
    ok_->setDefault(true);
    focus_ = new ActivationFocus(this, edits_[kMarginCenterBottom]);

    connect(defaults_, &QPushButton::clicked, this, [this] { fillEdits(defaultCaptionMargins); });
    connect(ok_, &QPushButton::clicked, this, &CaptionMarginsDialog::onOk);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    setDefaultFontOnChildren(this);
    ::setWindowIcon(this);
    centerWindow(this);
    fillEdits(captionMargins);
}

void CaptionMarginsDialog::fillEdits(const CaptionMargins& margins) {
    CaptionMargins copy = margins;
    for (int field = 0; field < kCaptionMarginFields; ++field)
        edits_[field]->setText(QString::asprintf("%0.2f", static_cast<double>(captionMarginOf(copy, field) * 100)));
}

void CaptionMarginsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edits_[kMarginCenterBottom]->setFocus();
}

void CaptionMarginsDialog::onOk() {
    std::array<std::string, kCaptionMarginFields> texts;
    for (int field = 0; field < kCaptionMarginFields; ++field) texts[field] = fieldText(edits_[field]);
    CaptionMarginVerdict verdict = checkCaptionMargins(texts);
    if (verdict.failedField >= 0) {
        focus_->focusOnNextActivation(edits_[verdict.failedField]);
        messageBox(static_cast<QWidget*>(this), verdict.message, "提示", MB_ICONWARNING);
        edits_[verdict.failedField]->setFocus();
        return;
    }
    storeCaptionMargins(verdict.fractions);
    accept();
}

void showCaptionMarginDialog(QWidget* owner) {
    static QPointer<CaptionMarginsDialog> dialog;
    if (!dialog) dialog = new CaptionMarginsDialog(owner);
    if (dialog->isVisible()) return;  // a run is already in progress
    dialog->fillEdits(captionMargins);
    dialog->exec();
    if (owner && owner->isVisible()) {
        owner->raise();
        owner->activateWindow();
    }
}
