// The balloon's layout arithmetic: the size of a help text's sections in the
// three fonts, the body around them with room for the icon, the side of the
// anchor the balloon opens to, and where each section is drawn. Text is
// measured through HelpTextMeasurer, so the arithmetic runs without a
// device context. Portable.
#pragma once

#include "help/BalloonShape.h"
#include "help/HelpMarkup.h"

#include <vector>

enum HelpFont { HELP_FONT_BOLD, HELP_FONT_UNDERLINE, HELP_FONT_NORMAL };

// Header: bold, colour 0; "<T>" and "<S>": underlined, colour 2; "<D>":
// normal, colour 1 (indices into the help control's six colours).
HelpFont FontOfTag(HelpTag tag);
int ColourOfTag(HelpTag tag);

class HelpTextMeasurer {
public:
    virtual ~HelpTextMeasurer() = default;
    // Width and height of `text` in `font`, lines broken only at its line
    // breaks.
    virtual BalloonSize Measure(const CString& text, HelpFont font) = 0;
};

struct BalloonMetrics {
    int nFontHeight = 14;
    int nLineSpacing = 3;
    bool bHasIcon = false;
    BalloonSize sizeIcon;  // the icon's room; (0, 0) reserves none
    BalloonMeasures measures;  // margins, stem and icon place at the screen's DPI
};

struct BalloonLayout {
    BalloonSize content;  // the sections' box
    BalloonRect body;     // content with its margins and the icon's room
    bool bStemLeft = false;
    bool bAbove = false;
};

// Measures the content and decides the sides for `anchor` (screen coordinates).
// The body grows from the content by the margins (at 96 DPI 12 pixels left
// and right and 10 above and below); an icon adds its width and 2 pixels on
// the right and makes the body at least its height plus both vertical
// margins. The balloon opens to the right of the anchor when
// w + margin x >= anchor.x and above it when h + margin y < anchor.y: only
// the left and top screen edges are considered.
BalloonLayout CalcBalloonLayout(const HelpContent& content, HelpTextMeasurer& measurer,
                                const BalloonMetrics& metrics, BalloonPoint anchor);

// One section as painted: its text in `font` and colour `nColour`, with
// DrawText format `nFormat`, into `rc` (window coordinates).
struct BalloonTextItem {
    HelpTag tag;
    CString text;
    HelpFont font;
    int nColour;
    unsigned nFormat;
    BalloonRect rc;
};

struct BalloonPaintPlan {
    BalloonPoint ptIcon;  // top-left of the icon, when there is one
    std::vector<BalloonTextItem> items;
};

// Where the content's sections go in a window whose client area is `client`:
// top to bottom from the body's top-left margin (right of the icon), the
// header and title followed by the line spacing, "<S>" lines by none and
// descriptions by the spacing.
BalloonPaintPlan PlanBalloonPaint(const HelpContent& content, HelpTextMeasurer& measurer,
                                  const BalloonMetrics& metrics, BalloonShape shape, bool bAbove, BalloonRect client);
