// The picture list, effect, size, pause and GIF-mode commands driven
// through the main window's own widgets.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <set>

#include <wand/MagickWand.h>

#include "foundation/globals.h"
#include "main_window_support.h"
#include "platform/command_ids.h"
#include "platform/info_window.h"
#include "platform/main_command.h"
#include "platform/message_box.h"
#include "ui/status_bar.h"
#include "platform/window_controls.h"
#include "production/picture_list.h"
#include "render/wand_ptr.h"
#include "ui/control_registry.h"
#include "ui/custom_size_dialog.h"
#include "ui/picture_list_widget.h"

using main_window_test::MainWindowTest;
using main_window_test::whenModal;

namespace {

QListWidget* list() { return controlAs<QListWidget>(IDC_PICTURE_LIST); }

bool enabled(int id) { return controlWidget(id)->isEnabled(); }

std::string shownStatus(int part) { return statusPartText(part).toStdString(); }

} // namespace

class MainWindowPictures : public MainWindowTest {
protected:
    // n pictures of one small file, through the add command.
    void addSame(int n) {
        answerOpenFiles(std::vector<std::string>(n, red));
        click(IDM_ADD_PICTURES);
    }
    void SetUp() override {
        MainWindowTest::SetUp();
        red = picture("red.png");
    }
    std::string red;
};

TEST_F(MainWindowPictures, GoodBrokenAndAnimatedFilesThroughTheAddCommand) {
    std::string green = picture("green.jpg", 30, 40, "#00ff00");
    std::string blue = picture("blue.bmp", 20, 20, "#0000ff");
    std::string broken = folder.write("broken.png", "not a picture");
    std::string animated = folder / "moving.gif";
    {
        WandPtr frames(NewMagickWand());
        for (const char* color : {"#ff0000", "#00ff00"}) {
            PixelWandPtr fill = newPixelWand(color);
            MagickNewImage(frames.get(), 16, 16, fill.get());
            MagickSetImageDelay(frames.get(), 10);
        }
        ASSERT_EQ(MagickWriteImages(frames.get(), animated.c_str(), MagickTrue), MagickTrue);
    }
    EXPECT_FALSE(enabled(IDM_MAKE_VIDEO));
    EXPECT_FALSE(controlWidget(IDC_EMPTY_LIST_HINT)->isHidden());

    answerOpenFiles({red, broken, green, animated, blue});
    click(IDM_ADD_PICTURES);

    ASSERT_EQ(list()->count(), 3);
    EXPECT_EQ(lastImageFolder, folder.path());
    EXPECT_EQ(list()->item(0)->text().toStdString(), "无动画");
    EXPECT_EQ(list()->item(0)->icon().availableSizes().value(0), QSize(144, 144));
    EXPECT_EQ(infoLogText(), "无法识别的图片:\r\n" + broken + "\r\n\r\n不支持gif动画图片:\r\n" +
                                 animated + "\r\n\r\n");
    EXPECT_EQ(shownStatus(0), "3 张图片");
    for (int id : {IDM_PREVIEW_VIDEO, IDM_MAKE_VIDEO, IDC_MAKE_VIDEO}) EXPECT_TRUE(enabled(id)) << id;
    for (int id : {IDM_REMOVE_PICTURES, IDM_MOVE_LEFT, IDM_MOVE_RIGHT}) EXPECT_FALSE(enabled(id)) << id;
    EXPECT_TRUE(controlWidget(IDC_EMPTY_LIST_HINT)->isHidden());

    selectRows({1});
    EXPECT_TRUE(enabled(IDM_REMOVE_PICTURES));
    EXPECT_TRUE(enabled(IDM_MOVE_LEFT));
    EXPECT_TRUE(enabled(IDM_MOVE_RIGHT));
    EXPECT_EQ(shownStatus(1).rfind("尺寸: 30 x 40, 类型: JPEG 图片", 0), 0u) << shownStatus(1);
}

TEST_F(MainWindowPictures, SixtyOneFilesGiveSixtyRowsAndTheLimitMessage) {
    addSame(61);
    EXPECT_EQ(list()->count(), 60);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "最多可以添加 60 张图片");
    EXPECT_EQ(boxes.boxes[0].caption, "提示");
    EXPECT_EQ(shownStatus(0), "60 张图片");
}

TEST_F(MainWindowPictures, RemovingKeepsRowsAndRecordsTogether) {
    addSame(5);
    selectRows({0, 2});
    click(IDM_REMOVE_PICTURES);
    ASSERT_EQ(list()->count(), 3);
    EXPECT_EQ(pictureListSize(), 3);
    EXPECT_EQ(list()->item(0)->text().toStdString(), "无动画");
    EXPECT_FALSE(enabled(IDM_REMOVE_PICTURES)) << "no selection is left";
    addSame(1);
    ASSERT_EQ(list()->count(), 4);
    EXPECT_EQ(list()->item(3)->text().toStdString(), pictureAt(3)->effectName);

    sendMainCommand(IDM_REMOVE_ALL, 1);
    settle();
    EXPECT_EQ(list()->count(), 0);
    EXPECT_FALSE(controlWidget(IDC_EMPTY_LIST_HINT)->isHidden());
    EXPECT_FALSE(enabled(IDC_MAKE_VIDEO));
}

TEST_F(MainWindowPictures, MovesKeepEffectsWithTheirPlacesAndCaptionsWithTheirPictures) {
    std::vector<std::string> files = {picture("a.png"), picture("b.png"), picture("c.png")};
    answerOpenFiles(files);
    click(IDM_ADD_PICTURES);
    for (int i = 0; i < 3; ++i) pictureAt(i)->caption->text = "t" + std::to_string(i);
    const std::vector<std::string> labels = rowLabels();

    selectRows({1});
    click(IDM_MOVE_RIGHT);
    EXPECT_EQ(pictureAt(2)->fileName, "b.png");
    EXPECT_EQ(pictureAt(2)->caption->text, "t1");
    EXPECT_EQ(pictureAt(1)->fileName, "c.png");
    EXPECT_EQ(rowLabels(), labels) << "the effects stay in place";
    EXPECT_EQ(getSelectedItemIndex(), 2);
    EXPECT_FALSE(enabled(IDM_MOVE_RIGHT)) << "the last row has no right neighbour";
    EXPECT_TRUE(enabled(IDM_MOVE_LEFT));

    click(IDM_MOVE_LEFT);
    click(IDM_MOVE_LEFT);
    EXPECT_EQ(pictureAt(0)->fileName, "b.png");
    EXPECT_EQ(pictureAt(0)->effectIndex, 99);
    EXPECT_EQ(rowLabels(), labels);
    EXPECT_FALSE(enabled(IDM_MOVE_LEFT));
}

TEST_F(MainWindowPictures, TheHoverComboSetsTheFocusedPicturesEffect) {
    addSame(3);
    selectRows({2});
    QWidget* panel = controlWidget(IDC_HOVER_PANEL);
    ASSERT_FALSE(panel->isHidden()) << "shown over the selected row";
    auto* combo = controlAs<QComboBox>(IDC_ITEM_EFFECT);
    EXPECT_EQ(combo->currentText().toStdString(), pictureAt(2)->effectName);
    QRect row = list()->visualRect(list()->model()->index(2, 0));
    // At the row's left edge, just below its icon, over the label.
    EXPECT_EQ(panel->pos(), QPoint(row.x(), row.y() + (row.y() + 2 + 144) - 2));

    const int effect = combo->findText(QString::fromUtf8("左右开门"));
    pick(IDC_ITEM_EFFECT, effect);
    EXPECT_EQ(pictureAt(2)->effectIndex, 95);
    EXPECT_EQ(list()->item(2)->text().toStdString(), "左右开门");
    EXPECT_TRUE(panel->isHidden());

    selectRows({2});
    pick(IDC_ITEM_EFFECT, 1);  // a separator changes nothing
    EXPECT_EQ(pictureAt(2)->effectIndex, 95);
}

TEST_F(MainWindowPictures, PauseEntriesGiveTheirFrames) {
    const struct {
        int entry, frames;
    } pauses[] = {{0, 2}, {1, 3}, {2, 4}, {13, 34}, {14, 40}, {15, 44}, {21, 125}};
    for (const auto& pause : pauses) {
        pick(IDC_PAUSE_TIME, pause.entry);
        EXPECT_EQ(pauseFrames, pause.frames) << pause.entry;
    }
}

TEST_F(MainWindowPictures, PresetAndCustomSizes) {
    pick(IDC_VIDEO_SIZE, 13);
    EXPECT_EQ(videoWidth, 1080);
    EXPECT_EQ(videoHeight, 1440);

    auto customSize = [&](const char* width, const char* height) {
        whenModal("CustomVideoSizeDialog", [=](QWidget* modal) {
            auto* dialog = static_cast<CustomVideoSizeDialog*>(modal);
            dialog->widthEdit()->setText(width);
            dialog->heightEdit()->setText(height);
            dialog->okButton()->click();
        });
        pick(IDC_VIDEO_SIZE, controlAs<QComboBox>(IDC_VIDEO_SIZE)->count() - 1);
    };
    customSize("800", "800");
    EXPECT_EQ(comboGetCurSel(IDC_VIDEO_SIZE), 10) << "a preset of that size";
    EXPECT_EQ(comboGetCount(IDC_VIDEO_SIZE), 15);
    customSize("1000", "600");
    EXPECT_EQ(comboGetCurSel(IDC_VIDEO_SIZE), 14);
    EXPECT_EQ(comboGetItemText(IDC_VIDEO_SIZE, 14), "1000x600");
    EXPECT_EQ(comboGetItemText(IDC_VIDEO_SIZE, 15), "自定义...");
    EXPECT_EQ(videoWidth, 1000);
    EXPECT_EQ(videoHeight, 600);
    customSize("1000", "600");
    EXPECT_EQ(comboGetCount(IDC_VIDEO_SIZE), 16) << "the same size is not added twice";
    EXPECT_EQ(comboGetCurSel(IDC_VIDEO_SIZE), 14);

    pick(IDC_VIDEO_SIZE, 2);
    pick(IDC_VIDEO_SIZE, 14);
    EXPECT_EQ(videoWidth, 1000) << "an added size is read back from its text";
    EXPECT_EQ(videoHeight, 600);

    whenModal("CustomVideoSizeDialog",
              [](QWidget* modal) { static_cast<CustomVideoSizeDialog*>(modal)->cancelButton()->click(); });
    pick(IDC_VIDEO_SIZE, 15);
    EXPECT_EQ(comboGetCurSel(IDC_VIDEO_SIZE), 14) << "cancelled: back to the last size";

    pick(IDC_VIDEO_SIZE, 0);
    EXPECT_EQ(videoWidth, 400);
    EXPECT_EQ(videoHeight, 400);
}

TEST_F(MainWindowPictures, GifModeOnAndOffWithItsConfirmations) {
    auto* gif = controlAs<QToolButton>(IDM_GIF_MODE);
    // An empty list: only the pause and the title change.
    pick(IDC_PAUSE_TIME, 14);
    click(IDM_GIF_MODE);
    EXPECT_EQ(maxPictures, 600);
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), 0);
    EXPECT_EQ(pauseFrames, 2);
    EXPECT_EQ(window->windowTitle().toStdString(), "Tevrako(V10.5) - [GIF模式]");

    setChecked(IDC_CAPTION_CHECK, 0);
    addSame(61);
    ASSERT_EQ(list()->count(), 61);
    for (int i = 0; i < 61; ++i) EXPECT_EQ(pictureAt(i)->effectIndex, 99);
    EXPECT_EQ(list()->item(5)->text().toStdString(), "red.png");

    // Off, cancelled: the mode stays with all its pictures.
    boxes.answer(IDCANCEL);
    click(IDM_GIF_MODE);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "当前添加的图片数量超过 60 张, 多出的图片将从图片列表中移除。");
    EXPECT_EQ(boxes.boxes[0].caption, "确认");
    EXPECT_EQ(boxes.boxes[0].type, unsigned(MB_ICONQUESTION | MB_OKCANCEL));
    EXPECT_TRUE(gif->isChecked());
    EXPECT_EQ(maxPictures, 600);
    EXPECT_EQ(list()->count(), 61);
    EXPECT_EQ(window->windowTitle().toStdString(), "Tevrako(V10.5) - [GIF模式]");

    // Off, accepted: 60 pictures with new effects.
    boxes.answer(IDOK);
    click(IDM_GIF_MODE);
    EXPECT_FALSE(gif->isChecked());
    EXPECT_EQ(maxPictures, 60);
    ASSERT_EQ(list()->count(), 60);
    EXPECT_EQ(pictureAt(0)->effectIndex, 99);
    std::set<int> effects;
    for (int i = 1; i < 60; ++i) effects.insert(pictureAt(i)->effectIndex);
    EXPECT_EQ(effects.size(), 59u);
    EXPECT_EQ(list()->item(5)->text().toStdString(), pictureAt(5)->effectName);
    EXPECT_EQ(window->windowTitle().toStdString(), "Tevrako(V10.5)");

    // On again with a music-synchronised pause: the pause stays.
    pick(IDC_PAUSE_TIME, 22);
    click(IDM_GIF_MODE);
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), 22);
    EXPECT_EQ(list()->item(1)->text().toStdString(), "red.png");
}
