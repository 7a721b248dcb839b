#include "help/BalloonLayout.h"

#include <algorithm>

namespace {

constexpr unsigned kFormatTop = 0;
constexpr unsigned kFormatVCenter = 4;  // DT_VCENTER: kept for descriptions, a no-op on multi-line text

}  // namespace

HelpFont FontOfTag(HelpTag tag) {
    switch (tag) {
    case HELP_TAG_HEADER: return HELP_FONT_BOLD;
    case HELP_TAG_DESCRIPTION: return HELP_FONT_NORMAL;
    case HELP_TAG_TITLE:
    case HELP_TAG_LINE: break;
    }
    return HELP_FONT_UNDERLINE;
}

int ColourOfTag(HelpTag tag) {
    switch (tag) {
    case HELP_TAG_HEADER: return 0;
    case HELP_TAG_DESCRIPTION: return 1;
    case HELP_TAG_TITLE:
    case HELP_TAG_LINE: break;
    }
    return 2;
}

BalloonLayout CalcBalloonLayout(const HelpContent& content, HelpTextMeasurer& measurer,
                                const BalloonMetrics& metrics, BalloonPoint anchor) {
    // The header and the title each add the line spacing below them; "<S>"
    // lines add it before their height, descriptions add none.
    BalloonSize header, title;
    int width = 0;
    int extra = 0;
    for (const HelpSection& section : content.sections) {
        BalloonSize size = measurer.Measure(section.text, FontOfTag(section.tag));
        switch (section.tag) {
        case HELP_TAG_HEADER:
            header = {size.cx, size.cy + metrics.nLineSpacing};
            break;
        case HELP_TAG_TITLE:
            title = {size.cx, size.cy + metrics.nLineSpacing};
            break;
        case HELP_TAG_LINE:
            width = std::max(width, size.cx);
            extra += metrics.nLineSpacing + size.cy;
            break;
        case HELP_TAG_DESCRIPTION:
            width = std::max(width, size.cx);
            extra += size.cy;
            break;
        }
    }
    // Texts with "<S>" lines keep a blank band of one font height per line
    // and one more below what is drawn.
    const int lines = content.nLineTags;
    if (lines > 0) extra += metrics.nFontHeight * (lines + 1);

    const BalloonMeasures& m = metrics.measures;
    BalloonLayout layout;
    layout.content = {std::max({header.cx, title.cx, width}), extra + title.cy + header.cy};
    layout.body = {-m.nMarginX, -m.nMarginY, layout.content.cx + m.nMarginX,
                   layout.content.cy + m.nMarginY};
    // The icon sits left of the text inside the margins: the text moves right
    // by its width and 2 pixels, and the body is never shorter than the icon
    // with a margin above and below it.
    if (metrics.bHasIcon) layout.body.right += metrics.sizeIcon.cx + 2;
    if (layout.body.Height() < metrics.sizeIcon.cy + 2 * m.nMarginY)
        layout.body.bottom = layout.body.top + metrics.sizeIcon.cy + 2 * m.nMarginY;

    layout.bStemLeft = layout.body.Width() + m.nMarginX >= anchor.x;
    layout.bAbove = layout.body.Height() + m.nMarginY < anchor.y;
    return layout;
}

BalloonPaintPlan PlanBalloonPaint(const HelpContent& content, HelpTextMeasurer& measurer,
                                  const BalloonMetrics& metrics, BalloonShape shape, bool bAbove, BalloonRect client) {
    const BalloonMeasures& m = metrics.measures;
    BalloonPaintPlan plan;
    BalloonRect rc = client;
    const bool bStemOnTop = shape == BALLOON_SHAPE_BALLOON && !bAbove;
    if (bStemOnTop) {
        // The body starts below the stem.
        rc.bottom = rc.bottom - rc.top + m.nStem;
        rc.top = m.nStem;
    }
    rc.left += m.nMarginX;
    rc.top += m.nMarginY;
    if (metrics.bHasIcon) rc.left += metrics.sizeIcon.cx + 2;
    plan.ptIcon = {m.nIconX, bStemOnTop ? m.nStem + m.nMarginY : m.nMarginY};

    for (const HelpSection& section : content.sections) {
        const int height = measurer.Measure(section.text, FontOfTag(section.tag)).cy;
        const bool bDescription = section.tag == HELP_TAG_DESCRIPTION;
        plan.items.push_back({section.tag, section.text, FontOfTag(section.tag), ColourOfTag(section.tag),
                              bDescription ? kFormatVCenter : kFormatTop, rc});
        rc.top += height + (section.tag == HELP_TAG_LINE ? 0 : metrics.nLineSpacing);
    }
    return plan;
}
