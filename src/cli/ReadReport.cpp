#include "cli/ReadReport.h"

#include "cli/Session.h"
#include "pages/FixedValueLists.h"

#include <algorithm>

namespace {

// Characters AutoCAD refuses in a layer name, and its longest name.
constexpr std::u16string_view kLayerRefuses = u"<>/\\\":;?*|,=`";
constexpr int kLongestLayerName = 255;

bool InList(const std::vector<CString>& list, const CString& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

CString Folded(const CString& key) {
    std::u16string folded(key.View());
    for (char16_t& ch : folded)
        ch = FoldAscii(ch);
    return CString(std::move(folded));
}

}  // namespace

ReadReport::ReadReport(const CString& path, Scope scope, Emit emit)
    : m_path(path), m_scope(scope), m_emit(std::move(emit)) {}

void ReadReport::Report(int line, const CString& message) {
    m_emit(line, AtLine(m_path, line, message));
}

void ReadReport::LineSkipped(int line, Skip reason) {
    switch (reason) {
    case Skip::ByteOrderMark:
        Report(line, u"a UTF-8 byte-order mark hides this section header; the lines up to the next header are skipped");
        break;
    case Skip::BeforeFirstHeader: Report(line, u"line before the first section header is skipped"); break;
    case Skip::UnknownSection: Report(line, u"line in an unknown section is skipped"); break;
    case Skip::NoEquals: Report(line, u"line without \"=\" is skipped"); break;
    case Skip::EqualsFirst: Report(line, u"line beginning with \"=\" is skipped"); break;
    }
}

void ReadReport::PairRead(int line, MappingKind kind, const CString& key, const CString& value, bool repeated) {
    if (repeated)
        Report(line, u"key " + Quoted(key) + u" is repeated in [" + SectionKey(kind) +
                         u"]; this later value replaces the earlier one");
    if (m_scope != Scope::Everything)
        return;
    CheckCase(line, kind, key);
    CheckValue(line, kind, value);
}

void ReadReport::CheckCase(int line, MappingKind kind, const CString& key) {
    auto [it, added] = m_folded[size_t(kind)].try_emplace(Folded(key), FirstKey{key, line});
    if (added || it->second.key == key)
        return;
    CString message;
    message.Format(u"key %s differs from %s (line %d) only in letter case; the dialog shows them as one row",
                   Quoted(key), Quoted(it->second.key), it->second.line);
    Report(line, message);
}

void ReadReport::CheckValue(int line, MappingKind kind, const CString& value) {
    switch (kind) {
    case KindLevels: {
        if (value.GetLength() > kLongestLayerName) {
            CString message;
            message.Format(u"layer name is %d characters long; AutoCAD takes at most %d", value.GetLength(),
                           kLongestLayerName);
            Report(line, message);
        }
        auto bad = std::find_first_of(value.View().begin(), value.View().end(), kLayerRefuses.begin(),
                                      kLayerRefuses.end());
        if (bad != value.View().end())
            Report(line, u"layer name " + Quoted(value) + u" holds " + Quoted(CString(*bad)) +
                             u", which AutoCAD refuses in layer names");
        break;
    }
    case KindColors:
        if (!InList(FixedValueLists::AutoCadColors(), value))
            Report(line, u"color " + Quoted(value) + u" is not one of the Colors page's AutoCAD colors");
        break;
    case KindWeights:
        if (!InList(FixedValueLists::AutoCadWeights(), value))
            Report(line, u"line weight " + Quoted(value) + u" is not one of the Line Weights page's AutoCAD weights");
        break;
    default:
        break;
    }
}
