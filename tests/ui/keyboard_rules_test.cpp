#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <gtest/gtest.h>
#include <vector>

#include "platform/command_ids.h"
#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/main_command.h"
#include "platform/picture_list_view.h"
#include "production/picture_list.h"
#include "render/picture_record.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/info_window.h"
#include "ui/keyboard_rules.h"
#include "ui/main_window.h"

namespace {

struct Sent {
    int id, code;
    bool operator==(const Sent&) const = default;
};

// A main window with the controls the rules name, registered by id.
class KeyboardRules : public testing::Test {
protected:
    void SetUp() override {
        installCommandRouter();
        installKeyboardRules();
        window = new MainWindow;
        // Only this test's handlers: the window's own commands are not under test.
        clearCommandHandlers();
        list = new QListWidget(window);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setGeometry(1, 62, 916, 190);
        for (int i = 0; i < 3; ++i) list->addItem(QString::number(i));
        // The pictures themselves: records and the rows that show them.
        setPictureListViewHandler(nullptr);
        resetMemoryListView();
        initPictureList();
        for (int i = 0; i < 3; ++i) {
            auto* picture = new PictureRecord;
            picture->path = "/p/" + std::to_string(i) + ".jpg";
            picture->effectIndex = 99;
            linkedlist_add(pictureList, picture);
            insertListRow(i, "无动画", RowIcon{});
        }
        caption = new QLineEdit("caption", window);
        caption->setGeometry(237, 300, 192, 20);
        button = new QPushButton("?", window);
        button->setGeometry(879, 300, 26, 23);
        combo = new QComboBox(window);
        combo->setGeometry(49, 300, 138, 21);
        combo->addItems({"a", "b"});
        label = new QLabel("位置：", window);
        label->setGeometry(12, 340, 37, 19);
        hover = new QWidget(list->viewport());
        hover->setGeometry(0, 0, 144, 23);
        effect = new QComboBox(hover);
        effect->setGeometry(0, 0, 144, 21);
        registerControl(IDC_PICTURE_LIST, list);
        registerControl(IDC_CAPTION_TEXT, caption);
        registerControl(IDC_HOVER_PANEL, hover);
        registerControl(IDC_ITEM_EFFECT, effect);
        for (int id : {IDM_REMOVE_ALL, IDM_PREVIEW_PICTURE})
            setCommandHandler(id, [this](int id, int code) { sent.push_back({id, code}); });
        window->show();
        QApplication::setActiveWindow(window);
    }
    void TearDown() override {
        removeAllPictures();
        delete window;
        clearCommandHandlers();
        setMainCommandHandler(nullptr);
    }

    // Keys go to the widget with the focus, through the application.
    bool press(QWidget* focus, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               const QString& text = {}) {
        focus->setFocus();
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(focus, &event);
        return event.isAccepted();
    }
    void click(QWidget* target) {
        static quint64 time = 1000;
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        event.setTimestamp(time += 500);
        QApplication::sendEvent(target, &event);
    }
    int selectedPictures() const {
        int selected = 0;
        for (int row = 0; row < listRowCount(); ++row) selected += (listRowState(row) & ROW_SELECTED) != 0;
        return selected;
    }
    void clearPictureSelection() {
        for (int row = 0; row < listRowCount(); ++row) setListRowState(row, 0, ROW_SELECTED);
    }

    MainWindow* window = nullptr;
    QListWidget* list = nullptr;
    QLineEdit* caption = nullptr;
    QPushButton* button = nullptr;
    QComboBox* combo = nullptr;
    QLabel* label = nullptr;
    QWidget* hover = nullptr;
    QComboBox* effect = nullptr;
    std::vector<Sent> sent;
};

TEST_F(KeyboardRules, AcceleratorsReachTheMainWindowFromAnyControl) {
    press(caption, Qt::Key_D, Qt::ControlModifier);
    press(list, Qt::Key_F5);
    press(combo, Qt::Key_F5, Qt::ShiftModifier);  // not the accelerator
    press(button, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(sent, (std::vector<Sent>{{IDM_REMOVE_ALL, 1}, {IDM_PREVIEW_PICTURE, 1}}));
    EXPECT_EQ(caption->text(), "caption");
}

TEST_F(KeyboardRules, CtrlASelectsTextInAnEditAndPicturesFromButtonsAndCombos) {
    caption->deselect();
    press(caption, Qt::Key_A, Qt::ControlModifier, "\x01");
    EXPECT_EQ(caption->selectedText(), "caption");
    EXPECT_EQ(selectedPictures(), 0);

    press(button, Qt::Key_A, Qt::ControlModifier, "\x01");
    EXPECT_EQ(selectedPictures(), 3);
    clearPictureSelection();
    press(combo, Qt::Key_A, Qt::ControlModifier, "\x01");
    EXPECT_EQ(selectedPictures(), 3);
    clearPictureSelection();
    // A list view selects its own items.
    press(list, Qt::Key_A, Qt::ControlModifier, "\x01");
    EXPECT_EQ(list->selectionModel()->selectedIndexes().size(), 3);
}

TEST_F(KeyboardRules, DeleteRemovesSelectedPicturesOnlyOutsideEdits) {
    setListRowState(1, ROW_SELECTED, ROW_SELECTED);
    press(caption, Qt::Key_Delete);
    EXPECT_EQ(pictureListSize(), 3);
    press(button, Qt::Key_Delete);
    EXPECT_EQ(pictureListSize(), 2);
    EXPECT_EQ(pictureAt(1)->path, "/p/2.jpg");
    setListRowState(0, ROW_SELECTED, ROW_SELECTED);
    press(list, Qt::Key_Delete);
    EXPECT_EQ(pictureListSize(), 1);
    press(combo, Qt::Key_Delete);  // nothing selected: nothing removed
    EXPECT_EQ(pictureListSize(), 1);
    EXPECT_EQ(listRowCount(), 1);
}

TEST_F(KeyboardRules, DeleteInTheInformationWindowsLogLeavesThePictures) {
    // The read-only log lets Delete pass on to its window, which counts as
    // the main window's kind: only the key's first receiver may act on it.
    createInfoWindow(window);
    appendInfoWindowText("图片1.jpg 无法读取");
    QApplication::setActiveWindow(infoWindow());
    setListRowState(1, ROW_SELECTED, ROW_SELECTED);
    press(infoWindowLog(), Qt::Key_Delete);
    EXPECT_EQ(QApplication::focusWidget(), infoWindowLog());
    EXPECT_EQ(pictureListSize(), 3);
    EXPECT_EQ(selectedPictures(), 1);
}

TEST_F(KeyboardRules, F2TogglesTheInformationWindow) {
    createInfoWindow(window);
    ASSERT_FALSE(infoWindow()->isVisible());
    press(button, Qt::Key_F2);
    EXPECT_TRUE(infoWindow()->isVisible());
    press(caption, Qt::Key_F2);
    EXPECT_FALSE(infoWindow()->isVisible());
}

TEST_F(KeyboardRules, NoRuleActsWhileAWindowKeepsTheMainWindowDisabled) {
    createInfoWindow(window);
    setListRowState(1, ROW_SELECTED, ROW_SELECTED);
    // A window over the disabled main window, as the preview runs.
    QWidget preview(window, Qt::Window);
    preview.show();
    window->setEnabled(false);
    preview.setEnabled(true);
    QApplication::setActiveWindow(&preview);
    struct {
        int key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{Qt::Key_D, Qt::ControlModifier}, {Qt::Key_F5, Qt::NoModifier},
                {Qt::Key_Delete, Qt::NoModifier}, {Qt::Key_F2, Qt::NoModifier}};
    for (const auto& k : keys) press(&preview, k.key, k.modifiers);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(pictureListSize(), 3);
    EXPECT_FALSE(infoWindow()->isVisible());
    window->setEnabled(true);
}

TEST_F(KeyboardRules, ClicksFocusControlsAndHideTheHoverPanelButNotOnLabels) {
    list->setFocus();
    hover->show();
    click(label);
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_TRUE(hover->isVisible());
    click(effect);
    EXPECT_EQ(QApplication::focusWidget(), effect);
    EXPECT_TRUE(hover->isVisible());
    click(button);
    EXPECT_EQ(QApplication::focusWidget(), button);
    EXPECT_FALSE(hover->isVisible());
    hover->show();
    click(list->viewport());
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_TRUE(hover->isVisible());
}

TEST(ControlClasses, WidgetsMapToTheKindsTheRulesTellApart) {
    QWidget parent;
    QComboBox editable(&parent);
    editable.setEditable(true);
    QListWidget list(&parent);
    QStatusBar bar(&parent);
    QWidget panel(&parent);
    struct {
        QWidget* widget;
        ControlClass kind;
    } cases[] = {
        {new QLabel(&parent), ControlClass::Static},  {&panel, ControlClass::Static},
        {&bar, ControlClass::StatusBar},              {new QLineEdit(&parent), ControlClass::Edit},
        {&editable, ControlClass::Edit},              {new QComboBox(&parent), ControlClass::ComboBox},
        {&list, ControlClass::ListView},              {new QPushButton(&parent), ControlClass::Button},
        {nullptr, ControlClass::Other},
    };
    for (const auto& c : cases) EXPECT_EQ(controlClassOf(c.widget), c.kind);
}

} // namespace
