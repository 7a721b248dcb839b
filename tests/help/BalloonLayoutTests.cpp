#include "help/BalloonLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

// Each character is 8 pixels wide in bold, 7 underlined, 6 in the normal
// font; each line is `lineHeight` high.
class FakeMeasurer : public HelpTextMeasurer {
public:
    explicit FakeMeasurer(int lineHeight = 14) : m_lineHeight(lineHeight) {}
    BalloonSize Measure(const CString& text, HelpFont font) override {
        const int charWidth = font == HELP_FONT_BOLD ? 8 : font == HELP_FONT_UNDERLINE ? 7 : 6;
        int lines = 1, longest = 0, current = 0;
        for (char16_t c : text.View())
            c == u'\n' ? (++lines, current = 0) : (longest = std::max(longest, ++current));
        return {longest * charWidth, lines * m_lineHeight};
    }
    int m_lineHeight;
};

BalloonLayout Layout(const char16_t* text, BalloonMetrics metrics = {}) {
    FakeMeasurer measurer;
    return CalcBalloonLayout(ReadHelpContent(text), measurer, metrics, {1000, 1000});
}

// Rectangles and points as "left,top,right,bottom" and "x,y", for one-line checks.
std::string Str(const BalloonRect& rc) {
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}
std::string Str(const BalloonPoint& pt) { return std::to_string(pt.x) + "," + std::to_string(pt.y); }
std::string Str(const BalloonSize& size) { return std::to_string(size.cx) + "x" + std::to_string(size.cy); }

const char16_t* const kSave = u"<H>Save<D>Saves the changes and closes the window.";

TEST(BalloonLayout, ContentSizeAddsSpacingBelowHeaderTitleAndLinesButNotDescriptions) {
    // Header 4 x 8 wide, 14 + 3 high; description 40 x 6 wide, 14 high.
    BalloonLayout save = Layout(kSave);
    EXPECT_EQ(Str(save.content), "240x31");
    EXPECT_EQ(Str(save.body), "-12,-10,252,41");
    // The title adds its own spacing; a wide header sets the width.
    EXPECT_EQ(Str(Layout(u"<H>A much longer header text<T>Title<D>Short").content), "200x48");
    // Two descriptions stack with no spacing; a line break makes one taller.
    EXPECT_EQ(Layout(u"<D>one<D>two\nlines").content.cy, 14 + 28);

    // Each "<S>" line adds the spacing, and the text's "<S>" count adds one
    // font height per line plus one, empty and unread "<S>" sections included
    // (the "<D>" read moves the shared cursor past the second line).
    EXPECT_EQ(Layout(u"<S>a<S>b<D>c").content.cy, (3 + 14) + 14 + 14 * 3);
    EXPECT_EQ(Layout(u"<S>a<D>c<S>b<D>d").content.cy, 2 * (3 + 14) + 2 * 14 + 14 * 3);
    EXPECT_EQ(Layout(u"<S><D>c").content.cy, 14 + 14 * 2);
    BalloonMetrics big;
    big.nFontHeight = 20;
    big.nLineSpacing = 6;
    EXPECT_EQ(Layout(u"<H>h<S>a<D>c", big).content.cy, (14 + 6) + (6 + 14) + 14 + 20 * 2);
}

TEST(BalloonLayout, EmptyTextGivesTheBareBodyAndTheIconGetsRealRoom) {
    EXPECT_EQ(Str(Layout(u"no tags at all").body), "-12,-10,12,10");
    BalloonMetrics icon;
    icon.bHasIcon = true;  // an icon of unknown size still adds 2 pixels
    EXPECT_EQ(Str(Layout(u"", icon).body), "-12,-10,14,10");
    // The icon's width and 2 pixels go to the right; a short body grows to the
    // icon's height with both margins, a tall one keeps its height.
    icon.sizeIcon = {32, 32};
    EXPECT_EQ(Str(Layout(u"", icon).body), "-12,-10,46,42");
    EXPECT_EQ(Str(Layout(kSave, icon).body), "-12,-10,286,42");
    EXPECT_EQ(Str(Layout(u"<H>Save<D>Two\nlines", icon).body), "-12,-10,78,55");
}

TEST(BalloonLayout, SideDependsOnlyOnTheLeftAndTopScreenEdges) {
    // Body 150 x 40: 21 normal characters of a 20-pixel line.
    FakeMeasurer measurer(20);
    auto sides = [&](int x, int y) {
        BalloonLayout layout = CalcBalloonLayout(ReadHelpContent(u"<D>123456789012345678901"), measurer, {}, {x, y});
        EXPECT_EQ(Str(BalloonSize{layout.body.Width(), layout.body.Height()}), "150x40");
        return std::make_pair(layout.bStemLeft, layout.bAbove);
    };
    EXPECT_EQ(sides(100, 30), std::make_pair(true, false));   // opens right and below
    EXPECT_EQ(sides(400, 300), std::make_pair(false, true));  // opens left and above
    EXPECT_EQ(sides(162, 50), std::make_pair(true, false));   // w + 12 == x: still right; h + 10 == y: below
    EXPECT_EQ(sides(163, 51), std::make_pair(false, true));
}

TEST(BalloonOutline, FirstShapeBitWinsAndOnlyTheBalloonGrowsForItsStem) {
    EXPECT_EQ(ShapeOfStyle(VNTT_BALLOON | VNTT_ROUNDRECT | VNTT_RECT), BALLOON_SHAPE_BALLOON);
    EXPECT_EQ(ShapeOfStyle(VNTT_ROUNDRECT | VNTT_RECT), BALLOON_SHAPE_ROUNDRECT);
    EXPECT_EQ(ShapeOfStyle(VNTT_RECT | 8), BALLOON_SHAPE_RECT);
    EXPECT_EQ(ShapeOfStyle(8), BALLOON_SHAPE_NONE);
    const BalloonPoint anchor{500, 400};
    for (BalloonShape shape : {BALLOON_SHAPE_ROUNDRECT, BALLOON_SHAPE_RECT}) {
        BalloonOutline box = BuildOutline(shape, 180, 60, true, true);
        EXPECT_EQ(Str(box.window), "180x60");
        EXPECT_FALSE(box.bHasStem);
        EXPECT_EQ(box.corner.cx == 0, shape == BALLOON_SHAPE_RECT);
        // A box lies just above the anchor, or 10 pixels below it.
        EXPECT_EQ(PlaceBalloonWindow(shape, anchor, box.window, true, true).y, 340);
        EXPECT_EQ(Str(PlaceBalloonWindow(shape, anchor, box.window, false, false)), "332,410");
    }
    // Below the anchor the stem is on top and the body starts 25 pixels down;
    // above it the body starts at the top and the stem hangs below, its base
    // running inward.
    BalloonOutline below = BuildOutline(BALLOON_SHAPE_BALLOON, 180, 60, true, false);
    EXPECT_EQ(Str(below.window), "180x85");
    EXPECT_EQ(Str(below.body), "0,25,180,85");
    EXPECT_EQ(Str(below.stem[1]), "12,10");
    BalloonOutline above = BuildOutline(BALLOON_SHAPE_BALLOON, 180, 60, false, true);
    EXPECT_EQ(Str(above.body), "0,0,180,60");
    EXPECT_EQ(Str(above.stem[1]), "168,75");
    EXPECT_EQ(above.stem[2].x, 143);
}

TEST(BalloonDpi, EveryMeasureScalesByDpiOver96AndTheStemTipLandsOnTheAnchor) {
    // Rounded to the nearest pixel, halves away from zero; 96 DPI (and an
    // unknown DPI) keep the designed pixels.
    EXPECT_EQ(DpiScale(120)(7), 9);
    EXPECT_EQ(DpiScale(144)(25), 38);
    EXPECT_EQ(DpiScale(144)(-25), -38);
    EXPECT_EQ(DpiScale(0)(84), 84);

    const BalloonPoint anchor{500, 400};
    for (int dpi : {96, 120, 144, 192}) {
        const DpiScale px(dpi);
        BalloonMetrics metrics;
        metrics.measures = BalloonMeasures::ForDpi(px);
        const BalloonMeasures& m = metrics.measures;
        EXPECT_EQ(std::make_tuple(m.nMarginX, m.nMarginY, m.nStem, m.nCornerWidth, m.nCornerHeight, m.nIconX),
                  std::make_tuple(px(12), px(10), px(25), px(12), px(10), px(10)));
        EXPECT_EQ(Str(Layout(u"no tags", metrics).body), Str(BalloonRect{-px(12), -px(10), px(12), px(10)})) << dpi;
        for (bool bStemLeft : {true, false}) {
            for (bool bAbove : {true, false}) {
                BalloonOutline outline = BuildBalloonOutline(180, 60, bStemLeft, bAbove, m);
                EXPECT_EQ(outline.window.cy, 60 + px(25));
                EXPECT_EQ(outline.body.top, bAbove ? 0 : px(25));
                BalloonPoint corner =
                    PlaceBalloonWindow(BALLOON_SHAPE_BALLOON, anchor, outline.window, bStemLeft, bAbove, m);
                EXPECT_EQ(Str(BalloonPoint{corner.x + outline.stem[1].x, corner.y + outline.stem[1].y}), "500,400")
                    << dpi;
                // Below: top edge 10 above the anchor; above: bottom edge 10 below.
                EXPECT_EQ(bAbove ? corner.y + outline.window.cy : corner.y, bAbove ? 400 + px(10) : 400 - px(10));
            }
        }
        // Text starts at the scaled margins below the scaled stem.
        FakeMeasurer measurer;
        BalloonPaintPlan plan =
            PlanBalloonPaint(ReadHelpContent(kSave), measurer, metrics, BALLOON_SHAPE_BALLOON, false, {0, 0, 300, 120});
        EXPECT_EQ(Str(BalloonPoint{plan.items[0].rc.left, plan.items[0].rc.top}),
                  Str(BalloonPoint{px(12), px(25) + px(10)}));
        EXPECT_EQ(Str(plan.ptIcon), Str(BalloonPoint{px(10), px(25) + px(10)}));
    }
}

TEST(BalloonPaint, SectionsStackFromTheMarginInReadingOrder) {
    FakeMeasurer measurer;
    BalloonMetrics metrics;
    const CString text(u"<H>Save<S>line<D>first<D>second\nhalf");
    BalloonPaintPlan below = PlanBalloonPaint(ReadHelpContent(text), measurer, metrics, BALLOON_SHAPE_BALLOON, false, {0, 0, 200, 120});
    ASSERT_EQ(below.items.size(), 4u);
    // Header: bold, colour 0, at the margin below the stem; then spacing.
    EXPECT_EQ(below.items[0].font, HELP_FONT_BOLD);
    EXPECT_EQ(below.items[0].nColour, 0);
    EXPECT_EQ(Str(below.items[0].rc), "12,35,200,145");
    EXPECT_EQ(below.ptIcon.y, 35);
    // "<S>": colour 2, no spacing after it.
    EXPECT_EQ(below.items[1].nColour, 2);
    EXPECT_EQ(below.items[1].rc.top, 35 + 17);
    // Descriptions: normal, colour 1, DT_VCENTER, each followed by spacing.
    EXPECT_EQ(below.items[2].font, HELP_FONT_NORMAL);
    EXPECT_EQ(below.items[2].nColour, 1);
    EXPECT_EQ(below.items[2].nFormat, 4u);
    EXPECT_EQ(below.items[2].rc.top, 35 + 17 + 14);
    EXPECT_EQ(below.items[3].text, u"second\nhalf");
    EXPECT_EQ(below.items[3].rc.top, 35 + 17 + 14 + 17);
    // Above the anchor the body starts at the window's top; the icon pushes
    // the text right past its width.
    metrics.bHasIcon = true;
    metrics.sizeIcon = {32, 32};
    BalloonPaintPlan above = PlanBalloonPaint(ReadHelpContent(text), measurer, metrics, BALLOON_SHAPE_BALLOON, true, {0, 0, 200, 120});
    EXPECT_EQ(Str(above.items[0].rc), "46,10,200,120");
    EXPECT_EQ(Str(above.ptIcon), "10,10");
}

}  // namespace
