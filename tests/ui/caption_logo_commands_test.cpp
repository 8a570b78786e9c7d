// The caption and logo commands driven through the main window's widgets.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include <wand/MagickWand.h>

#include "foundation/globals.h"
#include "main_window_support.h"
#include "spawn_recorder.h"
#include "platform/command_ids.h"
#include "platform/main_command.h"
#include "platform/message_box.h"
#include "platform/window_controls.h"
#include "production/picture_list.h"
#include "render/wand_ptr.h"
#include "ui/control_registry.h"
#include "ui/picture_list_widget.h"

using main_window_test::MainWindowTest;

namespace {

QWidget* marker(int row) {
    return controlAs<PictureListWidget>(IDC_PICTURE_LIST)->captionMarker(row);
}

} // namespace

class CaptionLogoCommands : public MainWindowTest {
protected:
    SpawnRecorder launches;
    void SetUp() override {
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        supportSite.clear();
        userId[0] = '\0';
        MainWindowTest::TearDown();
    }
    void addPictures(int n) {
        answerOpenFiles(std::vector<std::string>(n, picture("p.png")));
        click(IDM_ADD_PICTURES);
    }
    // Types into the caption edit as the user would: the edit has the focus.
    void typeCaption(const std::string& text) {
        auto* edit = controlAs<QLineEdit>(IDC_CAPTION_TEXT);
        QApplication::setActiveWindow(window);
        edit->setFocus();
        settle();
        edit->setText(QString::fromStdString(text));
        settle();
    }
    // A logo file chosen in the dialog.
    void chooseLogo(const std::string& path) {
        answerOpenFile(path);
        click(IDC_LOGO_CHOOSE);
    }
    std::string logo(const std::string& name, int width, int height, const char* format = nullptr) {
        std::string path = folder / name;
        WandPtr wand(NewMagickWand());
        PixelWandPtr fill = newPixelWand("#336699");
        MagickNewImage(wand.get(), width, height, fill.get());
        if (format && std::string(format) == "CMYK") {
            MagickTransformImageColorspace(wand.get(), CMYKColorspace);
            MagickSetImageFormat(wand.get(), "JPEG");
        }
        EXPECT_EQ(MagickWriteImage(wand.get(), path.c_str()), MagickTrue);
        return path;
    }
};

TEST_F(CaptionLogoCommands, CaptionBoxInGifModeIsRefused) {
    click(IDM_GIF_MODE);
    click(IDC_CAPTION_CHECK);
    EXPECT_FALSE(isChecked(IDC_CAPTION_CHECK));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "开启[GIF模式]后，不能加文字。");
    EXPECT_EQ(boxes.boxes[0].caption, "提示");
    EXPECT_EQ(boxes.boxes[0].type, unsigned(MB_ICONINFORMATION));
    EXPECT_FALSE(controlWidget(IDC_CAPTION_FONT)->isEnabled());
}

TEST_F(CaptionLogoCommands, CaptionBoxTurnsCaptionsOnForEveryPicture) {
    addPictures(3);
    click(IDC_CAPTION_CHECK);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pictureAt(i)->caption->mode, 1u);
    EXPECT_TRUE(controlWidget(IDC_CAPTION_FONT)->isEnabled());
    EXPECT_FALSE(controlWidget(IDC_CAPTION_TEXT)->isEnabled()) << "no picture selected";
    selectRows({1});
    EXPECT_TRUE(controlWidget(IDC_CAPTION_TEXT)->isEnabled());

    pick(IDC_CAPTION_FONT, 2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pictureAt(i)->caption->fontName, "宋体");
    pick(IDC_CAPTION_COLOR, 7);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pictureAt(i)->caption->textColor, rgbColor(255, 255, 255));
        EXPECT_EQ(pictureAt(i)->caption->boxColor, rgbColor(255, 97, 157));
    }
    QWidget* sample = controlWidget(IDC_CAPTION_SAMPLE);
    sample->repaint();
    EXPECT_EQ(sample->palette().color(QPalette::Window), QColor(255, 97, 157));
    EXPECT_EQ(sample->palette().color(QPalette::WindowText), QColor(255, 255, 255));

    click(IDC_CAPTION_CHECK);
    EXPECT_EQ(pictureAt(0)->caption->mode, 0u);
    sample->repaint();
    EXPECT_EQ(sample->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(CaptionLogoCommands, TypedTextGoesToEverySelectedPicture) {
    addPictures(3);
    click(IDC_CAPTION_CHECK);
    selectRows({0, 2});
    ASSERT_TRUE(controlWidget(IDC_CAPTION_TEXT)->isEnabled());
    typeCaption("  新品上市 ");
    EXPECT_EQ(pictureAt(0)->caption->text, "新品上市");
    EXPECT_EQ(pictureAt(2)->caption->text, "新品上市");
    EXPECT_EQ(pictureAt(1)->caption->text, "");
    EXPECT_FALSE(marker(0)->isHidden());
    EXPECT_TRUE(marker(1)->isHidden());
    EXPECT_FALSE(marker(2)->isHidden());

    typeCaption("   ");
    EXPECT_EQ(pictureAt(0)->caption->text, "");
    EXPECT_TRUE(marker(0)->isHidden());
    EXPECT_TRUE(marker(2)->isHidden());

    // Text set by the selection refresh is not taken as typed.
    pictureAt(1)->caption->text = "own";
    selectRows({1});
    EXPECT_EQ(getControlText(IDC_CAPTION_TEXT), "own");
    EXPECT_EQ(pictureAt(0)->caption->text, "");
}

TEST_F(CaptionLogoCommands, PositionsFromTheComboAndTheAutomaticLayouts) {
    addPictures(4);
    click(IDC_CAPTION_CHECK);
    selectRows({1, 2});
    pick(IDC_CAPTION_POSITION, 7);
    EXPECT_EQ(pictureAt(0)->caption->position, 4);
    EXPECT_EQ(pictureAt(1)->caption->position, 7);
    EXPECT_EQ(pictureAt(2)->caption->position, 7);

    selectRows({3});
    sendMainCommand(IDM_CAPTION_EDGE_DIAGONAL, 0);
    settle();
    const int edgeDiagonal[] = {1, 2, 1, 2};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pictureAt(i)->caption->position, edgeDiagonal[i]) << i;
    EXPECT_EQ(comboGetCurSel(IDC_CAPTION_POSITION), 2) << "the selected picture's position";

    sendMainCommand(IDM_CAPTION_CENTER_BOTTOM, 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pictureAt(i)->caption->position, 4);
}

TEST_F(CaptionLogoCommands, LogoChecks) {
    click(IDC_LOGO_CHECK);
    EXPECT_TRUE(controlWidget(IDC_LOGO_POSITION)->isEnabled());
    const struct {
        std::string file;
        const char* message;  // null: accepted
        const char* caption;
    } cases[] = {
        {logo("fits.png", 256, 256), nullptr, nullptr},
        {logo("wide.png", 257, 10),
         "选中的图片尺寸(257 x 10)过大，请选择尺寸小于 256 x 256 的图片。", "提示"},
        {logo("tall.jpg", 10, 300),
         "选中的图片尺寸(10 x 300)过大，请选择尺寸小于 256 x 256 的图片。", "提示"},
        {logo("cmyk.jpg", 64, 64, "CMYK"),
         "选择的图标文件是一个使用了[CMYK颜色模式]的JPG图片，请先将图标文件转换成[RGB颜色模式]后再使用。",
         "提示"},
        {logo("logo.bmp", 64, 64), "选中的文件格式不受支持，请选择 PNG 或 JPG 格式的图片。", "错误"},
        {logo("photo.jpg", 100, 80), nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        boxes.boxes.clear();
        setControlText(IDC_LOGO_PATH, "previous");
        chooseLogo(c.file);
        if (!c.message) {
            EXPECT_TRUE(boxes.boxes.empty());
            EXPECT_EQ(getControlText(IDC_LOGO_PATH), c.file);
            continue;
        }
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, c.message);
        EXPECT_EQ(boxes.boxes[0].caption, c.caption);
        EXPECT_EQ(boxes.boxes[0].type, unsigned(MB_ICONWARNING));
        EXPECT_EQ(getControlText(IDC_LOGO_PATH), "");
    }
    EXPECT_EQ(lastLogoFolder, folder.path());

    click(IDC_LOGO_CHECK);
    EXPECT_FALSE(controlWidget(IDC_LOGO_POSITION)->isEnabled());
    EXPECT_FALSE(controlWidget(IDC_LOGO_CHOOSE)->isEnabled());
}

TEST_F(CaptionLogoCommands, PagesGetEncodedAddresses) {
    supportSite = "https://www.example";
    std::snprintf(userId, sizeof userId, "%s", "ab c&d");
    click(IDC_LOGO_CHECK);
    click(IDC_LOGO_DOWNLOAD);
    ASSERT_EQ(launches.spawned.size(), 1u);
    EXPECT_EQ(launches.spawned[0].back(), "https://www.example/logo.asp?t=d%26c+ba");

    addPictures(2);
    selectRows({1});
    sendMainCommand(IDM_PREVIEW_PICTURE, 1);
    ASSERT_EQ(launches.spawned.size(), 2u);
    EXPECT_EQ(launches.spawned[1].back(),
              "https://www.example/preview.asp?id=" + std::to_string(pictureAt(1)->effectIndex));

    supportSite.clear();
    click(IDC_LOGO_DOWNLOAD);
    EXPECT_EQ(launches.spawned.size(), 2u) << "no site, no page";
}
