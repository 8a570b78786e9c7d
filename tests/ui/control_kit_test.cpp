#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QListWidget>
#include <QStandardItemModel>
#include <QListView>
#include <QWidget>
#include <gtest/gtest.h>

#include "ui/caption_margins_dialog.h"
#include "ui/custom_size_dialog.h"
#include "ui/kit/combo_box.h"
#include "ui/kit/default_font.h"
#include "ui/kit/list_box.h"
#include "ui/kit/tooltips.h"
#include "ui/kit/window_geometry.h"
#include "ui/load_item_dialog.h"

namespace {

TEST(DefaultFont, HeightIsDividedBackAboveNinetySixDpi) {
    struct {
        int dpi, expected;
    } cases[] = {{72, 9}, {96, 12}, {120, 12}, {144, 12}, {192, 12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(compensatedFontHeight(stockFontHeight(c.dpi), c.dpi), c.expected);
    }
    EXPECT_EQ(compensatedFontHeight(15, 120), 12);  // 15 / 1.25
    EXPECT_EQ(compensatedFontHeight(-15, 120), -12);
    EXPECT_EQ(compensatedFontHeight(13, 96), 13);
    EXPECT_EQ(compensatedFontHeight(11, 110), 9);   // 11 / 1.1458 truncated
}

TEST(ComboKit, FirstItemIsSelectedAndStringsMatchIgnoringCase) {
    QComboBox combo;
    EXPECT_EQ(comboAddString(&combo, "abc"), 0);
    EXPECT_EQ(comboGetCurSel(&combo), 0);
    EXPECT_EQ(comboAddString(&combo, "Def"), 1);
    EXPECT_EQ(comboGetCurSel(&combo), 0);
    EXPECT_EQ(comboSelectString(&combo, "ABC"), 0);
    EXPECT_EQ(comboSelectString(&combo, "def"), 1);
    EXPECT_EQ(comboSelectString(&combo, "de"), -1);
    EXPECT_EQ(comboGetCurSel(&combo), 1);

    EXPECT_EQ(comboInsertString(&combo, 1, "mid"), 1);
    EXPECT_EQ(comboGetSelectedText(&combo), "Def");
    comboReplaceString(&combo, 2, "new");
    EXPECT_EQ(comboGetCurSel(&combo), 2);
    EXPECT_EQ(comboGetSelectedText(&combo), "new");
    EXPECT_EQ(comboDeleteString(&combo, 0), 2);
    EXPECT_EQ(comboDeleteString(&combo, 5), -1);
    comboSetCurSel(&combo, 9);
    EXPECT_EQ(comboGetCurSel(&combo), -1);

    QComboBox empty;
    EXPECT_EQ(comboSelectString(&empty, ""), -1);
}

TEST(ListBoxKit, CurrentItemFollowsTheSelectionMode) {
    QListWidget single;
    for (const char* text : {"one", "two", "three"}) listboxAddString(&single, text);
    EXPECT_EQ(listboxGetCurrent(&single), 0);
    listboxSelect(&single, 2);
    EXPECT_EQ(listboxGetCurrent(&single), 2);
    EXPECT_EQ(listboxSelectString(&single, "TW"), 1);
    EXPECT_EQ(listboxGetCurrent(&single), 1);
    listboxReplaceString(&single, 1, "zwei");
    EXPECT_EQ(listboxGetCurrent(&single), 1);
    EXPECT_EQ(listboxGetText(&single, 1), "zwei");

    QListWidget multi;
    multi.setSelectionMode(QAbstractItemView::MultiSelection);
    for (const char* text : {"a", "b", "c", "d"}) multi.addItem(text);
    multi.clearSelection();
    EXPECT_EQ(listboxGetCurrent(&multi), -1);
    listboxSelect(&multi, 3);
    listboxSelect(&multi, 1);
    multi.setCurrentRow(0, QItemSelectionModel::NoUpdate);
    EXPECT_EQ(listboxGetCurrent(&multi), 1);  // current not selected: first selected
    multi.setCurrentRow(3, QItemSelectionModel::NoUpdate);
    EXPECT_EQ(listboxGetCurrent(&multi), 3);  // current and selected
    EXPECT_EQ(listboxDeleteString(&multi, 0), 3);
}

TEST(ListViewKit, SelectingTheFocusedSelectionAgainClearsTheOthers) {
    QStandardItemModel model;
    for (int i = 0; i < 4; ++i) model.appendRow(new QStandardItem(QString::number(i)));
    QListView view;
    view.setModel(&model);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(listViewGetFocusedSelected(&view), -1);
    listViewSelectItem(&view, 1);
    listViewSelectItem(&view, 3);
    EXPECT_EQ(listViewGetFocusedSelected(&view), 3);
    EXPECT_EQ(view.selectionModel()->selectedIndexes().size(), 2);
    listViewSelectItem(&view, 3);
    EXPECT_EQ(view.selectionModel()->selectedIndexes().size(), 1);
    view.selectionModel()->setCurrentIndex(model.index(0, 0), QItemSelectionModel::NoUpdate);
    EXPECT_EQ(listViewGetFocusedSelected(&view), 3);
}

TEST(WindowGeometry, ClientSizeAddsTheExtraWidgetsHeight) {
    QWidget window;
    window.setFixedSize(100, 100);
    QLabel bar(&window);
    bar.setFixedHeight(19);
    setClientSize(&window, 919, 508, &bar);
    EXPECT_EQ(window.size(), QSize(919, 527));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    QWidget free;
    setClientSize(&free, 300, 200, nullptr);
    EXPECT_EQ(free.size(), QSize(300, 200));
}

TEST(Tooltips, AnEighthBalloonClosesTheSevenBefore) {
    QWidget anchor;
    anchor.resize(100, 50);
    EXPECT_EQ(showTrackedTooltip(nullptr, "x", "", TIP_ICON_NONE, false), nullptr);
    EXPECT_FALSE(addToolTip(nullptr, "x"));
    EXPECT_TRUE(addToolTip(&anchor, "提示"));
    EXPECT_EQ(anchor.toolTip(), "提示");
    std::vector<TooltipRecord*> shown;
    for (int i = 0; i < 7; ++i) shown.push_back(showTrackedTooltip(&anchor, "tip", "标题", TIP_ICON_INFO, true));
    EXPECT_EQ(openTooltipCount(), 7);
    showTrackedTooltip(&anchor, "eighth", "", TIP_ICON_NONE, false);
    EXPECT_EQ(openTooltipCount(), 1);
    closeAllTooltips();
    EXPECT_EQ(openTooltipCount(), 0);
}

// The dialogs with fields put the focus in their first one each time they
// become the active window, wherever it was before.
TEST(ActivationFocus, DialogsFocusTheirFirstFieldOnEveryActivation) {
    QWidget owner;
    CustomVideoSizeDialog size(&owner);
    CaptionMarginsDialog margins(&owner);
    LoadItemDialog item(&owner);
    const struct {
        QDialog* dialog;
        QWidget* first;
        QWidget* elsewhere;
    } cases[] = {{&size, size.widthEdit(), size.okButton()},
                 {&margins, margins.edit(kMarginCenterBottom), margins.edit(kMarginBottom)},
                 {&item, item.addressEdit, item.okButton}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog->windowTitle().toStdString());
        c.dialog->show();
        c.elsewhere->setFocus();
        ASSERT_EQ(c.dialog->focusWidget(), c.elsewhere);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(c.dialog, &activate);
        EXPECT_EQ(c.dialog->focusWidget(), c.first);
        c.dialog->hide();
    }
}

} // namespace
