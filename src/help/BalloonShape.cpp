#include "help/BalloonShape.h"

BalloonShape ShapeOfStyle(uint32_t nStyle) {
    if (nStyle & VNTT_BALLOON) return BALLOON_SHAPE_BALLOON;
    if (nStyle & VNTT_ROUNDRECT) return BALLOON_SHAPE_ROUNDRECT;
    if (nStyle & VNTT_RECT) return BALLOON_SHAPE_RECT;
    return BALLOON_SHAPE_NONE;
}

BalloonOutline BuildBalloonOutline(int w, int h, bool bStemLeft, bool bAbove) {
    BalloonOutline outline;
    outline.shape = BALLOON_SHAPE_BALLOON;
    outline.body = bAbove ? BalloonRect{0, 0, w, h} : BalloonRect{0, kBalloonStem, w, kBalloonStem + h};
    outline.corner = {kBalloonCornerWidth, kBalloonCornerHeight};

    // The stem's vertical edge is on the balloon's outer side; its base runs
    // inward along y0, 10 pixels inside the body's near edge.
    const int x0 = bStemLeft ? kBalloonMarginX : w - kBalloonMarginX;
    const int y0 = bAbove ? h - kBalloonMarginY : kBalloonStem + kBalloonMarginY;
    outline.bHasStem = true;
    outline.stem[0] = {x0, y0};
    outline.stem[1] = {x0, bAbove ? y0 + kBalloonStem : y0 - kBalloonStem};
    outline.stem[2] = {bStemLeft ? x0 + kBalloonStem : x0 - kBalloonStem, y0};
    outline.window = {w, h + kBalloonStem};
    return outline;
}

namespace {
// A box without a stem: the window is exactly the body.
BalloonOutline BoxOutline(BalloonShape shape, int w, int h) {
    BalloonOutline outline;
    outline.shape = shape;
    outline.body = {0, 0, w, h};
    outline.window = {w, h};
    return outline;
}
}  // namespace

BalloonOutline BuildRoundOutline(int w, int h) {
    BalloonOutline outline = BoxOutline(BALLOON_SHAPE_ROUNDRECT, w, h);
    outline.corner = {kBalloonCornerWidth, kBalloonCornerHeight};
    return outline;
}

BalloonOutline BuildRectOutline(int w, int h) { return BoxOutline(BALLOON_SHAPE_RECT, w, h); }

BalloonOutline BuildOutline(BalloonShape shape, int w, int h, bool bStemLeft, bool bAbove) {
    switch (shape) {
    case BALLOON_SHAPE_BALLOON: return BuildBalloonOutline(w, h, bStemLeft, bAbove);
    case BALLOON_SHAPE_ROUNDRECT: return BuildRoundOutline(w, h);
    case BALLOON_SHAPE_RECT: return BuildRectOutline(w, h);
    case BALLOON_SHAPE_NONE: break;
    }
    return BalloonOutline{};
}

BalloonPoint PlaceBalloonWindow(BalloonShape shape, BalloonPoint anchor, BalloonSize window, bool bStemLeft,
                                bool bAbove) {
    BalloonPoint corner;
    corner.x = bStemLeft ? anchor.x - kBalloonMarginX : anchor.x - window.cx + kBalloonMarginX;
    if (shape == BALLOON_SHAPE_BALLOON)
        corner.y = bAbove ? anchor.y - window.cy + kBalloonMarginY : anchor.y - kBalloonMarginY;
    else
        corner.y = bAbove ? anchor.y - window.cy : anchor.y + kBalloonMarginY;
    return corner;
}
