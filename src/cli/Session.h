// What every command shares: the command line, the seven tables of a
// mapping file and the way results, warnings and failures are printed.
#pragma once

#include "cli/CommandLine.h"
#include "cli/Progress.h"
#include "store/MappingFile.h"

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
    bool ReadMapping(const CString& path, SevenTables& tables, MappingReadObserver* observer, CString& error) const;
    // The dialog's save: the whole file, crash-safe. False with the reason.
    bool SaveMapping(const CString& path, SevenTables& tables, CString& error) const;

private:
    const CommandLine& m_line;
    mutable Progress m_progress;
};

// "FILE:LINE: message", the form editors and build logs jump to.
CString AtLine(const CString& file, int line, const CString& message);
// key in double quotes for messages.
CString Quoted(const CString& text);
