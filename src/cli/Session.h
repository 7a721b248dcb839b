// What every command shares: the command line, the seven tables of a
// mapping file and the way results, warnings and failures are printed.
#pragma once

#include "cli/CommandLine.h"
#include "cli/Progress.h"
#include "store/file/MappingFile.h"

#include <array>

struct SevenTables {
    std::array<MappingTable, MappingKindCount> tables;
    MappingTables View();
};

class Session {
public:
    explicit Session(const CommandLine& line) : m_line(line) {}

    const CommandLine& Line() const { return m_line; }
    // Names the work under way for the progress line.
    void Phase(const CString& text) { m_progress.Phase(text); }
    // One line of the command's result on standard output, unless -q.
    void Print(const CString& text) const;
    // One line on standard error: warnings and diagnostics beside the result.
    void Warn(const CString& text) const;
    // "varnel: " + text on standard error.
    void Fail(const CString& text) const;

    // Reads the mapping file at path as the dialog does; observer (if any)
    // hears of what the reader skips. False with the reason in error.
    bool ReadMapping(const CString& path, SevenTables& tables, MappingReadObserver* observer, CString& error);
    // The dialog's save: the whole file, crash-safe. A file that another
    // program changed since ReadMapping read it is left alone. False with
    // the reason in error.
    bool SaveMapping(const CString& path, SevenTables& tables, CString& error);

private:
    const CommandLine& m_line;
    mutable Progress m_progress;
    // The stamp of the mapping file last read, for its save.
    FileSystem::FileStamp m_readStamp;
    bool m_haveReadStamp = false;
};

// "FILE:LINE: message", the form editors and build logs jump to.
CString AtLine(const CString& file, int line, const CString& message);
// Why a save failed, as a sentence.
CString SaveFaultText(SaveFault fault);
// key in double quotes for messages.
CString Quoted(const CString& text);
