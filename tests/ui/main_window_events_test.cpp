#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QMenu>
#include <gtest/gtest.h>
#include <wand/MagickWand.h>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/globals.h"
#include "foundation/preferences.h"
#include "foundation/registry.h"
#include "foundation/temp_folder.h"
#include "message_recorder.h"
#include "net/import/download_folder.h"
#include "platform/command_ids.h"
#include "platform/picture_list_view.h"
#include "platform/window_controls.h"
#include "production/picture_list.h"
#include "ui/caption_sample_colors.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/main_window.h"
#include "ui/picture_list_notifications.h"

namespace {

class MainWindowEvents : public testing::Test {
protected:
    void SetUp() override {
        MagickWandGenesis();
        ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        workFolder = folder.folder("work");
        setPictureListViewHandler(nullptr);
        resetMemoryListView();
        initPictureList();
        resetPictureCounter();
        maxPictures = 60;
        QImage picture(24, 16, QImage::Format_RGB32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(QString::fromStdString(folder / "IMG.JPG"), "JPG"));
        ASSERT_TRUE(picture.save(QString::fromStdString(folder / "y.PNG"), "PNG"));
        ASSERT_TRUE(picture.save(QString::fromStdString(folder / "photo.jpeg.txt"), "JPG"));
    }
    void TearDown() override {
        removeAllPictures();
        MagickWandTerminus();
    }
    std::vector<std::string> pictureNames() {
        std::vector<std::string> names;
        for (int i = 0; i < pictureListSize(); ++i) names.push_back(pictureAt(i)->fileName);
        return names;
    }

    TempFolder folder;
};

TEST_F(MainWindowEvents, DroppedPictureFilesAreAddedAndOthersSkipped) {
    MessageRecorder boxes;
    dropPictureFiles({folder / "IMG.JPG", folder / "photo.jpeg.txt", folder.folder("album.png"),
                      folder / "missing.png", folder / "y.PNG"});
    EXPECT_EQ(pictureNames(), (std::vector<std::string>{"IMG.JPG", "y.PNG"}));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MainWindowEvents, SeventyDroppedPicturesFillTheListAndWarnOnce) {
    MessageRecorder boxes;
    dropPictureFiles(std::vector<std::string>(70, folder / "y.PNG"));
    EXPECT_EQ(pictureListSize(), 60);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("60"), std::string::npos) << boxes.boxes[0].text;
}

TEST_F(MainWindowEvents, ClosingSavesTheSizeOnlyWhenChosenAndRemovesOnlyThisRunsDownloads) {
    MainWindow* window = new MainWindow;
    auto* sizes = new QComboBox(window);
    sizes->addItems({"", "400", "480"});
    registerControl(IDC_VIDEO_SIZE, sizes);
    installWindowControls();
    writeDefaultVideoSize(1080, 1440);
    std::string ours = ensureDownloadFolder();
    ASSERT_FALSE(ours.empty());
    std::string downloaded = ours + "/1.jpg";
    std::filesystem::copy_file(folder / "IMG.JPG", downloaded);
    std::string others = folder.folder("work/downloads-1-abcdef");
    std::string kept = folder.write("work/notes.txt");

    videoWidth = 480;
    videoHeight = 480;
    sizes->setCurrentIndex(0);  // no size chosen
    window->close();
    int width = 0;
    read_registry_dword(HKEY_CURRENT_USER, kPreferenceKey, "mp4_default_width", &width);
    EXPECT_EQ(width, 1080);
    EXPECT_FALSE(std::filesystem::exists(ours));
    EXPECT_TRUE(std::filesystem::exists(others));
    EXPECT_TRUE(std::filesystem::exists(kept));

    sizes->setCurrentIndex(2);
    window->close();
    read_registry_dword(HKEY_CURRENT_USER, kPreferenceKey, "mp4_default_width", &width);
    EXPECT_EQ(width, 480);
    delete window;
    setWindowControlsHandler(nullptr);
}

// A list menu with the commands bound as the main window binds them.
QMenu* listMenu() {
    auto* menu = new QMenu;
    for (int id = IDM_CTX_ADD_PICTURES; id <= IDM_CTX_LOAD_ITEM_PICTURES; ++id)
        bindCommand(menu->addAction(QString::number(id)), id);
    return menu;
}

bool enabled(QMenu* menu, int id) { return commandActions(menu, id).value(0)->isEnabled(); }

TEST_F(MainWindowEvents, TheListMenuGreysWhatTheListCannotDo) {
    std::unique_ptr<QMenu> menu(listMenu());
    prepareListContextMenu(menu.get());
    for (int id : {IDM_CTX_REMOVE_SELECTED, IDM_REMOVE_ALL, IDM_RANDOM_EFFECTS, IDM_APPLY_EFFECT_TO_ALL,
                   IDM_CAPTION_CENTER_BOTTOM, IDM_PREVIEW_PICTURE})
        EXPECT_FALSE(enabled(menu.get(), id)) << id;
    EXPECT_TRUE(enabled(menu.get(), IDM_CTX_ADD_PICTURES));
    EXPECT_TRUE(enabled(menu.get(), IDM_CTX_LOAD_ITEM_PICTURES));

    dropPictureFiles({folder / "y.PNG", folder / "IMG.JPG", folder / "y.PNG"});
    setListRowState(1, ROW_SELECTED, ROW_SELECTED);
    prepareListContextMenu(menu.get());
    for (int id : {IDM_CTX_REMOVE_SELECTED, IDM_REMOVE_ALL, IDM_RANDOM_EFFECTS, IDM_APPLY_EFFECT_TO_ALL,
                   IDM_PREVIEW_PICTURE})
        EXPECT_TRUE(enabled(menu.get(), id)) << id;
    EXPECT_FALSE(enabled(menu.get(), IDM_CAPTION_CENTER_BOTTOM));  // no caption box checked

    setListRowState(2, ROW_SELECTED, ROW_SELECTED);
    prepareListContextMenu(menu.get());
    EXPECT_FALSE(enabled(menu.get(), IDM_APPLY_EFFECT_TO_ALL));
    EXPECT_TRUE(enabled(menu.get(), IDM_CTX_REMOVE_SELECTED));
}

TEST_F(MainWindowEvents, ASingleSelectedRowTakesTheFocusFromAnother) {
    dropPictureFiles({folder / "y.PNG", folder / "IMG.JPG"});
    setListRowState(0, ROW_FOCUSED, ROW_FOCUSED);
    setListRowState(1, ROW_SELECTED, ROW_SELECTED);
    onPictureListSelectionChanged();
    EXPECT_EQ(listRowState(0), 0);
    EXPECT_EQ(listRowState(1), ROW_SELECTED | ROW_FOCUSED);
}

} // namespace

namespace {

TEST(CaptionSample, ColoursFollowTheColourEntryAndTheCaptionBoxes) {
    QColor face(240, 240, 240);
    struct {
        int index;
        bool checked;
        QColor text, background;
    } cases[] = {
        {0, true, Qt::white, Qt::black},                    // 黑底白字
        {4, true, Qt::black, Qt::white},                    // 白底黑字
        {8, true, Qt::white, Qt::gray},                     // 白色, no box, light window
        {9, true, Qt::black, face},                         // 黑色, no box
        {0, false, Qt::black, Qt::white},                   // no caption box checked
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        SampleColors colors = captionSampleColors(c.index, c.checked, face);
        EXPECT_EQ(colors.text, c.text);
        EXPECT_EQ(colors.background, c.background);
    }
    EXPECT_EQ(captionSampleColors(8, true, QColor(200, 200, 200)).background, QColor(200, 200, 200));
}

} // namespace
