#include "import/TableFileName.h"

#include "import/RemapKind.h"

CString ExtractFileName(const CString& path) {
    const std::u16string_view text = path.View();
    const char16_t separator = (!text.empty() && text[0] == u'/') ? u'/' : u'\\';
    size_t end = text.size();
    while (end > 1 && text[end - 1] == separator)
        --end;
    const std::u16string_view trimmed = text.substr(0, end);
    const size_t last = trimmed.rfind(separator);
    if (last == std::u16string_view::npos || last == 0)
        return CString(trimmed);
    return CString(trimmed.substr(last + 1));
}

CString NameAfterLastSeparator(const CString& path) {
    const std::u16string_view text = path.View();
    const size_t last = text.find_last_of(u"/\\");
    return CString(last == std::u16string_view::npos ? text : text.substr(last + 1));
}

int RemapKindFromName(CString name) {
    name.Trim();
    if (name.Find(CString(u"dwg")) != 0)
        return RemapUnrecognised;
    static const struct {
        const char16_t* text;
        int kind;
    } recognition[] = {
        {u"level", RemapLevels},     {u"color", RemapColors},        {u"weight", RemapWeights},
        {u"line", RemapLineStyles},  {u"cellname", RemapCellNames},
    };
    for (const auto& entry : recognition)
        if (name.Find(CString(entry.text)) >= 0)
            return entry.kind;
    return RemapUnrecognised;
}

int RemapKindFromFileName(const CString& path) { return RemapKindFromName(ExtractFileName(path)); }
