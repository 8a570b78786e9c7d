#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QImage>
#include <QMenu>
#include <gtest/gtest.h>
#include <wand/MagickWand.h>
#include <chrono>
#include <filesystem>
#include <thread>
#include <string>
#include <vector>

#include "foundation/globals.h"
#include "foundation/preferences.h"
#include "foundation/registry.h"
#include "foundation/temp_folder.h"
#include "message_recorder.h"
#include "net/import/import_stop.h"
#include "production/download_folder.h"
#include "platform/command_ids.h"
#include "platform/picture_list_view.h"
#include "platform/window_controls.h"
#include "production/picture_list.h"
#include "ui/caption_sample_colors.h"
#include "ui/command_router.h"
#include "ui/control_registry.h"
#include "ui/main_window.h"
#include "ui/picture_list_notifications.h"
#include "ui/settings_menu_dropdown.h"

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
        ASSERT_TRUE(picture.save(QString::fromStdString(folder / "photojpg"), "JPG"));
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
                      folder / "missing.png", folder / "y.PNG", folder / "photojpg"});
    // The name's ending counts, with or without a dot.
    EXPECT_EQ(pictureNames(), (std::vector<std::string>{"IMG.JPG", "y.PNG", "photojpg"}));
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

TEST_F(MainWindowEvents, AClosingDuringAnItemImportWaitsForTheImportToStopThenCloses) {
    MainWindow* window = new MainWindow;
    const std::string downloads = ensureDownloadFolder();
    ASSERT_FALSE(downloads.empty());
    {
        ItemImportRun import;  // a close request reaches the window while it downloads
        EXPECT_FALSE(window->close());
        EXPECT_TRUE(itemImportStopRequested());
        EXPECT_TRUE(std::filesystem::exists(downloads));
    }
    // Back from the import, the window closes as usual.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::filesystem::exists(downloads) && std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(std::filesystem::exists(downloads));
    EXPECT_FALSE(window->isVisible());
    delete window;
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
    supportSite = "https://site.example";
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

    // The effect's demonstration is a page of the support site.
    supportSite.clear();
    prepareListContextMenu(menu.get());
    EXPECT_FALSE(enabled(menu.get(), IDM_PREVIEW_PICTURE));
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

TEST_F(MainWindowEvents, AScrollLeavesCaptionTextsTrimmed) {
    dropPictureFiles({folder / "y.PNG", folder / "IMG.JPG"});
    pictureAt(0)->caption->mode = 1;
    pictureAt(0)->caption->text = " \t文字 ";
    pictureAt(1)->caption->text = " kept ";  // no caption: left alone
    onPictureListScrollStarted();
    EXPECT_EQ(pictureAt(0)->caption->text, "文字");
    EXPECT_EQ(pictureAt(1)->caption->text, " kept ");
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
        {8, true, Qt::white, QColor(128, 128, 128)},        // 白色, no box, light window: the stock grey
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

namespace {

// The settings menu as the main window builds it: three sub-menus, the
// margin command, and the save and load commands, with separators between.
QMenu* settingsMenu() {
    auto* menu = new QMenu;
    auto add = [menu](const char* text, int id) { bindCommand(menu->addAction(text), id); };
    QMenu* fill = menu->addMenu("视频背景填充色");
    bindCommand(fill->addAction("白色"), IDM_BG_FILL_WHITE);
    bindCommand(fill->addAction("黑色"), IDM_BG_FILL_BLACK);
    menu->addSeparator();
    QMenu* names = menu->addMenu("生成视频的默认文件名");
    for (int id = IDM_FILE_NAME_BLANK; id <= IDM_FILE_NAME_FIRST_PICTURE; ++id)
        bindCommand(names->addAction(QString::number(id)), id);
    menu->addSeparator();
    QMenu* rates = menu->addMenu("视频比特率(码率)");
    for (int id = IDM_BITRATE_DEFAULT; id <= IDM_BITRATE_3M; ++id)
        bindCommand(rates->addAction(QString::number(id)), id);
    menu->addSeparator();
    add("【加文字】边距设置", IDM_CAPTION_MARGINS);
    menu->addSeparator();
    add("保存图片动画设置...", IDM_SAVE_ANIMATION_SETTINGS);
    add("加载图片动画设置...", IDM_LOAD_ANIMATION_SETTINGS);
    menu->addSeparator();
    add("保存当前视频设置...", IDM_SAVE_VIDEO_SETTINGS);
    add("加载视频设置...", IDM_LOAD_VIDEO_SETTINGS);
    return menu;
}

QStringList texts(QMenu* menu) {
    QStringList list;
    for (QAction* action : menu->actions()) list << (action->isSeparator() ? "-" : action->text());
    return list;
}

TEST(SettingsMenu, RecentFilesAreListedAnewAtEveryDropDown) {
    std::unique_ptr<QMenu> menu(settingsMenu());
    QStringList original = texts(menu.get());
    std::vector<std::string> lists = {"a.dh", "b.dh", "c.dh", "d.dh", "e.dh", "f.dh"};
    std::vector<std::string> videos = {"v.sz"};
    mp4VideoBitrate = 2;
    mp4DefaultFileName = 7;  // not a listed choice: the blank name is marked
    for (int round = 0; round < 2; ++round) {
        prepareSettingsMenu(menu.get(), lists, videos);
        QStringList shown = texts(menu.get());
        QStringList expected = original.mid(0, 10);
        expected << "-" << "加载 - a.dh" << "加载 - b.dh" << "加载 - c.dh" << "加载 - d.dh" << "加载 - e.dh";
        expected << original.mid(10) << "-" << "加载 - v.sz";
        EXPECT_EQ(shown, expected) << round;
    }
    QAction* firstList = menu->actions()[11];
    EXPECT_EQ(firstList->property(kCommandIdProperty).toInt(), IDM_RECENT_ANIMATION_FIRST);
    EXPECT_FALSE(firstList->isEnabled());  // the picture list is empty
    EXPECT_TRUE(menu->actions().last()->isEnabled());
    EXPECT_EQ(menu->actions().last()->property(kCommandIdProperty).toInt(), IDM_RECENT_VIDEO_FIRST);
    EXPECT_FALSE(commandActions(menu.get(), IDM_SAVE_ANIMATION_SETTINGS).value(0)->isEnabled());
    EXPECT_TRUE(commandActions(menu.get(), IDM_BITRATE_2M).value(0)->isChecked());
    EXPECT_FALSE(commandActions(menu.get(), IDM_BITRATE_DEFAULT).value(0)->isChecked());
    EXPECT_TRUE(commandActions(menu.get(), IDM_FILE_NAME_BLANK).value(0)->isChecked());
    mp4VideoBitrate = 0;
    mp4DefaultFileName = 0;

    prepareSettingsMenu(menu.get(), {}, {});
    EXPECT_EQ(texts(menu.get()), original);
}

} // namespace
