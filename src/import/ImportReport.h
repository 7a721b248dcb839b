// The import's report: the one warning File > Import shows after reading a
// table, and the lines varnel import prints, made here so that both say
// the same. Each line names one kind of thing the table held that the
// mapping file cannot carry as written (rows left out, rules it has no
// form for, values that will not be taken), with a count and the table's
// first lines. A table without any of them imports silently.
#pragma once

#include "framework/CString.h"
#include "import/CSVReader.h"

#include <cstdint>
#include <vector>

struct ImportReportLine {
    uint32_t line = 0;  // the first line of the table it names
    CString text;       // a sentence or two, without a line break
};

// The report of a table read, in a fixed order of kinds; empty when there
// is nothing to tell.
std::vector<ImportReportLine> ImportReport(const RemapTable& table);

// The dialog's warning: the lines' texts, a blank line between.
CString ImportReportText(const std::vector<ImportReportLine>& report);
