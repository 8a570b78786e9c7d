// Flip: the new picture swings in about one frame edge, a perspective
// distortion of it laid over the previous frame in place each frame.
#include "render/effects/flip.h"

#include "render/effects/effect_helpers.h"
#include "render/effects/effect_schedule.h"
#include "render/magick_mirror/image_distort.h"

namespace {

constexpr int kDistortedFrames = 17;

// Where the moving edge lies on frame k along an extent (W for the left and
// right hinges, H for the others), measured from the hinge side's origin.
// The steps are single precision: the right and bottom members truncate the
// result, and only float arithmetic puts it where their frames always were.
float nearEdge(int extent, int k) {
    float travel = extent - extent * 0.125f;
    return extent * 0.125f + k * (travel / 18.0f);
}
int farEdge(int extent, int k) {
    float travel = extent - extent * 0.125f;
    return static_cast<int>(travel - k * (travel / 18.0f));
}
// Half the moving edge's length on frame k, for an edge spanning extent.
double halfLength(int extent, int k) {
    return (extent / 2.3) / 2 + k * (((extent - extent / 2.3) * 0.5f) / 18.0f);
}

PerspectivePoints controlPoints(FlipHinge hinge, int W, int H, int k) {
    double w = W, h = H, cx = W / 2, cy = H / 2;
    switch (hinge) {
    case FlipHinge::Left: {
        double e = nearEdge(W, k), half = halfLength(H, k);
        return {0, 0, 0, 0, 0, h, 0, h, w, 0, e, cy - half, w, h, e, cy + half};
    }
    case FlipHinge::Right: {
        double e = farEdge(W, k), half = halfLength(H, k);
        return {0, 0, e, cy - half, 0, h, e, cy + half, w, h, w, h, w, 0, w, 0};
    }
    case FlipHinge::Top: {
        double e = nearEdge(H, k), half = halfLength(W, k);
        return {0, 0, 0, 0, w, 0, w, 0, w, h, cx + half, e, 0, h, cx - half, e};
    }
    case FlipHinge::Bottom:
        break;
    }
    double e = farEdge(H, k), half = halfLength(W, k);
    return {0, 0, cx - half, e, 0, h, 0, h, w, h, w, h, w, 0, cx + half, e};
}

WandPtr flip(EffectContext& ctx, FlipHinge hinge) {
    return renderOnPrevious(ctx, flipControlPoints(hinge, ctx.W, ctx.H),
                            [&](MagickWand* working, const PerspectivePoints& points) {
        WandPtr piece = cloneCanvas(ctx);
        // Opaque picture, transparent surroundings: only the mapped
        // quadrilateral covers the previous frame.
        MagickSetImageAlphaChannel(piece.get(), OpaqueAlphaChannel);
        MagickSetImageVirtualPixelMethod(piece.get(), TransparentVirtualPixelMethod);
        if (!distortPerspectiveBestFit(piece.get(), points.data(), points.size())) return;
        // The best fit enlarges the result and records where it starts.
        std::size_t pageWidth = 0, pageHeight = 0;
        ssize_t x = 0, y = 0;
        MagickGetImagePage(piece.get(), &pageWidth, &pageHeight, &x, &y);
        compositeOver(working, piece.get(), static_cast<int>(x), static_cast<int>(y));
    });
}

} // namespace

std::vector<PerspectivePoints> flipControlPoints(FlipHinge hinge, int W, int H) {
    std::vector<PerspectivePoints> frames;
    for (int k = 1; k <= kDistortedFrames; ++k) frames.push_back(controlPoints(hinge, W, H, k));
    return frames;
}

WandPtr effect_flip(EffectContext& ctx, int hinge, const EffectParams&) {
    return flip(ctx, static_cast<FlipHinge>(hinge));
}
