// varnel check FILE...: every line the reader skips or changes, and every
// value AutoCAD would refuse, as FILE:LINE: message on standard output.
#include "cli/Commands.h"
#include "cli/ReadReport.h"

int RunCheck(Session& session) {
    int status = ExitSuccess;
    for (const CString& path : session.Line().files) {
        session.Phase(u"checking " + path);
        SevenTables tables;
        ReadReport report(path, ReadReport::Scope::Everything, [&session](const CString& text) { session.Print(text); });
        CString error;
        if (!session.ReadMapping(path, tables, &report, error)) {
            session.Fail(error);
            status = ExitUsage;
        } else if (report.Count() > 0 && status == ExitSuccess) {
            status = ExitFindings;
        }
    }
    return status;
}
