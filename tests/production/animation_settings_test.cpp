#include "production/animation_settings.h"

#include <gtest/gtest.h>

#include "foundation/linked_list.h"
#include "production/settings_files.h"
#include "render/picture_renderer.h"
#include "music_fixture.h"

namespace {

std::vector<int> effects() {
    std::vector<int> indices;
    for (int i = 0; i < linkedlist_size(pictureList); ++i)
        indices.push_back(static_cast<const PictureRecord*>(linkedlist_get(pictureList, i))->effectIndex);
    return indices;
}

} // namespace

class AnimationSettingsTest : public MusicTest {
protected:
    void addPictures(int count) {
        for (int i = 0; i < count; ++i) addPicture("/nowhere/p" + std::to_string(i) + ".jpg", 50 + i);
    }
};

TEST_F(AnimationSettingsTest, SavedFileListsEveryEffectInOrder) {
    EXPECT_EQ(buildAnimationSettingsText(), "");
    addPicture("/nowhere/a.jpg", 99);
    addPicture("/nowhere/b.jpg", 3);
    addPicture("/nowhere/c.jpg", 0);
    const std::string path = folder / "program/x.dh";
    ASSERT_EQ(saveAnimationSettings(path), 1);
    std::string text;
    ASSERT_EQ(readSettingsText(path, text), SettingsRead::Ok);
    EXPECT_EQ(text, "99,3,0");
}

TEST_F(AnimationSettingsTest, TokensGiveTheirPicturesEffects) {
    const struct {
        const char* name;
        std::string text;
        std::vector<int> effects;  // of six pictures holding 50 to 55
    } cases[] = {
        {"named and unnamed indices", "95,3,150", {95, 3, 99, 53, 54, 55}},
        {"fewer tokens than pictures", "7", {7, 51, 52, 53, 54, 55}},
        {"more tokens than pictures", "1,2,3,4,5,6,7,8,9", {1, 2, 3, 4, 5, 6}},
        {"junk leaves its picture alone", "7,abc, 9 ,,-3,94", {7, 51, 9, 53, 99, 99}},
        {"numbers with junk after them", "4x,5.0,6", {50, 51, 6, 53, 54, 55}},
        {"a line end", "4,5\r\n", {4, 5, 52, 53, 54, 55}},
        {"out of range", "99999999999999999999,93,98", {99, 99, 98, 53, 54, 55}},
        {"empty file", "", {50, 51, 52, 53, 54, 55}},
        {"neither UTF-8 nor GBK", "1,2,\x81 3", {50, 51, 52, 53, 54, 55}},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < linkedlist_size(pictureList); ++i)
            static_cast<PictureRecord*>(linkedlist_get(pictureList, i))->effectIndex = 50 + i;
        if (linkedlist_size(pictureList) == 0) addPictures(6);
        loadAnimationSettings(folder.write("a.dh", c.text));
        EXPECT_EQ(effects(), c.effects) << c.name;
    }
    loadAnimationSettings(folder.write("a.dh", "95,3,150"));
    const auto* first = static_cast<const PictureRecord*>(linkedlist_get(pictureList, 0));
    const auto* second = static_cast<const PictureRecord*>(linkedlist_get(pictureList, 1));
    const auto* third = static_cast<const PictureRecord*>(linkedlist_get(pictureList, 2));
    EXPECT_EQ(first->effectName, "左右开门");
    EXPECT_EQ(second->effectName, "从左右两侧向中间展开");
    EXPECT_EQ(third->effectName, "无动画");
}

TEST_F(AnimationSettingsTest, UnreadableFileChangesNothingSilently) {
    addPictures(2);
    loadAnimationSettings(folder / "missing.dh");
    loadAnimationSettings(folder.folder("folder.dh"));
    EXPECT_EQ(effects(), (std::vector<int>{50, 51}));
    EXPECT_TRUE(production_test::recorded().boxes.empty());
}
