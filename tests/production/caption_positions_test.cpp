#include "production/caption_positions.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> sequence(CaptionLayout layout, int first, int count) {
    std::vector<int> positions{firstCaptionPosition(layout, first)};
    while (static_cast<int>(positions.size()) < count)
        positions.push_back(nextCaptionPosition(layout, positions.back()));
    return positions;
}

} // namespace

TEST(CaptionLayouts, EachLayoutWalksItsCorners) {
    using L = CaptionLayout;
    const struct {
        CaptionLayout layout;
        int first;
        std::vector<int> positions;
    } cases[] = {
        {L::EdgeDiagonal, 4, {1, 2, 1, 2}},
        {L::EdgeDiagonal, 0, {0, 3, 0}},
        {L::EdgeDiagonal, 7, {2, 1, 2}},
        {L::EdgeCross, 6, {1, 2, 3, 0, 1}},
        {L::EdgeCross, 3, {3, 0, 1}},
        {L::InsetDiagonal, 4, {6, 7, 6}},
        {L::InsetDiagonal, 0, {5, 8, 5}},
        {L::InsetCross, 7, {7, 8, 5, 6, 7, 8}},
        {L::InsetCross, 2, {7, 8, 5}},
        {L::CenterBottom, 8, {4, 4, 4}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sequence(c.layout, c.first, static_cast<int>(c.positions.size())), c.positions)
            << static_cast<int>(c.layout) << " from " << c.first;
    }
}
