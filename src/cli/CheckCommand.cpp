// varnel check FILE...: every line the reader skips or changes, and every
// rule of what AutoCAD and MicroStation take that a pair breaks, as
// FILE:LINE: message on standard output; varnel check --rules lists those
// rules.
#include "cli/Commands.h"
#include "cli/ReadReport.h"
#include "pages/MappingRules.h"
#include "store/platform/FileSystem.h"
#include "store/platform/TextCodec.h"
#include "store/platform/TextLines.h"

#include <algorithm>
#include <vector>

namespace {

using Reports = std::vector<std::pair<int, CString>>;

// Lines whose bytes do not come back from a read and a write in the code
// page: bytes it does not define, read as some other character.
void FindUndefinedBytes(const CString& path, Reports& reports) {
    std::string bytes;
    CString error;
    if (!FileSystem::ReadAll(path, FileSystem::Share::Exclusive, bytes, error))
        return;
    const TextCodec& codec = TextCodec::Active();
    int lineNumber = 0;
    std::u16string text;
    std::string back;
    TextLines::ForEachLine(std::string_view(bytes), [&](std::string_view line) {
        ++lineNumber;
        text.clear();
        back.clear();
        codec.Decode(line, text);
        size_t bad = 0;
        if (codec.Encode(text, back, bad) && back == line)
            return;
        CString message;
        message.Format(u"holds bytes that code page %d does not define; the dialog reads them as other characters",
                       int(codec.CodePage()));
        reports.emplace_back(lineNumber, AtLine(path, lineNumber, message));
    });
}

// Each rule's name, then what it asks.
int ListRules(Session& session) {
    for (const MappingRules::RuleText& rule : MappingRules::ListRules()) {
        CString name = MappingRules::RuleName(rule.rule);
        session.Print(name + CString(u' ', 21 - name.GetLength()) + rule.text);
    }
    return ExitSuccess;
}

}  // namespace

int RunCheck(Session& session) {
    if (session.Line().listRules)
        return ListRules(session);
    int status = ExitSuccess;
    for (const CString& path : session.Line().files) {
        session.Phase(u"checking " + path);
        SevenTables tables;
        Reports reports;
        ReadReport report(path, ReadReport::Scope::Everything,
                          [&reports](int line, const CString& text) { reports.emplace_back(line, text); });
        CString error;
        if (!session.ReadMapping(path, tables, &report, error)) {
            session.Fail(error);
            status = ExitUsage;
            continue;
        }
        FindUndefinedBytes(path, reports);
        std::stable_sort(reports.begin(), reports.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [line, text] : reports)
            session.Print(text);
        if (!reports.empty() && status == ExitSuccess)
            status = ExitFindings;
    }
    return status;
}
