// Every named effect of the dispatch table animates, and writes exactly the
// frames count mode reports at the output sizes users pick, small and large.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "effect_harness.h"
#include "imagemagick_comparison.h"
#include "render/effects/effect_table.h"
#include "render/magick_mirror/own_pixel_work.h"

using namespace harness;

namespace {

// The 97 indices with a display name (the contract test checks there are 97).
std::vector<int> namedIndices() {
    std::vector<int> indices;
    for (int i = 0; i < kEffectTableSize; ++i)
        if (effectTable[i].name) indices.push_back(i);
    return indices;
}

class EveryNamedEffect : public ::testing::TestWithParam<int> {};

// The MD5 of the frames each effect draws with ImageMagick's own calls
// alone, at both sizes of DrawsTheFramesImageMagickAloneDraws.
std::string imageMagickFramesDigest(int index) {
    static const std::map<int, std::string> digests = {
        {0, "3C28D827EFB59CBBBB136F8BA0F2DF88"}, {1, "0C61FB445309DFE5B5376BA94698F546"},
        {2, "78019D3D0BDFD95B9F549A0B3A3BF3FC"}, {3, "47C8C010BD7DD939482DF0B43410A9D1"},
        {4, "E04AEEBDF0F48253D6BCDB71A2FB67AB"}, {5, "6F7B3B2EE3D7D66684C0365B9A3407BD"},
        {6, "15349B18EC3771C0C779E5457AC39C5A"}, {7, "AF2F7C3682FC70B31C9065A15BBB6B9D"},
        {8, "6C93B31B8D0FFD42551EE053C2A2AE34"}, {9, "FD8548A0269593A92DC5A59476D54252"},
        {10, "7F17A3BB791C7B862D2C56B69C0CF276"}, {11, "E15150DFC1C3017EF949F2CBBD812AC9"},
        {12, "41422A60FA72151B2AD65A7EE37FFB82"}, {13, "D11AD5D5525794E41116D3A502FDDE48"},
        {14, "5F115AAD42851ECBA7400DF0A89C19FD"}, {15, "56C1C82A4441DCBEA9C79BC46E0E20EA"},
        {16, "1FEF34A6570E524C7F53B28692590B79"}, {17, "7CEF7108BEB0A761A4AE72D6F87C7495"},
        {18, "49ADE5D98A7B8AF3227752202C623EF1"}, {19, "BEBD9825A34A29DEF2D1350F2283C51C"},
        {20, "AA0BFC0273B624C6FB26C0C05343917E"}, {21, "BFBA1B7922A213F8BB99E543BFFF2844"},
        {22, "CA6BBD699A20EC91473D9462D70914A8"}, {23, "6E39AC79430FD9A69C58B408411C9333"},
        {24, "B1BE5B86034A37232B8CE167D5C26D5C"}, {25, "D9B90F3508C973FF1801CF775B6AE066"},
        {26, "223C1E3F13172309B08B92E7933B327D"}, {27, "ACC83C9226E2468B3FA1B898141F1802"},
        {28, "5633F8F6C49985DACA45E70ABF371E9E"}, {29, "BEB3130D01F1DBD4FCA7FD7687DBD213"},
        {30, "DC165E397F7CAEDE92EE21509C4B8246"}, {31, "62D1B06FE2C7FA0A6E5254FEC0C32147"},
        {32, "A760ED05328FC05E8A0D452F88ECEC81"}, {33, "0C865A54D0BB3A58EBD76F4E2E3575CD"},
        {34, "FA3410DFA470C8A23E8CCBDCA5E6E87F"}, {35, "E8F2FFD502191DBBEDC454E50DDA9155"},
        {36, "5D6D111F58CBD026F95B4B4B9547F954"}, {37, "F6D8285BD024190333367A6996693631"},
        {38, "6C6777F09BFF749A31C614E6B70EB7AF"}, {39, "811ADC4DCD3DD35CDF5E476787BB9B0A"},
        {40, "E40D2BC453543C3A653B29A0F593E5BF"}, {41, "19234E381C6BFC8DA95C2D6FA088C144"},
        {42, "02DA56B02A823E4FC360735C8A42662E"}, {43, "85327262DEFD982F8E2A58188BB080DF"},
        {44, "6B5A53F786215037E3D8FF2C0320F466"}, {45, "10F8A7C67C40F2E27C14ADA91E04E28C"},
        {46, "E8D4C3EB9E674EFCC869DEE1E513F3B1"}, {47, "ADD3D7511BA1F2C7D444D1234747EEA0"},
        {48, "07B2C92DE9181E3C7D17DB3FB655ED83"}, {49, "EF50679295F7BD107BF3229237B517E6"},
        {50, "409F7018CB11540B1ED856A815785301"}, {51, "66A2BCFC0BF4507603E7DCFC8CC0F8B1"},
        {52, "6ED09D3610421D364483B00357531500"}, {53, "116CD9A2F9A04E535A96061F7FC8B014"},
        {54, "A412E8128031BADB01CC7BBD71EB2744"}, {55, "74441D68DA3B178DE800290E4665C114"},
        {56, "26644D9EFFCC6062F339BE49EF51FFF0"}, {57, "7DCCB2422D57674D7ED9F511DA0266B7"},
        {58, "93E1A6EAE681D52375CAF2DB0E27E0D6"}, {59, "B3929147F1CF8E585267F9A8A668FF17"},
        {60, "B27F5012CF8746E25A7ED9C13F01CA5C"}, {61, "78F2F715DE640CF2820FA2290FE5991C"},
        {62, "19CA683182EB8D60DF58F4C0A5C2CF3C"}, {63, "3CF67A06FDDC21661B9B083F21C452EB"},
        {64, "644E2B8AB12CBCE3E5D178A9F83913C9"}, {65, "807965FCB00E7637AF6625207BCADDCF"},
        {66, "A3F3BECB354F27B571E69F2D516117BA"}, {67, "34B09E0BACEFA792720521DF453E096C"},
        {68, "F5A2540ADB009057A6FC1C27F9E93639"}, {69, "C48ABB9EC4406BC18E2BCEB48E3FB8DD"},
        {70, "6885D2BFF51D975EB81D8D640E69C396"}, {71, "5A91AFA33475F8A66F7177E205F4799F"},
        {72, "EBBC4644E1F4FC592919E6BBFC9389C6"}, {73, "2F2E3B73258FF856E2AAF07C0B8D09F3"},
        {74, "C9471BE3EA0127DB338D0BAFE81ABEEB"}, {75, "33930EDD55B80E829005FDF9C271BB2F"},
        {76, "D4E2714257063135303C9D4818597E1E"}, {77, "C765288DD1280A164A90F441EC0CBD28"},
        {78, "087AD9B682D0E52FC6167F0E8ACB9576"}, {79, "81B9EE1F4CAEDC45DE0D38C0C0052F6E"},
        {80, "95AD0B9C2CE1C9BAFB9E681D0CF325ED"}, {81, "6E484B21448578F52616F150B2D4CD6C"},
        {82, "9713230F73F5C14F52452E405233F24F"}, {83, "5D5583D2A797E21C763E2CB864D723DA"},
        {84, "500FCA049A784A30CD519DC13ED620A2"}, {85, "2521C6C5FFF62A1CFF77251CA3E7A255"},
        {86, "8CEB843AD366200382697332057DA10B"}, {87, "D368E931CAF89B7F10F7A87ABCAE4834"},
        {88, "2CE76AF9460A4F647877B8F40C0E3595"}, {89, "02ABEA4CDF0970E9D0A8EC5BB4EFC180"},
        {90, "C6375C654D8A653B8EC4FDCDFD1D4BAD"}, {91, "913C312DE7C5F09E121DB2DA9F2D0671"},
        {92, "875949E70658040ACA14728791C2DF01"}, {95, "E13D2AC2D1D1CFB0904137BD8722FBB4"},
        {96, "32AA95E97C7FCF5B9DAE7E4E7EBE5F27"}, {97, "A43164E24C92366B9391F6D5DFE94673"},
        {98, "D49453D1D30E4727D20B871023928EA9"},
    };
    auto found = digests.find(index);
    return found == digests.end() ? "" : found->second;
}

} // namespace

// One case per index (each case is a process of its own under ctest, and
// the large sizes dominate it).
TEST_P(EveryNamedEffect, AnimatesAndRendersTheCountedFramesAtEverySize) {
    const int index = GetParam();
    {
        // No animation writes only hold frames, each the plain picture; an
        // effect's first transition frame already shows it under way. Later
        // frames are refused, so the run stops there.
        SCOPED_TRACE("first frame at 400x400");
        const int W = 400, H = 400;
        WandPtr canvas = positionCodedCanvas(W, H);
        EffectSetup setup;
        setup.index = index;
        setup.W = W;
        setup.H = H;
        setup.canvas = canvas.get();
        setup.previous = solidCanvas(W, H, "#0000ff");
        setup.refuseAt = 1;
        EffectRun run = runEffectIndex(std::move(setup));
        ASSERT_EQ(run.frames.size(), 1u) << "no transition frame";
        EXPECT_NE(run.frames[0], frameOf(canvas.get())) << "the first frame is the plain picture";
    }
    const int hold = 1;
    for (auto [W, H] : {std::pair{256, 256}, {800, 450}, {1080, 1440}, {3840, 256}}) {
        SCOPED_TRACE(::testing::Message() << W << "x" << H);
        WandPtr canvas = solidCanvas(W, H, "#ff0000");
        WandPtr previous = solidCanvas(W, H, "#0000ff");
        int counted = countEffectIndex(index, W, H, hold, previous.get());
        EffectSetup setup;
        setup.index = index;
        setup.W = W;
        setup.H = H;
        setup.holdFrames = hold;
        setup.canvas = canvas.get();
        setup.previous = std::move(previous);
        setup.decode = false;
        EffectRun run = runEffectIndex(std::move(setup));
        EXPECT_EQ(run.sinkCalls, counted);
        ASSERT_NE(run.result, nullptr);
        EXPECT_EQ(MagickGetImageWidth(run.result.get()), static_cast<size_t>(W));
        EXPECT_EQ(MagickGetImageHeight(run.result.get()), static_cast<size_t>(H));
    }
}

// The program's own resizes, composites, distortions and shape masks give
// every frame ImageMagick's calls give, bit for bit, with a caption laid on
// the hold frames, at odd and even sizes.
TEST_P(EveryNamedEffect, DrawsTheFramesImageMagickAloneDraws) {
    const int index = GetParam();
    ImageMagickComparison drawn(
        "MagickResizeImage, MagickCompositeImage, MagickDistortImage, MagickRotateImage or "
        "MagickDrawImage",
        imageMagickFramesDigest(index));
    for (auto [W, H] : {std::pair{61, 45}, {48, 64}}) {
        SCOPED_TRACE(::testing::Message() << W << "x" << H);
        WandPtr canvas = positionCodedCanvas(W, H);
        auto caption = testCaption(W, H);
        auto run = [&, W = W, H = H](bool own) {
            ownPixelWork = own;
            EffectSetup setup;
            setup.index = index;
            setup.W = W;
            setup.H = H;
            setup.holdFrames = 3;
            setup.canvas = canvas.get();
            setup.caption = caption.get();
            setup.previous = negativeCodedCanvas(W, H);
            EffectRun result = runEffectIndex(std::move(setup));
            ownPixelWork = true;
            return result;
        };
        EffectRun own = run(true);
        EffectRun imageMagick = run(false);
        for (const Frame& frame : imageMagick.frames)
            drawn.reference(frame.rgb.data(), frame.rgb.size());
        if (imageMagick.result) drawn.reference(imageMagick.result.get());
        drawn.compare([&] {
            ASSERT_EQ(own.frames.size(), imageMagick.frames.size());
            for (std::size_t i = 0; i < own.frames.size(); ++i)
                EXPECT_EQ(own.frames[i], imageMagick.frames[i]) << "frame " << i;
            ASSERT_NE(own.result, nullptr);
            ASSERT_NE(imageMagick.result, nullptr);
            EXPECT_EQ(frameOf(own.result.get()), frameOf(imageMagick.result.get()))
                << "final frame";
        });
    }
    if (std::string why = drawn.judge(); !why.empty()) GTEST_SKIP() << why;
}

INSTANTIATE_TEST_SUITE_P(DispatchTable, EveryNamedEffect, ::testing::ValuesIn(namedIndices()),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param);
                         });
