#include "ui/load_item_dialog.h"

#include "foundation/globals.h"
#include "net/import/import_stop.h"
#include "platform/load_item_commands.h"
#include "platform/message_box.h"
#include "ui/load_item_commands.h"
#include "ui/main_window.h"
#include "ui/prompt.h"
#include "dialog_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Box {
    std::string text, caption;
    unsigned type;
};
std::vector<Box> boxes;

int recordBox(void*, const std::string& text, const std::string& caption, unsigned type) {
    boxes.push_back({text, caption, type});
    return IDOK;
}

class LoadItemDialogTest : public testing::Test {
protected:
    int savedMode = itemPictureMode;
    int savedTypes = itemPictureTypes;

    void SetUp() override {
        boxes.clear();
        setMessageBoxHandler(recordBox);
        destroyLoadItemDialog();
    }
    void TearDown() override {
        setMessageBoxHandler(nullptr);
        destroyLoadItemDialog();
        itemPictureMode = savedMode;
        itemPictureTypes = savedTypes;
    }

    // Runs the dialog through the loaders' call while act plays the user;
    // a run that act leaves open is closed and fails the test.
    LoadItemRequest run(const std::function<void(LoadItemDialog*)>& act, LoadItemRequest start = {}) {
        QTimer::singleShot(0, [&] {
            LoadItemDialog* dialog = loadItemDialog();
            act(dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                dialog->done(QDialog::Rejected);
            }
        });
        showLoadItemPicturesDialog(nullptr, &start);
        return start;
    }

    static void type(LoadItemDialog* dialog, const QString& text) { dialog->addressEdit->setText(text); }
};

} // namespace

TEST_F(LoadItemDialogTest, ControlsSitAtTheirPlacesWithTheirTexts) {
    installLoadItemDialog();
    struct Control {
        const char* name;
        std::function<QWidget*(LoadItemDialog*)> widget;
        QRect geometry;
        QString text;
    };
    auto labelText = [](QWidget* w) { return static_cast<QLabel*>(w)->text(); };
    const Control normal[] = {
        {"type label", [](LoadItemDialog* d) { return d->typeLabel; }, {16, 23, 60, 19}, "图片类型："},
        {"type combo", [](LoadItemDialog* d) { return d->typeCombo; }, {76, 19, 136, 21}, ""},
        {"address label", [](LoadItemDialog* d) { return d->addressLabel; }, {16, 56, 396, 19}, "宝贝地址或图片地址："},
        {"address edit", [](LoadItemDialog* d) { return d->addressEdit; }, {16, 76, 396, 22}, ""},
        {"link", [](LoadItemDialog* d) { return d->link; }, {16, 126, 230, 21},
         "<a href=\"#\">-> 使用浏览器扩展程序获取图片地址</a> "},
        {"ok", [](LoadItemDialog* d) { return d->okButton; }, {250, 120, 76, 25}, "确定"},
        {"cancel", [](LoadItemDialog* d) { return d->cancelButton; }, {336, 120, 76, 25}, "取消"},
    };
    run([&](LoadItemDialog* d) {
        EXPECT_EQ(d->windowTitle(), "加载宝贝图片");
        EXPECT_EQ(d->size(), QSize(431, 163));
        EXPECT_FALSE(d->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(d->windowFlags() & Qt::WindowSystemMenuHint);
        EXPECT_FALSE(d->windowFlags() & Qt::WindowMinMaxButtonsHint);
        for (const Control& c : normal) {
            QWidget* w = c.widget(d);
            EXPECT_EQ(w->geometry(), c.geometry) << c.name;
            EXPECT_TRUE(w->isVisible()) << c.name;
            if (auto* button = qobject_cast<QPushButton*>(w)) {
                EXPECT_EQ(button->text(), c.text) << c.name;
            } else if (qobject_cast<QLabel*>(w)) {
                EXPECT_EQ(labelText(w), c.text) << c.name;
            }
        }
        EXPECT_TRUE(d->okButton->isDefault());
        EXPECT_EQ(d->addressEdit->maxLength(), 8192);
        EXPECT_EQ(d->focusWidget(), d->addressEdit);
        d->reject();
    });

    // Mode 6 asks for picture addresses only.
    itemPictureMode = 6;
    run([&](LoadItemDialog* d) {
        EXPECT_FALSE(d->typeLabel->isVisible());
        EXPECT_FALSE(d->typeCombo->isVisible());
        EXPECT_EQ(d->addressLabel->text(), "图片地址：");
        EXPECT_EQ(d->addressLabel->geometry(), QRect(16, 36, 396, 19));
        EXPECT_EQ(d->addressEdit->geometry(), QRect(16, 56, 396, 22));
        EXPECT_TRUE(d->link->isVisible());
        d->reject();
    });
}

TEST_F(LoadItemDialogTest, AddressIsTrimmedAndEmptiedAtEveryOpening) {
    installLoadItemDialog();
    LoadItemRequest r = run([](LoadItemDialog* d) {
        type(d, " \t https://item.example/item.htm?id=1 \t ");
        d->okButton->click();
    });
    EXPECT_EQ(r.ok, 1);
    EXPECT_STREQ(r.address, "https://item.example/item.htm?id=1");

    r = run([](LoadItemDialog* d) {
        EXPECT_EQ(d->addressEdit->text(), "");
        d->okButton->click();
    });
    EXPECT_EQ(r.ok, 1);  // an empty address is the loaders' to judge
    EXPECT_STREQ(r.address, "");

    // A click in the edit selects the whole address.
    run([](LoadItemDialog* d) {
        type(d, "https://a.example/b.jpg");
        d->addressEdit->deselect();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), d->addressEdit->mapToGlobal(QPointF(5, 5)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(d->addressEdit, &press);
        QApplication::processEvents();
        EXPECT_EQ(d->addressEdit->selectedText(), "https://a.example/b.jpg");
        d->reject();
    });
}

TEST_F(LoadItemDialogTest, TypeComboFollowsTheServiceAndKeepsItsChoice) {
    installLoadItemDialog();
    itemPictureTypes = 1;
    LoadItemRequest r = run([](LoadItemDialog* d) {
        EXPECT_EQ(d->typeCombo->count(), 1);
        EXPECT_EQ(d->typeCombo->itemText(0), "主图");
        type(d, "x");
        d->okButton->click();
    });
    EXPECT_EQ(r.type, 0);

    destroyLoadItemDialog();
    itemPictureTypes = 3;
    r = run([](LoadItemDialog* d) {
        ASSERT_EQ(d->typeCombo->count(), 3);
        EXPECT_EQ(d->typeCombo->itemText(1), "颜色分类图");
        EXPECT_EQ(d->typeCombo->itemText(2), "主图 + 颜色分类图");
        EXPECT_EQ(d->typeCombo->currentIndex(), 0);
        d->typeCombo->setCurrentIndex(2);
        d->okButton->click();
    });
    EXPECT_EQ(r.type, 2);
    r = run([](LoadItemDialog* d) { d->okButton->click(); });
    EXPECT_EQ(r.type, 2);  // the choice stays from the last run

    // Hidden in mode 6: always the main pictures.
    itemPictureMode = 6;
    r = run([](LoadItemDialog* d) { d->okButton->click(); });
    EXPECT_EQ(r.type, 0);
}

TEST_F(LoadItemDialogTest, WholesaleAddressShowsTheNoticeAndStaysOpen) {
    installLoadItemDialog();
    LoadItemRequest start{};
    start.ok = 7;
    LoadItemRequest r = run(
        [](LoadItemDialog* d) {
            type(d, "https://detail.1688.com/offer/123.html");
            d->okButton->click();
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(d->focusWidget(), d->link);
            d->reject();
        },
        start);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "关于加载1688商品图片：\n\n请点击【使用浏览器扩展程序获取图片地址】\n先获取商品图片地址，然后将图片地址添加到软件中。");
    EXPECT_EQ(boxes[0].caption, "提示");
    EXPECT_EQ(boxes[0].type, static_cast<unsigned>(MB_ICONWARNING));
    EXPECT_EQ(r.ok, 0);

    // "1688" alone is no wholesale address.
    r = run([](LoadItemDialog* d) {
        type(d, "https://img.example/1688.jpg");
        d->okButton->click();
    });
    EXPECT_EQ(r.ok, 1);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(LoadItemDialogTest, CancelEscapeAndCloseEndTheRun) {
    installLoadItemDialog();
    LoadItemRequest start{};
    start.ok = 1;
    LoadItemRequest r = run([](LoadItemDialog* d) { d->cancelButton->click(); }, start);
    EXPECT_EQ(r.ok, 0);

    r = run(
        [](LoadItemDialog* d) {
            type(d, "https://a.example/b.jpg");
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(d->addressEdit, &escape);
        },
        start);
    EXPECT_EQ(r.ok, 0);

    // Closed from outside: the record keeps what the caller set.
    r = run([](LoadItemDialog* d) { d->close(); }, start);
    EXPECT_EQ(r.ok, 1);
    EXPECT_STREQ(r.address, "");
}

namespace {

// A left click at the middle of widget.
void click(QWidget* widget, bool post) {
    const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, centre, widget->mapToGlobal(centre), Qt::LeftButton, held, Qt::NoModifier);
        if (post) QApplication::postEvent(widget, event.clone());
        else QApplication::sendEvent(widget, &event);
    }
}

// Runs a yes/no box over the main window, as a notice queued from a worker
// runs it, while act plays the user; a box act leaves open is closed and
// fails the test.
int answerBox(const std::function<void(QMessageBox*)>& act) {
    std::unique_ptr<QMessageBox> box(createMessageBox(mainWindow(), "有新版本，是否更新？", "提示", MB_YESNO));
    QTimer::singleShot(0, box.get(), [&] {
        act(box.get());
        if (box->isVisible()) {
            ADD_FAILURE() << "the box took no input";
            box->done(QDialog::Rejected);
        }
    });
    box->exec();
    return messageBoxAnswer(box.get(), MB_YESNO);
}

QAbstractButton* buttonOf(QMessageBox* box, const QString& text) {
    for (QAbstractButton* button : box->buttons())
        if (button->text() == text) return button;
    return nullptr;
}

} // namespace

TEST(ImportInput, TheMainWindowTakesOnlyEscapeWhileBoxesAnswer) {
    const LoadItemCommandsHandler* previous = setLoadItemCommandsHandler(nullptr);
    installLoadItemCommands();
    MainWindow window;
    auto* edit = new QLineEdit(&window);
    auto* button = new QPushButton(&window);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    window.show();
    auto commitText = [](const QString& text) {
        auto* event = new QInputMethodEvent;
        event->setCommitString(text);
        return event;
    };
    {
        ItemImportRun run;
        QApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
        QApplication::postEvent(edit, commitText("中文"));
        click(button, true);
        // A queued call opens boxes while the import waits; they answer a key and a click.
        std::vector<int> answers;
        QMetaObject::invokeMethod(
            qApp,
            [&answers] {
                answers.push_back(answerBox([](QMessageBox* box) { dialog_test::pressKey(box, Qt::Key_Return); }));
                answers.push_back(answerBox([](QMessageBox* box) {
                    if (QAbstractButton* no = buttonOf(box, "否")) click(no, false);
                }));
            },
            Qt::QueuedConnection);
        whileImporting();
        EXPECT_EQ(edit->text(), "");
        EXPECT_EQ(clicks, 0);
        EXPECT_EQ(answers, (std::vector<int>{IDYES, IDNO}));
        EXPECT_FALSE(itemImportStopRequested());

        QApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        whileImporting();
        EXPECT_TRUE(itemImportStopRequested());
    }
    EXPECT_FALSE(itemImportStopRequested()) << "the next import starts afresh";
    QApplication::postEvent(edit, commitText("中文"));
    QCoreApplication::processEvents();
    EXPECT_EQ(edit->text(), "中文") << "after the import the main window takes text again";
    setLoadItemCommandsHandler(previous);
}
