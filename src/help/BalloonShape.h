// The balloon's outline and where its window goes: plain geometry in window
// and screen pixels, turned into regions and window positions by the help
// control. Portable.
#pragma once

#include "framework/DpiScale.h"

#include <cstdint>

// Shape bits of the help control's style word, tested in this order: the
// first set bit wins.
#define VNTT_BALLOON 1    // rounded body with a pointed stem
#define VNTT_ROUNDRECT 2  // rounded box
#define VNTT_RECT 4       // plain box with an etched edge

struct BalloonPoint {
    int x = 0;
    int y = 0;
};

struct BalloonSize {
    int cx = 0;
    int cy = 0;
};

struct BalloonRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

enum BalloonShape { BALLOON_SHAPE_NONE, BALLOON_SHAPE_BALLOON, BALLOON_SHAPE_ROUNDRECT, BALLOON_SHAPE_RECT };

// The shape a style word asks for; NONE when it has none of the three bits.
BalloonShape ShapeOfStyle(uint32_t nStyle);

// The balloon's fixed measures in pixels: as designed for 96 DPI by default,
// scaled to another screen's DPI by ForDpi.
struct BalloonMeasures {
    int nMarginX = 12;      // body edge to text, horizontally
    int nMarginY = 10;      // body edge to text, vertically
    int nStem = 25;         // stem height and base width
    int nCornerWidth = 12;  // ellipse of the rounded corners
    int nCornerHeight = 10;
    int nIconX = 10;  // the icon's left edge, just inside the text margin

    static BalloonMeasures ForDpi(const DpiScale& px);
};

// The window's outline: the body (rounded when the corner is non-zero), plus
// the stem triangle for a balloon, inside a window of `window` size.
struct BalloonOutline {
    BalloonShape shape = BALLOON_SHAPE_NONE;
    BalloonRect body;
    BalloonSize corner;
    bool bHasStem = false;
    BalloonPoint stem[3];  // base corner on the outer side, tip, inner base corner
    BalloonSize window;
};

// A w x h body with a stem: the window is the stem's height (25 pixels at
// 96 DPI) higher than the body, the
// stem sits at the left or right end (bStemLeft) of the bottom or top edge
// (bAbove: body above the anchor, stem at the bottom).
BalloonOutline BuildBalloonOutline(int w, int h, bool bStemLeft, bool bAbove, const BalloonMeasures& m = {});
BalloonOutline BuildRoundOutline(int w, int h, const BalloonMeasures& m = {});
BalloonOutline BuildRectOutline(int w, int h);
// The outline of `shape`; an empty outline (shape NONE) for NONE.
BalloonOutline BuildOutline(BalloonShape shape, int w, int h, bool bStemLeft, bool bAbove,
                            const BalloonMeasures& m = {});

// Top-left screen corner of a window of `window` size shown for `anchor`: a
// balloon's stem tip lands exactly on the anchor; a box keeps its near edge
// level with the stem's x and lies just above the anchor or 10 pixels below.
BalloonPoint PlaceBalloonWindow(BalloonShape shape, BalloonPoint anchor, BalloonSize window, bool bStemLeft,
                                bool bAbove, const BalloonMeasures& m = {});
