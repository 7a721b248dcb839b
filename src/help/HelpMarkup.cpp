#include "help/HelpMarkup.h"

const CString& HelpTagText(HelpTag tag) {
    static const CString tags[4] = {CString(u"<H>"), CString(u"<T>"), CString(u"<D>"), CString(u"<S>")};
    return tags[tag];
}

int FindSectionEnd(const CString& text, int start) {
    int open = text.Find(u'<', start);
    if (open < 0) return -1;
    // A '>' anywhere at or after the '<' makes it a section end.
    size_t lastClose = text.View().rfind(u'>');
    if (lastClose == std::u16string_view::npos || lastClose < size_t(open)) return -1;
    return open;
}

CString GetSection(const CString& text, const CString& tag, int& cursor) {
    const int length = text.GetLength();
    if (length == 0) return CString();
    int found = cursor >= length ? -1 : text.Find(tag, cursor);
    if (found < 0) return CString();

    const int start = found + tag.GetLength();
    const int end = FindSectionEnd(text, start);
    if (end == start) {
        // Another tag follows at once: step over the tag's length only, from
        // where the cursor was (which may still lie before the tag).
        cursor += tag.GetLength();
        return CString();
    }
    if (end > start && end < length) {
        cursor = end;
        return text.Mid(start, end - start);
    }
    cursor = length;
    return text.Mid(start);
}

int CountTag(const CString& text, const CString& tag) {
    const int length = text.GetLength();
    if (length == 0) return 0;
    int count = 0;
    int start = 0;
    while (start < length) {
        int found = text.Find(tag, start);
        if (found < 0) break;
        ++count;
        start = found + 1;
    }
    return count;
}

CString GetDescription(const CString& text) {
    int cursor = 0;
    return GetSection(text, HelpTagText(HELP_TAG_DESCRIPTION), cursor);
}

std::vector<HelpSection> ReadSections(const CString& text) {
    std::vector<HelpSection> sections;
    auto keep = [&sections](HelpTag tag, const CString& content) {
        if (!content.IsEmpty()) sections.push_back({tag, content});
    };

    int cursor = 0;
    keep(HELP_TAG_HEADER, GetSection(text, HelpTagText(HELP_TAG_HEADER), cursor));
    keep(HELP_TAG_TITLE, GetSection(text, HelpTagText(HELP_TAG_TITLE), cursor));

    cursor = 0;
    CString line = GetSection(text, HelpTagText(HELP_TAG_LINE), cursor);
    CString description = GetSection(text, HelpTagText(HELP_TAG_DESCRIPTION), cursor);
    // Every non-empty read moves the shared cursor strictly forward, so the
    // loop ends after at most one round per character.
    while (!line.IsEmpty() || !description.IsEmpty()) {
        if (!line.IsEmpty()) {
            sections.push_back({HELP_TAG_LINE, line});
            line = GetSection(text, HelpTagText(HELP_TAG_LINE), cursor);
        }
        if (!description.IsEmpty()) {
            sections.push_back({HELP_TAG_DESCRIPTION, description});
            description = GetSection(text, HelpTagText(HELP_TAG_DESCRIPTION), cursor);
        }
    }
    return sections;
}

HelpContent ReadHelpContent(const CString& text) {
    return {ReadSections(text), CountTag(text, HelpTagText(HELP_TAG_LINE))};
}

CString PlainText(const HelpContent& content) {
    CString text;
    for (const HelpSection& section : content.sections)
        text += (text.IsEmpty() ? u"" : u"\r\n") + section.text;
    return text;
}
