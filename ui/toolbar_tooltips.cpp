#include "ui/toolbar_tooltips.h"

#include <QAction>
#include <QWidget>

#include "platform/command_ids.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"

namespace {

constexpr int kGifModePictures = 600;

} // namespace

QString toolbarTooltip(int id) {
    switch (id) {
    case IDM_LOAD_ITEM_PICTURES: return QString::fromUtf8("加载淘宝,天猫宝贝图片");
    case IDM_DESKTOP_SHORTCUT: return QString::fromUtf8("在桌面创建一个快捷方式");
    case IDM_UPLOAD_VIDEO: return QString::fromUtf8("上传视频到淘宝视频空间");
    case IDM_GIF_MODE:
        return QString::fromUtf8("开启[GIF模式]后视频由最多 %1 张连续的图片组成").arg(kGifModePictures);
    default: return {};
    }
}

void applyToolbarTooltips(QObject* root) {
    for (int id : {IDM_LOAD_ITEM_PICTURES, IDM_DESKTOP_SHORTCUT, IDM_UPLOAD_VIDEO, IDM_GIF_MODE}) {
        QString tip = toolbarTooltip(id);
        for (QAction* action : commandActions(root, id)) action->setToolTip(tip);
        if (QWidget* button = controlWidget(id)) button->setToolTip(tip);
    }
}
