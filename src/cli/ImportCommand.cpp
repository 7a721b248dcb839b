// varnel import [-m FILE] TABLE...: the dialog's File > Import for each
// table in turn, then its Save, once. Nothing is saved when any table
// cannot be read or is not recognised.
#include "cli/Commands.h"
#include "cli/ReadReport.h"
#include "cli/TableChanges.h"
#include "import/CSVReader.h"
#include "import/ImportMerge.h"
#include "import/TableFileName.h"
#include "store/FileSystem.h"

namespace {

CString CannotReadText(const CString& path) {
    return FileSystem::Exists(path) ? CString(u"cannot read the file") : CString(u"no such file");
}

// Reads a table into the reader: a version 8 table is known by its content
// whatever its name, a version 7 table by its file name, as the dialog
// knows it. False with the reason in error.
bool ReadTable(const CString& path, CString& error) {
    switch (ReadRemapFile(path, RemapDetect)) {
    case Parsed: return true;
    case CannotRead: error = CannotReadText(path); return false;
    case NotRecognised: break;
    }
    const int kind = RemapKindFromFileName(path);
    if (kind == RemapUnrecognised) {
        error = u"This is not a recognized MicroStation generated file: no \"%section,\" row of a version 8 "
                u"table, and not the name of a version 7 table (dwg... with level, color, weight, line or cellname).";
        return false;
    }
    if (ReadRemapFile(path, kind) != Parsed) {
        error = CannotReadText(path);
        return false;
    }
    return true;
}

CString LeftOutText(RemapLeftOutReason reason) {
    switch (reason) {
    case RemapLeftOutReason::LineBreak:
        return u"row left out: its MicroStation or DWG value holds a line break, which a mapping file line cannot hold";
    case RemapLeftOutReason::Nul:
        return u"row left out: its MicroStation or DWG value holds a NUL character, which a mapping file line cannot hold";
    }
    return u"row left out";
}

}  // namespace

int RunImport(Session& session) {
    const CommandLine& line = session.Line();
    const CString& mappingPath = line.mappingPath;
    auto warn = [&session](int, const CString& text) { session.Warn(text); };

    SevenTables tables;
    // A missing mapping file is created; one that exists must be read, or
    // the save would lose it.
    if (FileSystem::Exists(mappingPath)) {
        session.Phase(u"reading " + mappingPath);
        ReadReport report(mappingPath, ReadReport::Scope::Losses, warn);
        CString error;
        if (!session.ReadMapping(mappingPath, tables, &report, error)) {
            session.Fail(error + u" Nothing was saved.");
            return ExitFindings;
        }
    }

    // What the file held, to tell what the import changed in the end.
    const SevenTables before = tables;
    bool failed = false;
    for (const CString& path : line.files) {
        session.Phase(u"reading " + path);
        CString error;
        const bool read = ReadTable(path, error);
        if (!read) {
            session.Fail(path + u": " + error);
            failed = true;
        } else if (!failed) {
            session.Phase(u"merging " + path);
            std::vector<RemapRowLeftOut> leftOut;
            const BOOL merged = ForEachImportedPair(
                [&tables](MappingKind kind, std::u16string_view key, std::u16string_view value) {
                    tables.tables[size_t(kind)].SetPair(key, value);
                },
                &leftOut);
            for (const RemapRowLeftOut& row : leftOut)
                session.Warn(AtLine(path, int(row.line), LeftOutText(row.reason)));
            if (!merged) {
                session.Fail(path + u": there is not enough memory to import this table");
                failed = true;
            }
        }
        ReleaseRemapData();
    }
    if (failed) {
        session.Fail(u"nothing was saved to " + mappingPath + u".");
        return ExitFindings;
    }

    session.Phase(u"saving " + mappingPath);
    CString error;
    if (!session.SaveMapping(mappingPath, tables, error)) {
        session.Fail(error);
        return ExitFindings;
    }
    for (int kind = 0; kind < MappingKindCount; ++kind) {
        int added = 0, changed = 0;
        ForEachChange(before.tables[size_t(kind)], tables.tables[size_t(kind)],
                      [&](Change change, auto, auto, auto) {
                          ++(change == Change::Added ? added : changed);
                      });
        if (added == 0 && changed == 0)
            continue;
        CString text;
        text.Format(u"%s: %d added, %d changed", SectionKey(MappingKind(kind)), added, changed);
        session.Print(text);
    }
    return ExitSuccess;
}
