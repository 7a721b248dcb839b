#include "cli/ReadReport.h"

#include "cli/Session.h"

namespace {

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
    CheckPair(line, kind, key, value);
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

void ReadReport::Report(int line, const MappingRules::Finding& finding, const CString& more) {
    Report(line, finding.reason + more + u" [" + MappingRules::RuleName(finding.rule) + u"]");
}

void ReadReport::CheckPair(int line, MappingKind kind, const CString& key, const CString& value) {
    for (const MappingRules::Finding& finding : MappingRules::CheckPair(kind, key.View(), value.View()))
        Report(line, finding);
    if (!MappingRules::HasNames(kind))
        return;
    auto [it, added] = m_foldedValues[size_t(kind)].try_emplace(Folded(value), FirstKey{value, line});
    if (!added && MappingRules::AreCaseVariants(value.View(), it->second.key.View())) {
        CString where;
        where.Format(u"; see line %d", it->second.line);
        Report(line, MappingRules::CaseVariant(kind, value.View(), it->second.key.View()), where);
    }
}
