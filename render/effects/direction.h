// The four directions in which the moving and band effects travel.
#pragma once

enum class Direction { LeftToRight, RightToLeft, TopToBottom, BottomToTop };

// Top-to-bottom and bottom-to-top measure their steps on the frame's height.
constexpr bool isVertical(Direction direction) {
    return direction == Direction::TopToBottom || direction == Direction::BottomToTop;
}
