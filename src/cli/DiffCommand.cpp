// varnel diff OLD NEW: section by section in file order, the pairs added
// (+ KEY = VALUE), removed (- KEY = VALUE) and changed (~ KEY: OLD -> NEW),
// in key order.
#include "cli/Commands.h"
#include "store/KeyOrder.h"

namespace {

// The differences of one table, in key order; false when there are none.
bool DiffTable(const MappingTable& before, const MappingTable& after, CStringArray& lines) {
    auto old = before.begin();
    auto now = after.begin();
    while (old != before.end() || now != after.end()) {
        const int order = old == before.end()  ? 1
                          : now == after.end() ? -1
                                               : KeyOrder::Compare(old->first.View(), now->first.View());
        if (order < 0) {
            lines.Add(u"- " + MappingFile::FormatPairLine(old->first, old->second));
            ++old;
        } else if (order > 0) {
            lines.Add(u"+ " + MappingFile::FormatPairLine(now->first, now->second));
            ++now;
        } else {
            if (old->second != now->second)
                lines.Add(u"~ " + old->first + u": " + old->second + u" -> " + now->second);
            ++old;
            ++now;
        }
    }
    return !lines.IsEmpty();
}

}  // namespace

int RunDiff(Session& session) {
    const std::vector<CString>& files = session.Line().files;
    SevenTables tables[2];
    for (int i = 0; i < 2; ++i) {
        session.Phase(u"reading " + files[size_t(i)]);
        CString error;
        if (!session.ReadMapping(files[size_t(i)], tables[i], nullptr, error)) {
            session.Fail(error);
            return ExitUsage;
        }
    }
    bool differ = false;
    for (int kind = 0; kind < MappingKindCount; ++kind) {
        CStringArray lines;
        if (!DiffTable(tables[0].tables[size_t(kind)], tables[1].tables[size_t(kind)], lines))
            continue;
        differ = true;
        session.Print(u"[" + SectionKey(MappingKind(kind)) + u"]");
        for (const CString& line : lines)
            session.Print(line);
    }
    return differ ? ExitFindings : ExitSuccess;
}
