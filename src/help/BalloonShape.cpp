#include "help/BalloonShape.h"

BalloonShape ShapeOfStyle(uint32_t nStyle) {
    if (nStyle & VNTT_BALLOON) return BALLOON_SHAPE_BALLOON;
    if (nStyle & VNTT_ROUNDRECT) return BALLOON_SHAPE_ROUNDRECT;
    if (nStyle & VNTT_RECT) return BALLOON_SHAPE_RECT;
    return BALLOON_SHAPE_NONE;
}

BalloonMeasures BalloonMeasures::ForDpi(const DpiScale& px) {
    const BalloonMeasures designed;
    BalloonMeasures m;
    m.nMarginX = px(designed.nMarginX);
    m.nMarginY = px(designed.nMarginY);
    m.nStem = px(designed.nStem);
    m.nCornerWidth = px(designed.nCornerWidth);
    m.nCornerHeight = px(designed.nCornerHeight);
    m.nIconX = px(designed.nIconX);
    return m;
}

BalloonOutline BuildBalloonOutline(int w, int h, bool bStemLeft, bool bAbove, const BalloonMeasures& m) {
    BalloonOutline outline;
    outline.shape = BALLOON_SHAPE_BALLOON;
    outline.body = bAbove ? BalloonRect{0, 0, w, h} : BalloonRect{0, m.nStem, w, m.nStem + h};
    outline.corner = {m.nCornerWidth, m.nCornerHeight};

    // The stem's vertical edge is on the balloon's outer side; its base runs
    // inward along y0, a vertical margin inside the body's near edge.
    const int x0 = bStemLeft ? m.nMarginX : w - m.nMarginX;
    const int y0 = bAbove ? h - m.nMarginY : m.nStem + m.nMarginY;
    outline.bHasStem = true;
    outline.stem[0] = {x0, y0};
    outline.stem[1] = {x0, bAbove ? y0 + m.nStem : y0 - m.nStem};
    outline.stem[2] = {bStemLeft ? x0 + m.nStem : x0 - m.nStem, y0};
    outline.window = {w, h + m.nStem};
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

BalloonOutline BuildRoundOutline(int w, int h, const BalloonMeasures& m) {
    BalloonOutline outline = BoxOutline(BALLOON_SHAPE_ROUNDRECT, w, h);
    outline.corner = {m.nCornerWidth, m.nCornerHeight};
    return outline;
}

BalloonOutline BuildRectOutline(int w, int h) { return BoxOutline(BALLOON_SHAPE_RECT, w, h); }

BalloonOutline BuildOutline(BalloonShape shape, int w, int h, bool bStemLeft, bool bAbove, const BalloonMeasures& m) {
    switch (shape) {
    case BALLOON_SHAPE_BALLOON: return BuildBalloonOutline(w, h, bStemLeft, bAbove, m);
    case BALLOON_SHAPE_ROUNDRECT: return BuildRoundOutline(w, h, m);
    case BALLOON_SHAPE_RECT: return BuildRectOutline(w, h);
    case BALLOON_SHAPE_NONE: break;
    }
    return BalloonOutline{};
}

BalloonPoint PlaceBalloonWindow(BalloonShape shape, BalloonPoint anchor, BalloonSize window, bool bStemLeft,
                                bool bAbove, const BalloonMeasures& m) {
    BalloonPoint corner;
    corner.x = bStemLeft ? anchor.x - m.nMarginX : anchor.x - window.cx + m.nMarginX;
    if (shape == BALLOON_SHAPE_BALLOON)
        corner.y = bAbove ? anchor.y - window.cy + m.nMarginY : anchor.y - m.nMarginY;
    else
        corner.y = bAbove ? anchor.y - window.cy : anchor.y + m.nMarginY;
    return corner;
}
