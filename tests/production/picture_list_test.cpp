#include "production/picture_list.h"

#include <gtest/gtest.h>

#include <set>

#include <wand/MagickWand.h>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/info_window.h"
#include "platform/picture_list_view.h"
#include "platform/status_bar.h"
#include "platform/wait_cursor.h"
#include "platform/window_controls.h"
#include "production/caption_markers.h"
#include "production/picture_effects.h"
#include "production/picture_selection.h"
#include "production/selection_state.h"
#include "production_support.h"
#include "render/wand_ptr.h"

using production_test::ProductionTest;
using production_test::recorded;
using production_test::writeSolidPicture;

namespace {

PictureRecord* at(int index) { return static_cast<PictureRecord*>(linkedlist_get(pictureList, index)); }

int count() { return linkedlist_size(pictureList); }

void writeAnimatedGif(const std::string& path) {
    WandPtr frames(NewMagickWand());
    for (const char* color : {"#ff0000", "#00ff00"}) {
        PixelWandPtr fill = newPixelWand(color);
        MagickNewImage(frames.get(), 16, 16, fill.get());
        MagickSetImageDelay(frames.get(), 10);
    }
    ASSERT_EQ(MagickWriteImages(frames.get(), path.c_str(), MagickTrue), MagickTrue);
}

} // namespace

class PictureList : public ProductionTest {
protected:
    void SetUp() override {
        ProductionTest::SetUp();
        setPictureListViewHandler(nullptr);
        resetMemoryListView();
        clearInfoLog();
        initPictureList();
        resetPictureCounter();
        maxPictures = 60;
        captionPosition = 4;
        red = folder / "red.png";
        writeSolidPicture(red, 40, 30, "#ff0000");
    }
    void TearDown() override {
        setSelectionStateHandler(nullptr);
        ProductionTest::TearDown();
    }
    // n pictures, all of the same file.
    void addSame(int n) { addPictureFiles(std::vector<std::string>(n, red)); }
    void select(std::initializer_list<int> rows, int focused = -1) {
        for (int row = 0; row < listRowCount(); ++row) setListRowState(row, 0, ROW_SELECTED | ROW_FOCUSED);
        for (int row : rows) setListRowState(row, ROW_SELECTED, ROW_SELECTED);
        if (focused >= 0) setListRowState(focused, ROW_FOCUSED, ROW_FOCUSED);
    }
    std::vector<std::string> labels() {
        std::vector<std::string> out;
        for (const MemoryListRow& row : memoryListView().rows) out.push_back(row.label);
        return out;
    }
    std::string red;
};

TEST_F(PictureList, GoodBrokenAndAnimatedFiles) {
    std::string green = folder / "green.jpg", blue = folder / "blue.bmp";
    writeSolidPicture(green, 30, 40, "#00ff00");
    writeSolidPicture(blue, 20, 20, "#0000ff");
    std::string broken = folder.write("broken.jpg", "no picture here");
    std::string animated = folder / "moving.gif";
    writeAnimatedGif(animated);

    addPictureFiles({red, broken, green, animated, blue});

    ASSERT_EQ(count(), 3);
    EXPECT_EQ(at(0)->path, red);
    EXPECT_EQ(at(1)->fileName, "green.jpg");
    EXPECT_EQ(at(2)->fileName, "blue.bmp");
    EXPECT_EQ(infoLogText(), "无法识别的图片:\r\n" + broken + "\r\n\r\n" + "不支持gif动画图片:\r\n" +
                                 animated + "\r\n\r\n");
    EXPECT_EQ(statusText(0), "3 张图片");
    EXPECT_EQ(statusText(1), "") << "the selection refresh ends the batch";
    for (int id : {IDM_PREVIEW_VIDEO, IDM_MAKE_VIDEO, IDC_MAKE_VIDEO})
        EXPECT_TRUE(isControlEnabled(id)) << id;
    EXPECT_FALSE(isControlEnabled(IDM_REMOVE_PICTURES)) << "nothing selected";
    PictureListViewState view = memoryListView();
    EXPECT_FALSE(view.emptyHintShown);
    ASSERT_EQ(view.rows.size(), 3u);
    EXPECT_EQ(view.rows[0].iconWidth, 144);
    EXPECT_EQ(at(0)->effectIndex, 99);
    EXPECT_EQ(labels()[0], "无动画");
    EXPECT_NE(at(1)->effectIndex, at(2)->effectIndex);
    for (int i = 1; i < 3; ++i) {
        EXPECT_GE(at(i)->effectIndex, 0);
        EXPECT_LE(at(i)->effectIndex, 92);
        EXPECT_EQ(labels()[i], at(i)->effectName);
    }
    EXPECT_GT(waitCursorShownCount(), 0);
}

TEST_F(PictureList, SixtyOneFilesStopAtTheLimit) {
    addSame(61);
    EXPECT_EQ(count(), 60);
    EXPECT_EQ(listRowCount(), 60);
    auto boxes = recorded().boxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "最多可以添加 60 张图片");
    EXPECT_EQ(boxes[0].caption, "提示");
    std::set<int> effects;
    for (int i = 1; i < 60; ++i) effects.insert(at(i)->effectIndex);
    EXPECT_EQ(effects.size(), 59u) << "every later picture has an effect of its own";

    addSame(1);
    EXPECT_EQ(count(), 60);
    EXPECT_EQ(recorded().boxes.size(), 2u) << "a full list refuses at once";
}

TEST_F(PictureList, GifModeGivesNoAnimationAndShowsFileNames) {
    setChecked(IDM_GIF_MODE, 1);
    addSame(3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(at(i)->effectIndex, 99);
        EXPECT_EQ(labels()[i], "red.png");
    }
}

TEST_F(PictureList, NewPicturesTakeTheCaptionControlsState) {
    setChecked(IDC_CAPTION_CHECK2, 1);
    for (const char* font : {"黑体", "一个非常非常长的字体名称"}) comboAddString(IDC_CAPTION_FONT, font);
    comboSetCurSel(IDC_CAPTION_FONT, 1);
    for (int i = 0; i < 14; ++i) comboAddString(IDC_CAPTION_COLOR, "colour");
    comboSetCurSel(IDC_CAPTION_COLOR, 7);
    captionPosition = 6;
    addSame(1);
    const CaptionRecord& caption = *at(0)->caption;
    EXPECT_EQ(caption.mode, 2u);
    EXPECT_EQ(caption.position, 6);
    EXPECT_EQ(caption.fontName, "一个非常非常长") << "15 GBK bytes, cut on a character";
    EXPECT_EQ(caption.textColor, captionTextColors[7]);
    EXPECT_EQ(caption.boxColor, captionBoxColors[7]);
}

TEST_F(PictureList, FailedAddGivesItsCounterBack) {
    addSame(2);
    EXPECT_EQ(incPictureCounter(), 2);
    decPictureCounter();
    EXPECT_EQ(::addPicture(folder.write("bad.png", "?")), 0);
    EXPECT_EQ(incPictureCounter(), 2);
}

TEST_F(PictureList, PartialRemovalKeepsRowsAndRecordsInStep) {
    addSame(5);
    for (int i = 0; i < 5; ++i) at(i)->fileName = "p" + std::to_string(i);
    select({0, 3});
    refreshSelectionState();
    EXPECT_TRUE(isControlEnabled(IDM_REMOVE_PICTURES));
    removeSelectedPictures();

    ASSERT_EQ(count(), 3);
    EXPECT_EQ(at(0)->fileName, "p1");
    EXPECT_EQ(at(2)->fileName, "p4");
    EXPECT_EQ(at(0)->effectIndex, 99) << "the new first picture has no animation";
    EXPECT_EQ(labels(), (std::vector<std::string>{"无动画", at(1)->effectName, at(2)->effectName}));
    EXPECT_FALSE(isControlEnabled(IDM_REMOVE_PICTURES)) << "selection refreshed after removal";
    EXPECT_GT(memoryListView().arranged, 0);
    EXPECT_EQ(statusText(0), "3 张图片");

    // A picture added now goes to the row after the last one.
    addSame(1);
    ASSERT_EQ(listRowCount(), 4);
    EXPECT_EQ(labels()[3], at(3)->effectName);
}

TEST_F(PictureList, RemovingEverySelectedRowEmptiesTheList) {
    addSame(3);
    select({0, 1, 2});
    removeSelectedPictures();
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(listRowCount(), 0);
    EXPECT_EQ(incPictureCounter(), 0) << "numbering restarts";
    EXPECT_TRUE(memoryListView().emptyHintShown);
    EXPECT_FALSE(isControlEnabled(IDM_MAKE_VIDEO));
    EXPECT_EQ(statusText(0), "0 张图片");
    EXPECT_EQ(statusText(3), "视频长度: 0秒");
}

TEST_F(PictureList, TrimRemovesThePicturesBeyondTheLimit) {
    maxPictures = 600;
    addSame(63);
    maxPictures = 60;
    select({62});
    trimPictureList();
    EXPECT_EQ(count(), 60);
    EXPECT_EQ(listRowCount(), 60);
    EXPECT_FALSE(isControlEnabled(IDM_REMOVE_PICTURES)) << "the selected row went away";
}

TEST_F(PictureList, MovesKeepEffectsInPlaceAndCarryCaptions) {
    addSame(3);
    for (int i = 0; i < 3; ++i) {
        at(i)->fileName = "p" + std::to_string(i);
        at(i)->caption->text = "t" + std::to_string(i);
    }
    const int effect1 = at(1)->effectIndex, effect2 = at(2)->effectIndex;
    const int icon1 = memoryListView().rows[1].icon;

    struct Move {
        int selected, direction;
        std::vector<std::string> names;  // file names after the move
        int selectedAfter;
    };
    const Move moves[] = {
        {1, +1, {"p0", "p2", "p1"}, 2},
        {2, -1, {"p0", "p1", "p2"}, 1},
        {0, -1, {"p0", "p1", "p2"}, 0},  // no left neighbour: nothing
        {2, +1, {"p0", "p1", "p2"}, 2},  // no right neighbour: nothing
        {1, -1, {"p1", "p0", "p2"}, 0},
        {0, +1, {"p0", "p1", "p2"}, 1},
    };
    for (const Move& move : moves) {
        select({move.selected}, move.selected);
        movePicture(move.direction);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(at(i)->fileName, move.names[i]) << move.selected << move.direction;
            EXPECT_EQ(at(i)->caption->text, "t" + move.names[i].substr(1)) << "caption travels";
        }
        EXPECT_EQ(getSelectedItemIndex(), move.selectedAfter);
        EXPECT_EQ(getFocusedItemIndex(), move.selectedAfter);
        EXPECT_EQ(at(1)->effectIndex, effect1) << "effects stay with the position";
        EXPECT_EQ(at(2)->effectIndex, effect2);
    }
    select({1}, 1);
    movePicture(+1);
    EXPECT_EQ(memoryListView().rows[2].icon, icon1) << "the thumbnail moves with the picture";
}

TEST_F(PictureList, MarkersFollowAMovedCaption) {
    setChecked(IDC_CAPTION_CHECK, 1);
    addSame(3);
    at(0)->caption->text = "caption";
    updateCaptionPreviews();
    ASSERT_TRUE(memoryListView().markers[0].shown);
    EXPECT_FALSE(memoryListView().markers[1].shown);
    select({0}, 0);
    movePicture(+1);
    EXPECT_FALSE(memoryListView().markers[0].shown);
    ASSERT_TRUE(memoryListView().markers[1].shown);
    EXPECT_EQ(memoryListView().markers[1].x, (kMemoryCellWidth + 148 + kMemoryCellWidth - 28) / 2);
}

TEST_F(PictureList, RandomEffectsAreBoundedAndDistinct) {
    addSame(60);
    randomizePictureEffects();
    std::set<int> effects;
    for (int i = 1; i < 60; ++i) effects.insert(at(i)->effectIndex);
    EXPECT_EQ(effects.size(), 59u);
    EXPECT_EQ(at(0)->effectIndex, 99);

    // Every random index taken: the draw still ends, inside its range.
    for (int i = 0; i < 60; ++i) at(i)->effectIndex = i;
    maxPictures = 600;
    addSame(40);
    for (int i = 60; i < 93; ++i) at(i)->effectIndex = i;
    int drawn = drawUnusedEffect(count());
    EXPECT_GE(drawn, 0);
    EXPECT_LE(drawn, 92);
}

TEST_F(PictureList, RandomEffectsOnOnePictureOnlySetNoAnimation) {
    addSame(1);
    at(0)->effectIndex = 5;
    randomizePictureEffects();
    EXPECT_EQ(at(0)->effectIndex, 99);
}

TEST_F(PictureList, ApplyEffectToAllUsesTheSelectedPicture) {
    addSame(4);
    applyEffectToAll();  // nothing selected: nothing to apply
    select({2}, 2);
    const int chosen = at(2)->effectIndex;
    applyEffectToAll();
    EXPECT_EQ(at(0)->effectIndex, 99);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(at(i)->effectIndex, chosen);
}

TEST_F(PictureList, SelectionShowsTheCaptionsItHas) {
    setChecked(IDC_CAPTION_CHECK, 1);
    for (int i = 0; i < 9; ++i) comboAddString(IDC_CAPTION_POSITION, "pos");
    addSame(3);
    at(0)->caption->text = "same";
    at(1)->caption->text = "same";
    at(2)->caption->text = "other";
    at(2)->caption->position = 7;

    struct Case {
        std::vector<int> rows;
        std::string text, status;
        int position;
        bool moveLeft, moveRight;
    };
    const Case cases[] = {
        {{0, 1}, "same", "选中了 2 张图片", 4, false, false},
        {{1, 2}, "", "选中了 2 张图片", -1, false, false},
        {{2}, "other", "", 7, true, false},
        {{0}, "same", "", 4, false, true},
    };
    for (const Case& c : cases) {
        for (int row = 0; row < 3; ++row) setListRowState(row, 0, ROW_SELECTED | ROW_FOCUSED);
        for (int row : c.rows) setListRowState(row, ROW_SELECTED, ROW_SELECTED);
        setControlText(IDC_CAPTION_TEXT, "typed");
        refreshSelectionState();
        EXPECT_EQ(getControlText(IDC_CAPTION_TEXT), c.text) << c.rows.size();
        EXPECT_EQ(comboGetCurSel(IDC_CAPTION_POSITION), c.position);
        EXPECT_EQ(isControlEnabled(IDM_MOVE_LEFT) != 0, c.moveLeft);
        EXPECT_EQ(isControlEnabled(IDM_MOVE_RIGHT) != 0, c.moveRight);
        EXPECT_TRUE(isControlEnabled(IDC_CAPTION_TEXT));
        if (c.rows.size() > 1) {
            EXPECT_EQ(statusText(1), c.status);
            continue;
        }
        EXPECT_EQ(statusText(1).rfind("尺寸: 40 x 30, 类型: PNG 图片", 0), 0u) << statusText(1);
        EXPECT_NE(statusText(1).find(", 动画长度: "), std::string::npos);
    }
}

TEST_F(PictureList, EffectComboSitsOverTheOneFocusedSelectedRow) {
    addSame(3);
    setListRowState(1, ROW_SELECTED | ROW_FOCUSED, ROW_SELECTED | ROW_FOCUSED);
    setControlFocus(IDC_PICTURE_LIST);
    setMemoryListScroll(20);
    placeEffectCombo();
    PictureListViewState view = memoryListView();
    ASSERT_TRUE(view.hoverPanelShown);
    EXPECT_EQ(view.hoverPanel.x, kMemoryCellWidth - 20);
    EXPECT_EQ(view.hoverPanel.y, 146 - 2);

    setControlFocus(IDC_CAPTION_TEXT);
    placeEffectCombo();
    EXPECT_FALSE(memoryListView().hoverPanelShown) << "focus elsewhere";
    setControlFocus(IDC_ITEM_EFFECT);
    setChecked(IDM_GIF_MODE, 1);
    placeEffectCombo();
    EXPECT_FALSE(memoryListView().hoverPanelShown) << "GIF mode";
}

TEST_F(PictureList, PicturesOutsideTheWorkFolder) {
    EXPECT_EQ(picturesOutsideTempDir(), 0);
    addSame(1);
    EXPECT_EQ(picturesOutsideTempDir(), 1);
    std::string downloaded = workFolder + "/d.png";
    writeSolidPicture(downloaded, 8, 8, "#000000");
    EXPECT_EQ(::addPicture(downloaded), 1);
    EXPECT_EQ(picturesOutsideTempDir(), 0);
}
