// varnel import [-m FILE] TABLE...: the dialog's File > Import for each
// table in turn, then its Save, once. Nothing is saved when any table
// cannot be read or is not recognised.
#include "cli/Commands.h"
#include "cli/ReadReport.h"
#include "cli/TableChanges.h"
#include "import/CSVReader.h"
#include "import/TableFileName.h"
#include "store/platform/FileSystem.h"

#include <array>
#include <new>
#include <vector>

namespace {

CString CannotReadText(const CString& path) {
    return FileSystem::Exists(path) ? CString(u"cannot read the file") : CString(u"no such file");
}

// Merges a table into tables: a version 8 table is known by its content
// whatever its name, a version 7 table by its file name, as the dialog
// knows it. False with the reason in error.
bool ImportTable(const CString& path, const MappingTables& tables, std::vector<RemapRowLeftOut>& leftOut,
                 CString& error) {
    RemapTable table = ReadRemapFile(path, RemapDetect);
    if (table.result == NotRecognised) {
        const int kind = RemapKindFromFileName(path);
        if (kind == RemapUnrecognised) {
            error = u"This is not a recognized MicroStation generated file: no \"%section,\" row of a version 8 "
                    u"table, and not the name of a version 7 table (dwg... with level, color, weight, line or "
                    u"cellname).";
            return false;
        }
        table = ReadRemapFile(path, kind);
    }
    if (table.result != Parsed) {
        error = CannotReadText(path);
        return false;
    }
    leftOut = std::move(table.rowsLeftOut);
    try {
        for (size_t kind = 0; kind < tables.size(); ++kind)
            if (tables[kind])
                tables[kind]->Merge(std::move(table.pairs[kind]));
    } catch (const std::bad_alloc&) {
        error = u"there is not enough memory to import this table";
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
    std::array<std::vector<const MappingEntry*>, MappingKindCount> before;
    for (size_t kind = 0; kind < before.size(); ++kind)
        before[kind] = Snapshot(tables.tables[kind]);
    bool failed = false;
    // After a failure the other tables are still read, for their faults,
    // but into no table: nothing will be saved.
    const MappingTables none{};
    for (const CString& path : line.files) {
        session.Phase(u"importing " + path);
        CString error;
        std::vector<RemapRowLeftOut> leftOut;
        const bool imported = ImportTable(path, failed ? none : tables.View(), leftOut, error);
        for (const RemapRowLeftOut& row : leftOut)
            session.Warn(AtLine(path, int(row.line), LeftOutText(row.reason)));
        if (!imported) {
            session.Fail(path + u": " + error);
            failed = true;
        }
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
        if (before[size_t(kind)].empty()) {
            added = tables.tables[size_t(kind)].GetCount();  // into an empty table every pair is new
        } else {
            ForEachChange(before[size_t(kind)], tables.tables[size_t(kind)],
                          [&](Change change, auto, auto, auto) { ++(change == Change::Added ? added : changed); });
        }
        if (added == 0 && changed == 0)
            continue;
        CString text;
        text.Format(u"%s: %d added, %d changed", SectionKey(MappingKind(kind)), added, changed);
        session.Print(text);
    }
    return ExitSuccess;
}
