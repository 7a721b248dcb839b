// The help markup of the balloon help texts. A text is a run of sections,
// each introduced by a tag: "<H>" header, "<T>" underlined title, "<D>"
// description, "<S>" underlined line. A section ends at the next '<' that
// has a '>' somewhere after it (known tag or not) or at the end of the text;
// a '<' with no '>' after it is ordinary content. Tags match case-sensitively
// and text before the first tag belongs to no section. Portable.
#pragma once

#include "framework/CString.h"

#include <vector>

// The four tags, in the order the help control keeps them (index 0 to 3).
enum HelpTag { HELP_TAG_HEADER = 0, HELP_TAG_TITLE = 1, HELP_TAG_DESCRIPTION = 2, HELP_TAG_LINE = 3 };
const CString& HelpTagText(HelpTag tag);

// Index of the '<' that ends a section whose content starts at `start`, or -1
// when the section runs to the end of the text.
int FindSectionEnd(const CString& text, int start);

// Content of the first `tag` section at or after `cursor`, or "". Moves the
// cursor past what it read: to the section's end, to the end of the text when
// the section is the last, or by the tag's length when the section is empty.
// A tag that is not found leaves the cursor where it was.
CString GetSection(const CString& text, const CString& tag, int& cursor);

// Number of (possibly overlapping) occurrences of `tag` in `text`.
int CountTag(const CString& text, const CString& tag);

// The description shown for a control: the first "<D>" section.
CString GetDescription(const CString& text);

// One section as the balloon measures and draws it.
struct HelpSection {
    HelpTag tag;
    CString text;
};

// The non-empty sections in reading order: the header, then the title
// (searched after the header), then the "<S>" and "<D>" sections from the
// start of the text, interleaved one of each while either kind remains.
std::vector<HelpSection> ReadSections(const CString& text);

// What a balloon shows: sections in reading order, and how many "<S>" tags
// the text they came from holds (each leaves a blank band below the text).
// A help text gives it through its markup; a note the program words itself
// gives its sections as they are, whatever characters they hold.
struct HelpContent {
    std::vector<HelpSection> sections;
    int nLineTags = 0;
};
HelpContent ReadHelpContent(const CString& text);
// The sections' texts one to a line: what the balloon window gives as its
// text, for screen readers.
CString PlainText(const HelpContent& content);
