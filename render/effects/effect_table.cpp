#include "render/effects/effect_table.h"

#include "render/effects/arrow_sweep.h"
#include "render/effects/circle_diamond_x.h"
#include "render/effects/clock_windmill.h"
#include "render/effects/corner_crop_wipe_out.h"
#include "render/effects/diagonal_scan.h"
#include "render/effects/door_fly.h"
#include "render/effects/drag_slide.h"
#include "render/effects/flip.h"
#include "render/effects/frame_output.h"
#include "render/effects/grow.h"
#include "render/effects/move_grow.h"
#include "render/effects/rotate.h"
#include "render/effects/shrink.h"
#include "render/effects/staircase_blinds.h"
#include "render/effects/wipe_in_corners.h"
#include "render/effects/zoom_fade.h"

const char* const kNoAnimationName = "无动画";

double EffectParam::of(int W, int H) const {
    switch (kind) {
    case Kind::None: return 0;
    case Kind::Constant: return value;
    case Kind::WidthOver: return W / static_cast<int>(value);
    case Kind::HeightOver: return H / static_cast<int>(value);
    case Kind::WidthTimes: return static_cast<int>(W * value);
    }
    return 0;
}

namespace {

WandPtr noAnimation(EffectContext& ctx, int, const EffectParams&) { return effect_none(ctx); }

constexpr EffectFamily none{"none", noAnimation};
constexpr EffectFamily zoom{"zoom", effect_zoom};
constexpr EffectFamily wipeIn{"wipe-in", effect_wipe_in};
constexpr EffectFamily grow{"grow", effect_grow};
constexpr EffectFamily cornerCrop{"corner-crop", effect_reveal};
constexpr EffectFamily wipeOut{"wipe-out", effect_reveal};
constexpr EffectFamily circle{"circle", effect_circle};
constexpr EffectFamily drag{"drag", effect_drag};
constexpr EffectFamily fade{"fade", effect_fade};
constexpr EffectFamily clockWipe{"clock", effect_clock};
constexpr EffectFamily fourCorner{"4-corner", effect_corners};
constexpr EffectFamily fly{"fly", effect_fly};
constexpr EffectFamily staircase{"staircase", effect_staircase};
constexpr EffectFamily rotate{"rotate", effect_rotate};
constexpr EffectFamily blinds{"blinds", effect_blinds};
constexpr EffectFamily diagonal{"diagonal", effect_diagonal};
constexpr EffectFamily diamond{"diamond", effect_diamond};
constexpr EffectFamily windmill{"windmill", effect_windmill};
constexpr EffectFamily xShape{"X", effect_x};
constexpr EffectFamily flip{"flip", effect_flip};
constexpr EffectFamily scan{"scan", effect_scan};
constexpr EffectFamily shrinkMid{"shrink-mid", effect_shrink};
constexpr EffectFamily slideOut{"slide-out", effect_slide_out};
constexpr EffectFamily arrow{"arrow", effect_arrow};
constexpr EffectFamily sweep{"sweep", effect_sweep};
constexpr EffectFamily shrinkCorner{"shrink-corner", effect_shrink};
constexpr EffectFamily slideIn{"slide-in", effect_slide_in};
constexpr EffectFamily moveGrow{"move-grow", effect_move_grow};
constexpr EffectFamily door{"door", effect_door};

template <class Member>
constexpr EffectEntry row(const char* name, const EffectFamily& family, Member member,
                          EffectParam first = {}, EffectParam second = {}) {
    return {name, &family, variantOf(member), first, second};
}

constexpr EffectEntry noEffect{nullptr, &none};
constexpr EffectEntry noAnimationRow{"无动画", &none};

using D = Direction;
using Grow = GrowAnchor;
using Reveal = RevealMember;
using Shrink = ShrinkMember;

} // namespace

// clang-format off
const EffectEntry effectTable[kEffectTableSize] = {
    /*  0 */ row("逐渐缩小", zoom, ZoomMember::Shrink, constant(20), widthTimes(0.02)),
    /*  1 */ row("逐渐放大", zoom, ZoomMember::Enlarge, constant(20), widthTimes(0.02)),
    /*  2 */ row("从四周向中间展开(方)", wipeIn, WipeInMember::EdgesToCenterSquare, widthOver(16)),
    /*  3 */ row("从左右两侧向中间展开", wipeIn, WipeInMember::SidesToMiddleHorizontal, widthOver(16)),
    /*  4 */ row("从上下两侧向中间展开", wipeIn, WipeInMember::SidesToMiddleVertical, heightOver(16)),
    /*  5 */ row("从左上角由小变大", grow, Grow::TopLeft, widthOver(16)),
    /*  6 */ row("从左上角展开", cornerCrop, Reveal::FromTopLeft, widthOver(16)),
    /*  7 */ row("从左下角由小变大", grow, Grow::BottomLeft, widthOver(16)),
    /*  8 */ row("从左下角展开", cornerCrop, Reveal::FromBottomLeft, widthOver(16)),
    /*  9 */ row("从右上角由小变大", grow, Grow::TopRight, widthOver(16)),
    /* 10 */ row("从右上角展开", cornerCrop, Reveal::FromTopRight, widthOver(16)),
    /* 11 */ row("从右下角由小变大", grow, Grow::BottomRight, widthOver(16)),
    /* 12 */ row("从右下角展开", cornerCrop, Reveal::FromBottomRight, widthOver(16)),
    /* 13 */ row("从左侧中间由小变大", grow, Grow::LeftMiddle, widthOver(16)),
    /* 14 */ row("从上侧中间由小变大", grow, Grow::TopMiddle, heightOver(16)),
    /* 15 */ row("从右侧中间由小变大", grow, Grow::RightMiddle, widthOver(16)),
    /* 16 */ row("从下侧中间由小变大", grow, Grow::BottomMiddle, heightOver(16)),
    /* 17 */ row("从中间由小变大", grow, Grow::Center, widthOver(17)),
    /* 18 */ row("从中间向四周展开(方)", wipeOut, Reveal::CenterToEdges, widthOver(16)),
    /* 19 */ row("从中间向左右展开", wipeOut, Reveal::MiddleToSidesHorizontal, widthOver(16)),
    /* 20 */ row("从中间向上下展开", wipeOut, Reveal::MiddleToSidesVertical, heightOver(16)),
    /* 21 */ row("从左向右展开", wipeOut, Reveal::LeftToRight, widthOver(16)),
    /* 22 */ row("从上向下展开", wipeOut, Reveal::TopToBottom, heightOver(16)),
    /* 23 */ row("从下向上展开", wipeOut, Reveal::BottomToTop, heightOver(16)),
    /* 24 */ row("从右向左展开", wipeOut, Reveal::RightToLeft, widthOver(16)),
    /* 25 */ row("从中间向四周展开(圆)", circle, Spread::CenterToEdges, widthOver(16)),
    /* 26 */ row("从四周向中间展开(圆)", circle, Spread::EdgesToCenter, widthOver(16)),
    /* 27 */ row("从左向右拖出", drag, D::LeftToRight, widthOver(16)),
    /* 28 */ row("从右向左拖出", drag, D::RightToLeft, widthOver(16)),
    /* 29 */ row("从上向下拖出", drag, D::TopToBottom, heightOver(16)),
    /* 30 */ row("从下向上拖出", drag, D::BottomToTop, heightOver(16)),
    /* 31 */ row("淡入淡出", fade, 0, constant(6)),
    /* 32 */ row("12点顺时针方向展开", clockWipe, ClockWipe::From12Clockwise, constant(19.8)),
    /* 33 */ row("顺逆时针方向同时展开", clockWipe, ClockWipe::BothWays, constant(11.0)),
    /* 34 */ row("9点顺时针方向展开", clockWipe, ClockWipe::From9Clockwise, constant(19.8)),
    /* 35 */ row("9点逆时针方向展开", clockWipe, ClockWipe::From9Counterclockwise, constant(19.8)),
    /* 36 */ row("12点逆时针方向展开", clockWipe, ClockWipe::From12Counterclockwise, constant(19.8)),
    /* 37 */ row("从四角向中间展开", fourCorner, CornersMember::CornersToCenter, widthOver(32)),
    /* 38 */ row("从中间向四角展开", fourCorner, CornersMember::CenterToCorners, widthOver(32)),
    /* 39 */ row("从四角向中间飞进", fly, FlyMember::InFromCorners, widthOver(32)),
    /* 40 */ row("从中间向四角飞出", fly, FlyMember::OutToCorners, widthOver(32)),
    /* 41 */ row("从左到右光栅阶梯展开", staircase, D::LeftToRight, constant(16)),
    /* 42 */ row("从右到左光栅阶梯展开", staircase, D::RightToLeft, constant(16)),
    /* 43 */ row("从上到下光栅阶梯展开", staircase, D::TopToBottom, constant(16)),
    /* 44 */ row("从下到上光栅阶梯展开", staircase, D::BottomToTop, constant(16)),
    /* 45 */ row("顺时针旋转由小变大", rotate, RotateMember::ClockwiseGrow),
    /* 46 */ row("逆时针旋转由小变大", rotate, RotateMember::CounterclockwiseGrow),
    /* 47 */ row("顺时针旋转由大变小", rotate, RotateMember::ClockwiseShrink),
    /* 48 */ row("逆时针旋转由大变小", rotate, RotateMember::CounterclockwiseShrink),
    /* 49 */ row("百叶窗式从左到右展开", blinds, BlindsMember::LeftToRight, constant(14)),
    /* 50 */ row("百叶窗式从上到下展开", blinds, BlindsMember::TopToBottom, constant(14)),
    /* 51 */ row("对角线左上到右下展开", diagonal, DiagonalCorner::TopLeft),
    /* 52 */ row("对角线左下到右上展开", diagonal, DiagonalCorner::BottomLeft),
    /* 53 */ row("对角线右上到左下展开", diagonal, DiagonalCorner::TopRight),
    /* 54 */ row("对角线右下到左上展开", diagonal, DiagonalCorner::BottomRight),
    /* 55 */ row("从中间向四周展开(菱)", diamond, Spread::CenterToEdges),
    /* 56 */ row("从四周向中间展开(菱)", diamond, Spread::EdgesToCenter),
    /* 57 */ row("风车", windmill, 0, constant(5.45)),
    /* 58 */ row("从中间向四周展开(X)", xShape, Spread::CenterToEdges, widthOver(32)),
    /* 59 */ row("从四周向中间展开(X)", xShape, Spread::EdgesToCenter, widthOver(32)),
    /* 60 */ row("绕左边向外翻转进来", flip, FlipHinge::Left),
    /* 61 */ row("绕右边向外翻转进来", flip, FlipHinge::Right),
    /* 62 */ row("绕上边向外翻转进来", flip, FlipHinge::Top),
    /* 63 */ row("绕下边向外翻转进来", flip, FlipHinge::Bottom),
    /* 64 */ row("对角线互动扫描进来", scan, ScanMember::In),
    /* 65 */ row("对角线互动扫描出去", scan, ScanMember::Out),
    /* 66 */ row("从四周向中间缩小", shrinkMid, Shrink::EdgesToCenter, widthOver(17)),
    /* 67 */ row("从左右两边向中间缩小", shrinkMid, Shrink::SidesToMiddleHorizontal, widthOver(16)),
    /* 68 */ row("从上下两边向中间缩小", shrinkMid, Shrink::SidesToMiddleVertical, heightOver(16)),
    /* 69 */ row("从左向右滑出", slideOut, D::LeftToRight),
    /* 70 */ row("从右向左滑出", slideOut, D::RightToLeft),
    /* 71 */ row("从上向下滑出", slideOut, D::TopToBottom),
    /* 72 */ row("从下向上滑出", slideOut, D::BottomToTop),
    /* 73 */ row("箭头从左到右展开", arrow, ArrowDirection::LeftToRight),
    /* 74 */ row("箭头从右到左展开", arrow, ArrowDirection::RightToLeft),
    /* 75 */ row("箭头从上到下展开", arrow, ArrowDirection::TopToBottom),
    /* 76 */ row("箭头从下到上展开", arrow, ArrowDirection::BottomToTop),
    /* 77 */ row("下方向两边扫射展开", sweep, SweepEdge::Bottom),
    /* 78 */ row("上方向两边扫射展开", sweep, SweepEdge::Top),
    /* 79 */ row("左方向两边扫射展开", sweep, SweepEdge::Left),
    /* 80 */ row("右方向两边扫射展开", sweep, SweepEdge::Right),
    /* 81 */ row("向左上角逐渐缩小", shrinkCorner, Shrink::TopLeft),
    /* 82 */ row("向左下角逐渐缩小", shrinkCorner, Shrink::BottomLeft),
    /* 83 */ row("向右上角逐渐缩小", shrinkCorner, Shrink::TopRight),
    /* 84 */ row("向右下角逐渐缩小", shrinkCorner, Shrink::BottomRight),
    /* 85 */ row("从左向右滑入", slideIn, D::LeftToRight),
    /* 86 */ row("从右向左滑入", slideIn, D::RightToLeft),
    /* 87 */ row("从上向下滑入", slideIn, D::TopToBottom),
    /* 88 */ row("从下向上滑入", slideIn, D::BottomToTop),
    /* 89 */ row("从上移到中间由小变大", moveGrow, MoveGrowFrom::Top),
    /* 90 */ row("从下移到中间由小变大", moveGrow, MoveGrowFrom::Bottom),
    /* 91 */ row("从左移到中间由小变大", moveGrow, MoveGrowFrom::Left),
    /* 92 */ row("从右移到中间由小变大", moveGrow, MoveGrowFrom::Right),
    /* 93 */ noEffect,
    /* 94 */ noEffect,
    /* 95 */ row("左右开门", door, DoorMember::OpenHorizontal),
    /* 96 */ row("上下开门", door, DoorMember::OpenVertical),
    /* 97 */ row("左右关门", door, DoorMember::CloseHorizontal),
    /* 98 */ row("上下关门", door, DoorMember::CloseVertical),
};
// clang-format on

const EffectEntry& effectEntry(int index) {
    unsigned slot = static_cast<unsigned>(index);
    return slot < static_cast<unsigned>(kEffectTableSize) ? effectTable[slot] : noAnimationRow;
}

WandPtr runEffect(int index, EffectContext& ctx) {
    const EffectEntry& entry = effectEntry(index);
    return entry.family->run(ctx, entry.variant, entry.paramsFor(ctx.W, ctx.H));
}
