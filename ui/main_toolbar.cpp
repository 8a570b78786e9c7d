#include "ui/main_toolbar.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

#include "platform/command_ids.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/main_window.h"
#include "ui/main_window_tables.h"

namespace {

constexpr int kIconSize = 32;
constexpr int kSeparatorWidth = 8;
constexpr int kDropdownWidth = kToolbarButtonMaxWidth + 12;  // room for the arrow

// The picture on each button, from the style's standard icons.
QStyle::StandardPixmap iconOf(int id) {
    switch (id) {
    case IDM_ADD_PICTURES: return QStyle::SP_DialogOpenButton;
    case IDM_LOAD_ITEM_PICTURES: return QStyle::SP_ArrowDown;
    case IDM_REMOVE_PICTURES: return QStyle::SP_TrashIcon;
    case IDM_MOVE_LEFT: return QStyle::SP_ArrowLeft;
    case IDM_MOVE_RIGHT: return QStyle::SP_ArrowRight;
    case IDM_PREVIEW_VIDEO: return QStyle::SP_MediaPlay;
    case IDM_MAKE_VIDEO: return QStyle::SP_DialogSaveButton;
    case IDM_DESKTOP_SHORTCUT: return QStyle::SP_DialogOkButton;  // a curved link arrow
    case IDM_SUPPORT_SITE: return QStyle::SP_DirHomeIcon;
    case IDM_ABOUT: return QStyle::SP_MessageBoxInformation;
    case IDM_USER_GUIDE: return QStyle::SP_DialogHelpButton;
    case IDM_GIF_MODE: return QStyle::SP_FileDialogListView;  // frames side by side
    case IDM_SETTINGS_MENU: return QStyle::SP_FileDialogDetailedView;
    default: return QStyle::SP_ArrowUp;  // "上传视频"
    }
}

int widthOf(const ToolbarEntry& entry) {
    return entry.style == ToolStyle::Dropdown ? kDropdownWidth : kToolbarButtonMinWidth;
}

// Buttons stand side by side in table order; a hidden one leaves no gap.
void layOut() {
    int x = 2;
    for (int i = 0; i < kToolbarEntryCount; ++i) {
        const ToolbarEntry& entry = kToolbarEntries[i];
        if (entry.style == ToolStyle::Separator) {
            x += kSeparatorWidth;
            continue;
        }
        QWidget* button = controlWidget(entry.id);
        if (!button || button->isHidden()) continue;
        button->setGeometry(x, 1, widthOf(entry), kToolbarHeight - 2);
        x += widthOf(entry);
    }
}

// The menu takes the pointer while it is open, so a button that was under
// it when the menu dropped down hears of no leaving and stays drawn raised.
// Once the menu has closed, the button is under the mouse only when the
// pointer really is over it.
void forgetHoverAfterMenu(QToolButton* button, QMenu* menu) {
    QObject::connect(menu, &QMenu::aboutToHide, button, [button] {
        if (button->rect().contains(button->mapFromGlobal(QCursor::pos()))) return;
        button->setAttribute(Qt::WA_UnderMouse, false);
        button->update();
    }, Qt::QueuedConnection);
}

class RelayoutOnShowHide : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) layOut();
        return false;
    }
};

} // namespace

QWidget* createMainToolbar(QWidget* window, QMenu* dropDown) {
    auto* bar = new QWidget(window);
    bar->setGeometry(0, 0, kMainClientWidth, kToolbarHeight);
    auto* relayout = new RelayoutOnShowHide(bar);
    for (int i = 0; i < kToolbarEntryCount; ++i) {
        const ToolbarEntry& entry = kToolbarEntries[i];
        if (entry.style == ToolStyle::Separator) continue;
        auto* button = new QToolButton(bar);
        button->setText(QString::fromUtf8(entry.text));
        button->setIcon(QApplication::style()->standardIcon(iconOf(entry.id)));
        button->setIconSize(QSize(kIconSize, kIconSize));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        if (entry.style == ToolStyle::Check) button->setCheckable(true);
        if (entry.style == ToolStyle::Dropdown) {
            button->setMenu(dropDown);
            button->setPopupMode(QToolButton::InstantPopup);
            forgetHoverAfterMenu(button, dropDown);
        }
        button->setEnabled(entry.enabled);
        button->setVisible(!entry.hidden);
        registerControl(entry.id, button);
        if (entry.style != ToolStyle::Dropdown) bindCommand(button, entry.id);
        button->installEventFilter(relayout);
    }
    layOut();
    return bar;
}
