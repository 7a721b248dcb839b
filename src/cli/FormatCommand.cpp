// varnel format [--check] FILE...: each file rewritten in the form Save
// writes, through the dialog's own save. A file already in that form is
// left alone. What the reader skips cannot be kept, and is named on
// standard error before the file is rewritten.
#include "cli/Commands.h"
#include "cli/ReadReport.h"
#include "store/platform/FileSystem.h"

namespace {

// The bytes Save would write for the tables.
bool SavedForm(SevenTables& tables, std::string& bytes, CString& error) {
    CVNTextFile file(u"mapping", u"\n");
    if (MappingFile::Encode(&file, tables.View(), bytes))
        return true;
    error = file.m_strError;
    return false;
}

}  // namespace

int RunFormat(Session& session) {
    const bool checkOnly = session.Line().checkOnly;
    int status = ExitSuccess;
    auto worsen = [&status](int to) { status = to > status ? to : status; };
    for (const CString& path : session.Line().files) {
        session.Phase(u"formatting " + path);
        SevenTables tables;
        ReadReport report(path, ReadReport::Scope::Losses, [&session](int, const CString& text) { session.Warn(text); });
        CString error;
        std::string bytes, formatted;
        if (!session.ReadMapping(path, tables, checkOnly ? nullptr : &report, error) ||
            !FileSystem::ReadAll(path, FileSystem::Share::Exclusive, bytes, error)) {
            session.Fail(error);
            worsen(ExitUsage);
            continue;
        }
        if (!SavedForm(tables, formatted, error)) {
            session.Fail(path + u": " + error);
            worsen(ExitFindings);
            continue;
        }
        if (formatted == bytes)
            continue;
        if (checkOnly) {
            session.Print(path + u": not in the form Save writes");
            worsen(ExitFindings);
        } else if (!session.SaveMapping(path, tables, error)) {
            session.Fail(error);
            worsen(ExitFindings);
        } else {
            session.Print(path + u": rewritten");
        }
    }
    return status;
}
