// The start-up check of the render's own pixel work against ImageMagick's.
#include <gtest/gtest.h>

#include <algorithm>

#include "imagemagick_comparison.h"
#include "render/magick_mirror/mirror_check.h"
#include "render/magick_mirror/own_pixel_work.h"

TEST(MirrorCheck, OwnWorkGivesImageMagicksPixelsOnEveryCaseAndTheCheckKeepsIt) {
    ImageMagickComparison check("resize, composite, distortions and drawing",
                                "88968663713EE1033EAC35C04FF82356");
    for (const MirrorCase& c : mirrorCases()) {
        SCOPED_TRACE(testing::Message() << c.name << " (" << c.operation << ")");
        MirrorResult imageMagick = c.imageMagick();
        check.reference(imageMagick);
        check.compare([&] {
            EXPECT_GT(imageMagick.channels.size(), 0u);
            EXPECT_TRUE(c.own() == imageMagick);
        });
    }
    check.compare([] {
        testing::internal::CaptureStderr();
        EXPECT_TRUE(checkOwnPixelWork());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_TRUE(ownPixelWork);
    });
    ownPixelWork = true;
    if (std::string why = check.judge(); !why.empty()) GTEST_SKIP() << why;
}

TEST(MirrorCheck, ACaseImageMagickDrawsOneStepOffTurnsTheOwnWorkOffAndSaysSoOnce) {
    std::vector<MirrorCase> cases = mirrorCases();
    MirrorCase& drifted = cases[cases.size() / 2];
    drifted.imageMagick = [reference = drifted.imageMagick] {
        MirrorResult result = reference();
        unsigned short& channel = result.channels[result.channels.size() / 2];
        channel = channel == 65535 ? 65534 : channel + 1;
        return result;
    };
    testing::internal::CaptureStderr();
    EXPECT_FALSE(checkOwnPixelWork(cases));
    EXPECT_FALSE(ownPixelWork);
    EXPECT_FALSE(checkOwnPixelWork(cases)) << "the work stays with ImageMagick";
    const std::string said = testing::internal::GetCapturedStderr();
    ownPixelWork = true;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find(std::string(drifted.name) + " (" + drifted.operation + ")"),
              std::string::npos)
        << said;
}
