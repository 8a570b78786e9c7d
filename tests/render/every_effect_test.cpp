// Every named effect of the dispatch table animates, and writes exactly the
// frames count mode reports at the output sizes users pick, small and large.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "effect_harness.h"
#include "render/effects/effect_table.h"

using namespace harness;

namespace {

std::vector<int> namedIndices() {
    std::vector<int> indices;
    for (int i = 0; i < kEffectTableSize; ++i)
        if (effectTable[i].name) indices.push_back(i);
    return indices;
}

// Indices whose family is not built yet, so that their effect is still a
// stand-in in stand_ins.cpp rendering as no animation. Read from the sources
// while any stand-in remains; once the file is gone every index is checked.
std::set<int> standInIndices() {
    namespace fs = std::filesystem;
    const fs::path effects = fs::path(__FILE__).parent_path() / "../../render/effects";
    // The effect name that follows marker on a line, up to its "(".
    auto nameAfter = [](const std::string& line, const std::string& marker) {
        std::size_t at = line.find(marker);
        if (at == std::string::npos) return std::string();
        at += marker.size() - std::string("effect_").size();
        return line.substr(at, line.find('(', at) - at);
    };
    std::set<std::string> names;
    std::ifstream standIns(effects / "stand_ins.cpp");
    for (std::string line; std::getline(standIns, line);) {
        std::string name = nameAfter(line, "WandPtr effect_");
        if (!name.empty()) names.insert(name);
    }
    std::set<int> indices;
    if (names.empty()) return indices;
    std::ifstream table(effects / "effect_table.cpp");
    for (std::string line; std::getline(table, line);) {
        std::size_t comment = line.find("/*");
        std::string name = nameAfter(line, "return effect_");
        if (comment != std::string::npos && names.count(name))
            indices.insert(std::atoi(line.c_str() + comment + 2));
    }
    if (indices.empty()) ADD_FAILURE() << "stand-ins found but not mapped to table indices";
    return indices;
}

class EveryNamedEffect : public ::testing::TestWithParam<int> {};

} // namespace

TEST(EveryNamedEffectTable, NinetySevenNamedEffects) {
    EXPECT_EQ(namedIndices().size(), 97u);
}

TEST_P(EveryNamedEffect, AnimatesUnlikeNoAnimation) {
    const int index = GetParam();
    if (standInIndices().count(index)) GTEST_SKIP() << "family not built yet";
    const int W = 400, H = 400;
    WandPtr canvas = positionCodedCanvas(W, H);
    EffectSetup setup;
    setup.index = index;
    setup.W = W;
    setup.H = H;
    setup.canvas = canvas.get();
    setup.previous = solidCanvas(W, H, "#0000ff");
    EffectRun run = runEffectIndex(std::move(setup));
    // No animation writes only hold frames, each the plain picture.
    ASSERT_GT(run.frames.size(), 0u) << "no transition frames";
    const Frame plain = frameOf(canvas.get());
    int differing = 0;
    for (const Frame& frame : run.frames) differing += !(frame == plain);
    EXPECT_GT(differing, 0) << "every frame is the plain picture";
}

TEST_P(EveryNamedEffect, RendersTheCountedFramesAtEverySize) {
    const int index = GetParam();
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

INSTANTIATE_TEST_SUITE_P(DispatchTable, EveryNamedEffect, ::testing::ValuesIn(namedIndices()),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param);
                         });
