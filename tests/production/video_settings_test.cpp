#include "production/video_settings.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>

#include "foundation/charset.h"
#include "platform/command_ids.h"
#include "platform/picture_list_view.h"
#include "platform/window_controls.h"
#include "production/picture_list.h"
#include "production/picture_selection.h"
#include "production/settings_files.h"
#include "production/timing.h"
#include "music_fixture.h"

namespace {

// The controls as the main window fills them, in their start state.
void fillControls(int fonts) {
    for (int i = 0; i < 9; ++i) comboAddString(IDC_CAPTION_POSITION, "position");
    comboSetCurSel(IDC_CAPTION_POSITION, 4);
    for (int i = 0; i < fonts; ++i) comboAddString(IDC_CAPTION_FONT, "font " + std::to_string(i));
    comboSetCurSel(IDC_CAPTION_FONT, 0);
    for (int i = 0; i < 13; ++i) comboAddString(IDC_FONT_SIZE, "size");
    comboSetCurSel(IDC_FONT_SIZE, 8);
    for (int i = 0; i < 14; ++i) comboAddString(IDC_CAPTION_COLOR, "colour");
    comboSetCurSel(IDC_CAPTION_COLOR, 0);
    for (int i = 0; i < 8; ++i) comboAddString(IDC_LOGO_POSITION, "corner");
    comboSetCurSel(IDC_LOGO_POSITION, 2);
    for (int i = 0; i < 14; ++i) comboAddString(IDC_VIDEO_SIZE, "preset");
    comboAddString(IDC_VIDEO_SIZE, "自定义...");
    comboSetCurSel(IDC_VIDEO_SIZE, 10);
    for (int i = 0; i < kPauseEntries; ++i) comboAddString(IDC_PAUSE_TIME, pauseEntryLabels[i]);
    comboSetCurSel(IDC_PAUSE_TIME, kDefaultPauseEntry);
}

// Every control's state, to compare before and after a load.
struct ControlState {
    std::vector<int> selections;
    std::vector<int> checks;
    std::string logoPath;
    int sizeItems;
    bool operator==(const ControlState&) const = default;
};

ControlState controlState() {
    ControlState state;
    for (int id : {IDC_CAPTION_POSITION, IDC_CAPTION_FONT, IDC_FONT_SIZE, IDC_CAPTION_COLOR, IDC_LOGO_POSITION,
                   IDC_VIDEO_SIZE, IDC_PAUSE_TIME, IDC_MUSIC})
        state.selections.push_back(comboGetCurSel(id));
    for (int id : {IDC_CAPTION_CHECK, IDC_CAPTION_CHECK2, IDC_LOGO_CHECK}) state.checks.push_back(isChecked(id));
    state.logoPath = getControlText(IDC_LOGO_PATH);
    state.sizeItems = comboGetCount(IDC_VIDEO_SIZE);
    return state;
}

// A complete file of valid values; each override replaces a key's value
// (null: the key is left out).
std::string settingsText(const std::map<std::string, const char*>& overrides = {}) {
    const std::pair<const char*, const char*> fields[] = {
        {"text_watermark", "1"},           {"text_watermark_location", "6"},     {"text_watermark_font", "2"},
        {"text_watermark_font_size", "3"}, {"text_watermark_color", "7"},        {"logo", "1"},
        {"logo_path", "\"/logos/标志.png\""}, {"logo_location", "5"},            {"video_size_width", "540"},
        {"video_size_height", "720"},      {"pause_time", "18"},                 {"bgsound", "1"},
        {"bgsound_src", "\"\""},
    };
    std::string text = "{";
    for (const auto& [name, content] : fields) {
        auto replaced = overrides.find(name);
        const char* value = replaced == overrides.end() ? content : replaced->second;
        if (!value) continue;
        if (text.size() > 1) text += ",";
        text += "\"" + std::string(name) + "\":" + value;
    }
    return text + "}";
}

std::string jsonString(const std::string& text) { return "\"" + text + "\""; }

} // namespace

class VideoSettingsTest : public MusicTest {
protected:
    void SetUp() override {
        MusicTest::SetUp();
        song = musicFile("song.mp3");
        buildMusicList();
        fillControls(3);
    }
    // Loads text from a file of the settings folder.
    void load(const std::string& text, const std::string& name = "v.sz") {
        folder.folder("program/sz");
        commands().clear();
        loadVideoSettings(folder.write("program/sz/" + name, text));
    }
    std::vector<std::string> boxTexts() {
        std::vector<std::string> texts;
        for (const auto& box : production_test::recorded().boxes) texts.push_back(box.text);
        return texts;
    }
    std::string song;
};

TEST_F(VideoSettingsTest, SavedFileHoldsEveryControlInKeyOrder) {
    setChecked(IDC_CAPTION_CHECK2, 1);
    comboSetCurSel(IDC_CAPTION_POSITION, 6);
    comboSetCurSel(IDC_CAPTION_FONT, 2);
    comboSetCurSel(IDC_FONT_SIZE, 3);
    comboSetCurSel(IDC_CAPTION_COLOR, 7);
    setChecked(IDC_LOGO_CHECK, 1);
    setControlText(IDC_LOGO_PATH, "/logos/标志.png");
    comboSetCurSel(IDC_LOGO_POSITION, 5);
    comboSetCurSel(IDC_VIDEO_SIZE, 3);
    videoWidth = 540;
    videoHeight = 720;
    comboSetCurSel(IDC_PAUSE_TIME, 18);
    comboSetCurSel(IDC_MUSIC, 1);
    const std::string path = folder / "program/saved.sz";
    ASSERT_EQ(saveVideoSettings(path), 1);
    std::string text;
    ASSERT_EQ(readSettingsText(path, text), SettingsRead::Ok);
    EXPECT_EQ(text, "{\n"
                    "\t\"text_watermark\":\t2,\n"
                    "\t\"text_watermark_location\":\t6,\n"
                    "\t\"text_watermark_font\":\t2,\n"
                    "\t\"text_watermark_font_size\":\t3,\n"
                    "\t\"text_watermark_color\":\t7,\n"
                    "\t\"logo\":\t1,\n"
                    "\t\"logo_path\":\t\"/logos/标志.png\",\n"
                    "\t\"logo_location\":\t5,\n"
                    "\t\"video_size_width\":\t540,\n"
                    "\t\"video_size_height\":\t720,\n"
                    "\t\"pause_time\":\t18,\n"
                    "\t\"bgsound\":\t1,\n"
                    "\t\"bgsound_src\":\t\"" + song + "\"\n"
                    "}");

    comboSetCurSel(IDC_VIDEO_SIZE, 0);
    EXPECT_NE(buildVideoSettingsJson().find("\"video_size_width\":\t-1,\n\t\"video_size_height\":\t-1,"),
              std::string::npos) << "no size chosen";
}

TEST_F(VideoSettingsTest, LoadingAppliesEveryValueThroughItsControl) {
    const std::string music = jsonString(song);
    const std::string text = settingsText({{"bgsound_src", music.c_str()}});
    load(text);
    EXPECT_TRUE(boxTexts().empty());
    EXPECT_EQ(comboGetCurSel(IDC_MUSIC), 1);
    EXPECT_EQ(isChecked(IDC_CAPTION_CHECK), 1);
    EXPECT_EQ(captionPosition, 6);
    EXPECT_EQ(comboGetCurSel(IDC_CAPTION_POSITION), 6);
    EXPECT_EQ(comboGetCurSel(IDC_CAPTION_FONT), 2);
    EXPECT_EQ(comboGetCurSel(IDC_FONT_SIZE), 3);
    EXPECT_EQ(comboGetCurSel(IDC_CAPTION_COLOR), 7);
    EXPECT_EQ(isChecked(IDC_LOGO_CHECK), 1);
    EXPECT_EQ(getControlText(IDC_LOGO_PATH), "/logos/标志.png");
    EXPECT_EQ(comboGetCurSel(IDC_LOGO_POSITION), 5);
    EXPECT_EQ(comboGetCurSel(IDC_VIDEO_SIZE), 3);
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), 18);
    // The reset's notifications, then the file's, in key order.
    const std::vector<std::pair<int, int>> expected = {
        {IDC_CAPTION_CHECK, BN_CLICKED}, {IDC_CAPTION_CHECK2, BN_CLICKED}, {IDC_CAPTION_FONT, CBN_SELCHANGE},
        {IDC_CAPTION_COLOR, CBN_SELCHANGE}, {IDC_LOGO_CHECK, BN_CLICKED}, {IDC_VIDEO_SIZE, CBN_SELCHANGE},
        {IDC_PAUSE_TIME, CBN_SELCHANGE}, {IDC_MUSIC, CBN_SELCHANGE},
        {IDC_MUSIC, CBN_SELCHANGE}, {IDC_CAPTION_CHECK, BN_CLICKED}, {IDC_CAPTION_FONT, CBN_SELCHANGE},
        {IDC_FONT_SIZE, CBN_SELCHANGE}, {IDC_CAPTION_COLOR, CBN_SELCHANGE}, {IDC_LOGO_CHECK, BN_CLICKED},
        {IDC_VIDEO_SIZE, CBN_SELCHANGE}, {IDC_PAUSE_TIME, CBN_SELCHANGE},
    };
    EXPECT_EQ(commands(), expected);

    // The position reaches the pictures only when there are some and its combo is enabled.
    const auto positionSent = [] {
        return std::count(commands().begin(), commands().end(), std::make_pair(int(IDC_CAPTION_POSITION), int(CBN_SELCHANGE)));
    };
    addPicture("/nowhere/p.jpg");
    load(text);
    EXPECT_EQ(positionSent(), 1);
    enableControl(IDC_CAPTION_POSITION, 0);
    load(text);
    EXPECT_EQ(positionSent(), 0);
}

TEST_F(VideoSettingsTest, ValuesSelectWhatTheyName) {
    const std::string other = jsonString(folder.write("other.mp3"));
    const std::string fifo = jsonString(folder / "fifo.mp3");
    ASSERT_EQ(::mkfifo((folder / "fifo.mp3").c_str(), 0600), 0);
    const struct {
        const char* name;
        std::map<std::string, const char*> overrides;
        int music, sizeItem, captionChecked;
    } cases[] = {
        {"the Tmall caption checks the first box", {{"text_watermark", "2"}}, 0, 3, 1},
        {"no caption", {{"text_watermark", "0"}}, 0, 3, 0},
        {"a moved music file", {{"bgsound_src", "\"/nowhere/gone.mp3\""}}, 0, 3, 1},
        {"music from elsewhere", {{"bgsound_src", other.c_str()}}, 2, 3, 1},
        {"music that is a FIFO", {{"bgsound_src", fifo.c_str()}}, 0, 3, 1},
        {"no size", {{"video_size_width", "-1"}, {"video_size_height", "-1"}}, 0, 0, 1},
        {"a side above 2160", {{"video_size_width", "3840"}, {"video_size_height", "2160"}}, 0, 0, 1},
        {"one side only", {{"video_size_height", nullptr}}, 0, 0, 1},
        {"a preset", {{"video_size_width", "800"}, {"video_size_height", "800"}}, 0, 10, 1},
        {"a custom size", {{"video_size_width", "1000"}}, 0, 14, 1},
        {"the same custom size", {{"video_size_width", "1000"}}, 0, 14, 1},
    };
    for (const auto& c : cases) {
        load(settingsText(c.overrides));
        EXPECT_TRUE(boxTexts().empty()) << c.name;
        EXPECT_EQ(comboGetCurSel(IDC_MUSIC), c.music) << c.name;
        EXPECT_EQ(comboGetCurSel(IDC_VIDEO_SIZE), c.sizeItem) << c.name;
        EXPECT_EQ(isChecked(IDC_CAPTION_CHECK), c.captionChecked) << c.name;
    }
    // The custom size went in once, before "自定义...".
    EXPECT_EQ(comboGetCount(IDC_VIDEO_SIZE), 16);
    EXPECT_EQ(comboGetItemText(IDC_VIDEO_SIZE, 14), "1000x720");
    EXPECT_EQ(comboGetItemText(IDC_VIDEO_SIZE, 15), "自定义...");
}

TEST_F(VideoSettingsTest, BadValuesAreRefusedBeforeAnythingChanges) {
    const struct {
        const char* key;
        const char* value;
    } cases[] = {
        {"text_watermark", "3"},              {"text_watermark_location", "9"}, {"text_watermark_location", "-2"},
        {"text_watermark_location", "\"4\""}, {"text_watermark_location", "4.5"}, {"text_watermark_font", "-2"},
        {"text_watermark_font_size", "13"},   {"text_watermark_color", "14"},   {"logo", "2"},
        {"logo_path", "5"},                   {"logo_location", "8"},           {"video_size_width", "801"},
        {"video_size_width", "0"},            {"video_size_width", "-4"},       {"video_size_height", "100"},
        {"video_size_height", "1e12"},        {"pause_time", "23"},             {"pause_time", "null"},
        {"bgsound_src", "1"},
    };
    setChecked(IDC_CAPTION_CHECK, 1);
    comboSetCurSel(IDC_MUSIC, 1);
    const ControlState before = controlState();
    std::vector<std::string> expectedBoxes;
    for (const auto& c : cases) {
        load(settingsText({{c.key, c.value}}));
        expectedBoxes.push_back("文件格式不对！");
        EXPECT_EQ(boxTexts(), expectedBoxes) << c.key << "=" << c.value;
        EXPECT_TRUE(commands().empty()) << c.key << "=" << c.value;
        EXPECT_EQ(controlState(), before) << c.key << "=" << c.value;
    }
    for (const char* text : {"{", "[1,2]", "", "\"text\""}) {
        load(text);
        expectedBoxes.push_back("文件格式不对！");
        EXPECT_EQ(boxTexts(), expectedBoxes) << text;
        EXPECT_EQ(controlState(), before) << text;
    }
}

TEST_F(VideoSettingsTest, EverySavedStateLoadsBackAsItWas) {
    const std::string other = folder.write("other.mp3");
    ASSERT_EQ(addMusicPath(other), 2);
    comboInsertString(IDC_VIDEO_SIZE, 14, "1000x720");
    setPictureListViewHandler(nullptr);  // rows with selection states
    resetMemoryListView();
    for (int i = 0; i < 3; ++i) {
        addPicture("/nowhere/p" + std::to_string(i) + ".jpg");
        insertListRow(i, "无动画", {});
    }
    const struct {
        int sizeItem, width, height;
    } sizes[] = {{0, 800, 800}, {3, 540, 720}, {14, 1000, 720}};

    // Every position the combo can show, -1 where the selected pictures differ.
    for (int position = -1; position < 9; ++position) {
        const int n = position + 1;
        SCOPED_TRACE(position);
        setChecked(IDC_CAPTION_CHECK, n % 2);
        setChecked(IDC_LOGO_CHECK, n % 2);
        pictureAt(0)->caption->position = position < 0 ? 2 : position;
        pictureAt(1)->caption->position = position < 0 ? 5 : position;
        for (int row = 0; row < 3; ++row) setListRowState(row, row < 2 ? ROW_SELECTED : 0, ROW_SELECTED);
        refreshSelectionState();
        ASSERT_EQ(comboGetCurSel(IDC_CAPTION_POSITION), position);
        comboSetCurSel(IDC_CAPTION_FONT, n % 3);
        comboSetCurSel(IDC_FONT_SIZE, n % 13);
        comboSetCurSel(IDC_CAPTION_COLOR, n % 14);
        setControlText(IDC_LOGO_PATH, n % 2 ? "/logos/标志 " + std::to_string(n) + ".png" : "");
        comboSetCurSel(IDC_LOGO_POSITION, n % 8);
        comboSetCurSel(IDC_VIDEO_SIZE, sizes[n % 3].sizeItem);
        videoWidth = sizes[n % 3].width;
        videoHeight = sizes[n % 3].height;
        comboSetCurSel(IDC_PAUSE_TIME, n % kPauseEntries);
        comboSetCurSel(IDC_MUSIC, n % 3);
        const ControlState saved = controlState();
        const std::string path = folder.folder("program/sz") + "/state.sz";
        ASSERT_EQ(saveVideoSettings(path), 1);
        commands().clear();
        loadVideoSettings(path);
        EXPECT_TRUE(boxTexts().empty());
        EXPECT_EQ(controlState(), saved);
    }

    // A file saved where more fonts were listed loads whole, with the first font.
    load(settingsText({{"text_watermark_font", "5"}}));
    EXPECT_TRUE(boxTexts().empty());
    EXPECT_EQ(comboGetCurSel(IDC_CAPTION_FONT), 0);
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), 18);
}

TEST_F(VideoSettingsTest, MissingKeyStopsTheLoadThere) {
    load(settingsText({{"logo", nullptr}}));
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"文件格式不对！"});
    EXPECT_EQ(comboGetCurSel(IDC_CAPTION_COLOR), 7) << "applied before the missing key";
    EXPECT_EQ(getControlText(IDC_LOGO_PATH), "") << "not applied after it";
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), kDefaultPauseEntry);

    // The font size may be missing: it falls back to "36".
    load(settingsText({{"text_watermark_font_size", nullptr}}));
    EXPECT_EQ(boxTexts().size(), 1u);
    EXPECT_EQ(comboGetCurSel(IDC_FONT_SIZE), 8);
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), 18);

    // In GIF mode the caption mode is neither read nor needed.
    setChecked(IDM_GIF_MODE, 1);
    load(settingsText({{"text_watermark", nullptr}}));
    EXPECT_EQ(boxTexts().size(), 1u);
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), 18);
}

TEST_F(VideoSettingsTest, UnreadableFileChangesNothing) {
    const ControlState before = controlState();
    loadVideoSettings(folder / "program/sz/none.sz");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"读取文件时出错, 无法打开文件句柄"});
    EXPECT_EQ(controlState(), before);
    EXPECT_TRUE(commands().empty());

    // A file larger than any settings file is not read at all.
    std::string padded = settingsText({{"pause_time", "3"}});
    padded.resize(kMaxSettingsFileBytes, ' ');
    load(padded + " ");
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"读取文件时出错, 无法打开文件句柄", "读取文件时出错"}));
    EXPECT_EQ(controlState(), before);
    EXPECT_TRUE(commands().empty());
    load(padded);
    EXPECT_EQ(boxTexts().size(), 2u);
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), 3) << "one byte less loads";
}

TEST_F(VideoSettingsTest, LegacyGbkFileLoads) {
    const std::string music = jsonString(musicFile("老歌.mp3"));
    char* gbk = utf8_to_gbk(settingsText({{"bgsound_src", music.c_str()}}).c_str(), nullptr);
    ASSERT_NE(gbk, nullptr);
    load(gbk);
    std::free(gbk);
    EXPECT_TRUE(boxTexts().empty());
    EXPECT_EQ(jsonString(musicPathAt(comboGetCurSel(IDC_MUSIC))), music);
    EXPECT_EQ(getControlText(IDC_LOGO_PATH), "/logos/标志.png");

    // One GBK byte can take three bytes in UTF-8: the file still loads whole.
    std::string euros;
    for (int i = 0; i < 400; ++i) euros += "€";
    const std::string logo = jsonString("/logos/" + euros + ".png");
    gbk = utf8_to_gbk(settingsText({{"logo_path", logo.c_str()}}).c_str(), nullptr);
    ASSERT_NE(gbk, nullptr);
    load(gbk);
    std::free(gbk);
    EXPECT_TRUE(boxTexts().empty());
    EXPECT_EQ(jsonString(getControlText(IDC_LOGO_PATH)), logo);

    // A file that is neither UTF-8 nor GBK is refused, not loaded in part.
    load(settingsText() + "\x81 ");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"文件格式不对！"});
    EXPECT_EQ(jsonString(getControlText(IDC_LOGO_PATH)), logo) << "nothing changed";
}

TEST_F(VideoSettingsTest, ResetSelectsTheDefaultSize) {
    defaultVideoWidth = defaultVideoHeight = 400;
    commands().clear();
    resetSettingsControls();
    EXPECT_EQ(comboGetCurSel(IDC_VIDEO_SIZE), 1) << "the empty item and preset 1 both carry 400 x 400";
    EXPECT_EQ(std::count(commands().begin(), commands().end(), std::make_pair(int(IDC_VIDEO_SIZE), int(CBN_SELCHANGE))), 2);
    EXPECT_EQ(comboGetCurSel(IDC_LOGO_POSITION), 2);
    EXPECT_EQ(comboGetCurSel(IDC_PAUSE_TIME), kDefaultPauseEntry);
}

TEST_F(VideoSettingsTest, LoadsStampTheirUseAndOrderTheRecentList) {
    folder.folder("program/sz");
    const char* const names[] = {"a.sz", "b.sz", "c.sz", "d.sz", "e.sz", "f.sz"};
    for (int i = 0; i < 6; ++i) {
        std::string path = folder.write("program/sz/" + std::string(names[i]), settingsText());
        const timespec times[2] = {{1000000 + i * 10, 0}, {1000000, 0}};
        utimensat(AT_FDCWD, path.c_str(), times, 0);
    }
    folder.write("program/sz/z.dh", "1,2");
    EXPECT_EQ(recentSettingsFiles("*.sz"), (std::vector<std::string>{"f.sz", "e.sz", "d.sz", "c.sz", "b.sz"}));
    loadVideoSettings(folder / "program/sz/a.sz");
    EXPECT_EQ(recentSettingsFiles("*.sz", 2), (std::vector<std::string>{"a.sz", "f.sz"}));
    struct stat status;
    ASSERT_EQ(stat((folder / "program/sz/a.sz").c_str(), &status), 0);
    EXPECT_EQ(status.st_mtim.tv_sec, 1000000) << "only the access time changes";
    EXPECT_EQ(recentSettingsFiles("*.dh"), std::vector<std::string>{"z.dh"});

    // Only files of the settings folder are stamped. (Reading a file may
    // move its access time too, on some mounts, so the stamp is tried alone.)
    std::string outside = folder.write("outside.sz");
    std::string inside = folder.write("program/sz/inside.sz");
    const timespec old[2] = {{1000, 0}, {1000, 0}};
    for (const std::string& path : {outside, inside}) {
        utimensat(AT_FDCWD, path.c_str(), old, 0);
        stampSettingsFileUse(path);
    }
    ASSERT_EQ(stat(outside.c_str(), &status), 0);
    EXPECT_EQ(status.st_atim.tv_sec, 1000);
    ASSERT_EQ(stat(inside.c_str(), &status), 0);
    EXPECT_GE(status.st_atim.tv_sec, time(nullptr) - 60);
    EXPECT_EQ(status.st_mtim.tv_sec, 1000);
}

TEST_F(VideoSettingsTest, WriteFailuresAreReported) {
    EXPECT_EQ(saveVideoSettings(folder / "no folder/x.sz"), 0);
    EXPECT_EQ(saveVideoSettings(folder.folder("a folder.sz")), 0);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"写入文件时出错，文件句柄打开出错", "写入文件时出错"}));
}
