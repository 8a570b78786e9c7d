#include "production/caption_markers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/window_controls.h"
#include "production/selection_state.h"
#include "production_support.h"

using production_test::ProductionTest;

TEST(CaptionMarker, PositionFollowsTheCaptionsPlaceModeAndScroll) {
    const ListPoint item{300, 2};
    const ListRect icon{304, 4, 448, 148};  // as the view gives it at scroll 0
    struct Case {
        int position, mode, scroll;
        ListPoint expected;
    };
    const Case cases[] = {
        {0, 1, 0, {301, 10}},
        {0, 1, 50, {251, 10}},     // scrolling moves it left by as much
        {0, 2, 0, {301, 18}},      // mode 2: 8 lower at the top
        {1, 1, 0, {301, 121}},
        {1, 2, 0, {301, 113}},     // ... and 8 higher at the bottom
        {2, 1, 0, {415, 10}},
        {3, 1, 0, {415, 122}},
        {3, 2, 0, {415, 114}},
        {4, 1, 0, {(448 + 300 - 28) / 2, 122}},
        {5, 1, 0, {307, 10}},
        {6, 1, 0, {307, 121}},
        {7, 1, 0, {409, 10}},
        {8, 2, 0, {409, 114}},
        {9, 1, 0, {360, 132}},     // unknown position: centred, lower down
        {-1, 2, 0, {360, 140}},
    };
    for (const Case& c : cases) {
        ListPoint at = captionMarkerPosition(c.position, c.mode, item, c.scroll, icon);
        EXPECT_EQ(at.x, c.expected.x) << c.position << "/" << c.mode << "/" << c.scroll;
        EXPECT_EQ(at.y, c.expected.y) << c.position << "/" << c.mode << "/" << c.scroll;
    }
}

namespace {

int highestSlot = -1;
int shownMarkers = 0;
void recordMove(int slot, int, int) { highestSlot = std::max(highestSlot, slot); }
void recordShow(int slot, int shown) {
    highestSlot = std::max(highestSlot, slot);
    if (shown) ++shownMarkers;
}

} // namespace

class CaptionMarkers : public ProductionTest {
protected:
    void SetUp() override {
        ProductionTest::SetUp();
        markers.moveCaptionMarker = recordMove;
        markers.showCaptionMarker = recordShow;
        setPictureListViewHandler(&markers);
        highestSlot = -1;
        shownMarkers = 0;
    }
    void addCaptioned(int n, const std::string& text) {
        for (int i = 0; i < n; ++i) {
            PictureRecord* picture = addPicture("/nowhere/p.jpg");
            picture->caption->mode = 1;
            picture->caption->text = text;
        }
    }
    PictureListViewHandler markers;
};

TEST_F(CaptionMarkers, OnlyTheSixtySlotsAreEverTouched) {
    setChecked(IDC_CAPTION_CHECK, 1);
    addCaptioned(70, "文字");
    updateCaptionPreviews();
    EXPECT_EQ(highestSlot, kCaptionMarkerSlots - 1);
    EXPECT_EQ(shownMarkers, kCaptionMarkerSlots);
}

TEST_F(CaptionMarkers, BlankTextsAndUncheckedBoxesShowNone) {
    addCaptioned(3, " \t\r\n");
    setChecked(IDC_CAPTION_CHECK, 1);
    updateCaptionPreviews();
    EXPECT_EQ(shownMarkers, 0);
    addCaptioned(2, "x");
    setChecked(IDC_CAPTION_CHECK, 0);
    updateCaptionPreviews();
    EXPECT_EQ(shownMarkers, 0);
    setChecked(IDC_CAPTION_CHECK2, 1);
    updateCaptionPreviews();
    EXPECT_EQ(shownMarkers, 2);
}

TEST_F(CaptionMarkers, CheckingOneBoxUnchecksTheOtherAndSetsEveryMode) {
    addCaptioned(2, "x");
    setChecked(IDC_CAPTION_CHECK2, 1);
    setChecked(IDC_CAPTION_CHECK, 1);
    applyCaptionModeToAll(IDC_CAPTION_CHECK, IDC_CAPTION_CHECK2);
    EXPECT_FALSE(isChecked(IDC_CAPTION_CHECK2));
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(static_cast<PictureRecord*>(linkedlist_get(pictureList, i))->caption->mode, 1u);
    EXPECT_TRUE(isControlEnabled(IDC_CAPTION_FONT));
    EXPECT_FALSE(isControlEnabled(IDC_CAPTION_TEXT)) << "no single selection";

    setChecked(IDC_CAPTION_CHECK, 0);
    applyCaptionModeToAll(IDC_CAPTION_CHECK, IDC_CAPTION_CHECK2);
    EXPECT_EQ(static_cast<PictureRecord*>(linkedlist_get(pictureList, 0))->caption->mode, 0u);
    for (int i = 0; i < kCaptionPanelControlCount; ++i)
        EXPECT_FALSE(isControlEnabled(kCaptionPanelControls[i])) << kCaptionPanelControls[i];
}
