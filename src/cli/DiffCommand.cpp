// varnel diff OLD NEW: section by section in file order, the pairs added
// (+ KEY = VALUE), removed (- KEY = VALUE) and changed (~ KEY: OLD -> NEW),
// in key order.
#include "cli/Commands.h"
#include "cli/TableChanges.h"

namespace {

// The lines of one table's changes; false when there are none.
bool DiffTable(const MappingTable& before, const MappingTable& after, CStringArray& lines) {
    ForEachChange(before, after, [&lines](Change change, CString key, CString old, CString now) {
        switch (change) {
        case Change::Removed: lines.Add(u"- " + MappingFile::FormatPairLine(key, old)); break;
        case Change::Added: lines.Add(u"+ " + MappingFile::FormatPairLine(key, now)); break;
        case Change::Changed: lines.Add(u"~ " + key + u": " + old + u" -> " + now); break;
        }
    });
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
