// Feeds arbitrary UTF-16 text to the help markup: reading must end, never
// read outside the text, and yield non-empty sections that fit in it.
#include "help/HelpMarkup.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string units(size / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) units[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
    const CString text(units);

    std::vector<HelpSection> sections = ReadSections(text);
    size_t total = 0;
    for (const HelpSection& section : sections) {
        if (section.text.IsEmpty()) abort();
        total += size_t(section.text.GetLength());
    }
    // Sections never overlap, so together they are no longer than the text.
    if (total > units.size()) abort();

    // The description is a substring of the text.
    if (GetDescription(text).GetLength() > text.GetLength()) abort();
    for (HelpTag tag : {HELP_TAG_HEADER, HELP_TAG_TITLE, HELP_TAG_DESCRIPTION, HELP_TAG_LINE}) {
        if (CountTag(text, HelpTagText(tag)) < 0) abort();
    }
    return 0;
}
