#include "ui/kit/input_dialog.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/text.h"
#include "platform/message_box.h"
#include "ui/kit/default_font.h"
#include "ui/kit/window_geometry.h"

namespace {

std::string trimmed(const std::string& text) {
    std::string copy = text;
    return trim(copy.data());
}

std::string checkCharacter(const std::string& typed, std::string* result) {
    if (typed.empty()) return "请输入一个字符";
    if (typed.size() == 1) {
        *result = typed;
        return {};
    }
    static const struct {
        const char* escape;
        const char* value;
    } escapes[] = {{"\\r", "\r"}, {"\\n", "\n"}, {"\\t", "\t"}};
    for (const auto& entry : escapes) {
        if (typed == entry.escape) {
            *result = entry.value;
            return {};
        }
    }
    return "只可以输入一个字符(英文字母, 数字, 标点符号等)，不能输入汉字。";
}

std::string checkNumeric(const std::string& typed, std::string* result, bool integer) {
    std::string text = trimmed(typed);
    if (text.empty()) return integer ? "请输入一个整数" : "请输入一个数";
    if (!(integer ? isInteger(text.c_str()) : isNumber(text.c_str())))
        return integer ? "只可以输入一个整数" : "只可以输入一个数";
    *result = text;
    return {};
}

int textLimit(int mode) {
    switch (mode) {
    case INPUT_CHARACTER: return 2;
    case INPUT_INTEGER:
    case INPUT_NUMBER: return 128;
    default: return 32767;
    }
}

class InputDialog : public QDialog {
public:
    InputDialog(QWidget* owner, InputRequest* request) : QDialog(owner), request_(request) {
        setFixedSize(430, 133);
        ::setWindowIcon(this);
        prompt_ = new QLabel(this);
        prompt_->setGeometry(16, 23, 396, 19);
        edit_ = new QLineEdit(this);
        edit_->setGeometry(16, 43, 396, 22);
        auto* ok = new QPushButton(QString::fromUtf8("确定"), this);
        ok->setGeometry(250, 90, 76, 25);
        ok->setDefault(true);
        auto* cancel = new QPushButton(QString::fromUtf8("取消"), this);
        cancel->setGeometry(336, 90, 76, 25);
        setDefaultFontOnChildren(this);
        connect(ok, &QPushButton::clicked, this, &InputDialog::onOk);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }

    void prepare(const std::string& title, const std::string& prompt) {
        edit_->setMaxLength(textLimit(request_->mode));
        edit_->setEchoMode(request_->password ? QLineEdit::Password : QLineEdit::Normal);
        setWindowTitle(QString::fromStdString(title));
        prompt_->setText(QString::fromStdString(prompt));
        edit_->setText(QString::fromStdString(request_->text));
        edit_->selectAll();
        edit_->setFocus();
    }

private:
    void onOk() {
        std::string value;
        std::string refusal = checkInputText(request_->mode, edit_->text().toStdString(), &value);
        if (!refusal.empty()) {
            messageBox(this, refusal, "提示", MB_ICONWARNING);
            edit_->setFocus();
            return;
        }
        request_->text = value;
        accept();
    }

    InputRequest* request_;
    QLabel* prompt_;
    QLineEdit* edit_;
};

} // namespace

std::string checkInputText(int mode, const std::string& typed, std::string* result) {
    switch (mode) {
    case INPUT_CHARACTER: return checkCharacter(typed, result);
    case INPUT_INTEGER: return checkNumeric(typed, result, true);
    case INPUT_NUMBER: return checkNumeric(typed, result, false);
    default:
        *result = typed;
        return {};
    }
}

void showInputDialog(QWidget* owner, const std::string& title, const std::string& prompt,
                     InputRequest* request) {
    InputDialog dialog(owner, request);
    dialog.prepare(title, prompt);
    dialog.show();
    centerWindow(&dialog);
    request->ok = dialog.exec() == QDialog::Accepted ? 1 : 0;
}
