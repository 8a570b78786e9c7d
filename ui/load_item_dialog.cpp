#include "ui/load_item_dialog.h"

#include "foundation/globals.h"
#include "foundation/shell.h"
#include "foundation/text.h"
#include "net/import/marketplace_hosts.h"
#include "net/service_host.h"
#include "platform/message_box.h"
#include "ui/kit/activation_focus.h"
#include "ui/kit/default_font.h"
#include "ui/kit/window_geometry.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstring>
#include <string>

namespace {

// The support site's page that explains the browser extension.
constexpr char kExtensionPage[] = "/browser_extension.html";

constexpr char kWholesaleNotice[] =
    "关于加载1688商品图片：\n\n请点击【使用浏览器扩展程序获取图片地址】\n先获取商品图片地址，然后将图片地址添加到软件中。";

LoadItemDialog* dialog = nullptr;
bool running = false;

bool isWholesaleAddress(const QString& text) {
    return text.toUtf8().contains(kWholesaleDomainFragment);
}

// Copies the trimmed address into the record, cut on a character boundary.
void storeAddress(const QString& text, LoadItemRequest* request) {
    std::string address = text.toStdString();
    char* trimmed = trim(address.data());
    std::string kept = trimmed;
    size_t length = kept.size();
    if (length > sizeof request->address - 1) {
        length = sizeof request->address - 1;
        while (length > 0 && (static_cast<unsigned char>(kept[length]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(request->address, kept.data(), length);
    request->address[length] = '\0';
}

} // namespace

LoadItemDialog::LoadItemDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle("加载宝贝图片");
    setFixedSize(kLoadItemDialogWidth, kLoadItemDialogHeight);

    typeLabel = new QLabel("图片类型：", this);
    typeLabel->setGeometry(16, 23, 60, 19);
    typeCombo = new QComboBox(this);
    typeCombo->setGeometry(76, 19, 136, 21);
    typeCombo->addItem("主图");
    if (itemPictureTypes == 3) {
        typeCombo->addItem("颜色分类图");
        typeCombo->addItem("主图 + 颜色分类图");
    }
    typeCombo->setCurrentIndex(0);

    addressLabel = new QLabel("宝贝地址或图片地址：", this);
    addressLabel->setGeometry(16, 56, 396, 19);
    addressEdit = new QLineEdit(this);
    addressEdit->setGeometry(16, 76, 396, 22);
    addressEdit->setMaxLength(kLoadItemAddressSize);
    addressEdit->installEventFilter(this);

    link = new QLabel("<a href=\"#\">-> 使用浏览器扩展程序获取图片地址</a> ", this);
    link->setGeometry(16, 126, 230, 21);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setFocusPolicy(Qt::StrongFocus);

    okButton = new QPushButton("确定", this);
    okButton->setGeometry(250, 120, 76, 25);
    okButton->setDefault(true);
    cancelButton = new QPushButton("取消", this);
    cancelButton->setGeometry(336, 120, 76, 25);

    setDefaultFontOnChildren(this);
    ::setWindowIcon(this);
    setTabOrder(typeCombo, addressEdit);
    setTabOrder(addressEdit, link);
    setTabOrder(link, okButton);
    setTabOrder(okButton, cancelButton);
    focus = new ActivationFocus(this, addressEdit);

    connect(okButton, &QPushButton::clicked, this, &LoadItemDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &LoadItemDialog::reject);
    connect(addressEdit, &QLineEdit::textChanged, this, &LoadItemDialog::addressChanged);
    connect(link, &QLabel::linkActivated, this, &LoadItemDialog::openExtensionPage);
}

void LoadItemDialog::prepare(LoadItemRequest* request) {
    if (itemPictureMode == 6) {
        typeLabel->hide();
        typeCombo->hide();
        addressLabel->setText("图片地址：");
        addressLabel->setGeometry(16, 36, 396, 19);
        addressEdit->setGeometry(16, 56, 396, 22);
        link->show();
    }
    result = request;
    addressEdit->clear();
    cancelButton->setDefault(false);
    okButton->setDefault(true);
}

void LoadItemDialog::confirm() {
    QString text = addressEdit->text();
    if (isWholesaleAddress(text)) {
        focus->focusOnNextActivation(link);
        messageBox(this, kWholesaleNotice, "提示", MB_ICONWARNING);
        link->setFocus();
        return;
    }
    if (result) {
        result->ok = 1;
        storeAddress(text, result);
        // Without a visible choice the type is always the main pictures.
        result->type = typeCombo->isHidden() || typeCombo->count() <= 1 ? 0 : typeCombo->currentIndex();
    }
    accept();
}

void LoadItemDialog::reject() {
    if (result) result->ok = 0;
    QDialog::reject();
}

void LoadItemDialog::closeEvent(QCloseEvent* event) {
    event->accept();
    QDialog::done(QDialog::Rejected);
}

void LoadItemDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    addressEdit->setFocus();
}

bool LoadItemDialog::eventFilter(QObject* watched, QEvent* event) {
    bool click = event->type() == QEvent::MouseButtonPress;
    if (watched == addressEdit && click) {
        // After the edit has placed its cursor for the click.
        QMetaObject::invokeMethod(addressEdit, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}

void LoadItemDialog::addressChanged() {
    if (itemPictureMode == 5 && isWholesaleAddress(addressEdit->text())) link->show();
}

void LoadItemDialog::openExtensionPage() {
    std::string page = supportSiteUrl(kExtensionPage);
    if (!page.empty()) openUrlInBrowser(page.c_str());
}

void runLoadItemPicturesDialog(void* owner, LoadItemRequest* result) {
    if (running || !result) return;
    if (!dialog) dialog = new LoadItemDialog(static_cast<QWidget*>(owner));
    dialog->prepare(result);
    running = true;
    centerWindow(dialog);
    dialog->exec();
    running = false;
    if (QWidget* parent = dialog->parentWidget()) {
        parent->raise();
        parent->activateWindow();
    }
}

void showLoadItemDialogLink() {
    if (dialog) dialog->link->show();
}

void installLoadItemDialog() {
    setLoadItemDialogHandler(runLoadItemPicturesDialog);
}

LoadItemDialog* loadItemDialog() {
    return dialog;
}

void destroyLoadItemDialog() {
    delete dialog;
    dialog = nullptr;
}
