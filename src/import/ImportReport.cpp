#include "import/ImportReport.h"

#include "store/platform/CVNTextFile.h"
#include "store/platform/CodePage.h"

namespace {

// How a count of things reads: "One row ... was", "3 rows ... were".
struct Words {
    CString one;   // the sentence for one, about "it"
    CString many;  // for several, %d their count, about "they"
};

// Where the named lines are: after the lead sentence.
enum class Where { Rows, Markers, Values };

CString Count(const Words& words, uint32_t count) {
    if (count == 1)
        return words.one;
    CString text;
    text.Format(words.many, int(count));
    return text;
}

// " and 2 more" after the lines named, when count is more.
CString More(size_t named, uint32_t count) {
    CString more;
    if (count > named)
        more.Format(u" and %d more", int(count - named));
    return more;
}

// The sentence that names the lines, after the lead sentence: "The rows
// begin on these lines of the table: 3, 6, 8, 9, 11 and 2 more.", each line
// with its detail in parentheses when it has one; a value's reasons follow
// their line ("Line 7: ...; line 9: ...").
CString WhereText(Where where, const std::vector<uint32_t>& lines, const std::vector<CString>& details,
                  uint32_t count) {
    auto detail = [&](size_t i) { return i < details.size() ? details[i] : CString(); };
    CString text;
    if (where == Where::Values) {
        for (size_t i = 0; i < lines.size(); ++i) {
            CString line;
            line.Format(i ? u"; line %d" : u"Line %d", int(lines[i]));
            text += line + (detail(i).IsEmpty() ? CString() : u": " + detail(i));
        }
        return text + More(lines.size(), count) + u".";
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        CString line;
        line.Format(i ? u", %d" : u"%d", int(lines[i]));
        text += line + (detail(i).IsEmpty() ? CString() : u" (" + detail(i) + u")");
    }
    text += More(lines.size(), count);
    if (count == 1) {
        CString line;
        line.Format(u"%d", int(lines.front()));
        const CString after = detail(0).IsEmpty() ? CString(u".") : u" (" + detail(0) + u").";
        return (where == Where::Rows ? u"The row begins on line " : u"Its marker is on line ") + line +
               u" of the table" + after;
    }
    return (where == Where::Rows ? u"The rows begin on these lines of the table: "
                                 : u"Their markers are on these lines of the table: ") +
           text + u".";
}

// "Color", "Color and Class", "Color, Class and Level".
CString Listed(const std::vector<CString>& names) {
    CString text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? u"" : i + 1 == names.size() ? u" and " : u", ") + names[i];
    return text;
}

void Add(std::vector<ImportReportLine>& report, const CString& lead, Where where, const std::vector<uint32_t>& lines,
         const std::vector<CString>& details, uint32_t count) {
    if (count == 0 || lines.empty())
        return;
    report.push_back({lines.front(), lead + u" " + WhereText(where, lines, details, count)});
}

// The rows left out for a code page's sake (bCodePage) or for a line
// break or a NUL, as one line.
void AddLeftOut(std::vector<ImportReportLine>& report, const std::vector<RemapRowLeftOut>& leftOut, bool bCodePage,
                const Words& words) {
    std::vector<uint32_t> lines;
    std::vector<CString> details;
    uint32_t count = 0;
    for (const RemapRowLeftOut& row : leftOut) {
        if ((row.reason == RemapLeftOutReason::CodePage) != bCodePage)
            continue;
        if (++count > RemapLinesNamed)
            continue;
        lines.push_back(row.line);
        if (bCodePage)
            details.push_back(u"\"" + CVNTextFile::CharText(row.character) + u"\", " +
                              CVNTextFile::CodePointText(row.character));
    }
    Add(report, Count(words, count), Where::Rows, lines, details, count);
}

}  // namespace

std::vector<ImportReportLine> ImportReport(const RemapTable& table) {
    std::vector<ImportReportLine> report;
    AddLeftOut(report, table.rowsLeftOut, false,
               {u"One row of the table was left out of the import: its MicroStation or AutoCAD value holds a line "
                u"break or a NUL character, which a line of the mapping file cannot hold.",
                u"%d rows of the table were left out of the import: their MicroStation or AutoCAD values hold line "
                u"breaks or NUL characters, which a line of the mapping file cannot hold."});
    CString codePage;
    codePage.Format(u"%d", int(CodePage::Active()));
    const CString one = u"One row of the table was left out of the import: its MicroStation or AutoCAD value holds a "
                        u"character that code page " + codePage + u" cannot hold, and the mapping file is saved in "
                        u"that code page.";
    const CString many = u"%d rows of the table were left out of the import: their MicroStation or AutoCAD values "
                         u"hold characters that code page " + codePage + u" cannot hold, and the mapping file is "
                         u"saved in that code page.";
    AddLeftOut(report, table.rowsLeftOut, true, {one, many});

    auto remark = [&](RemapRemark kind, const CString& lead, Where where, bool bDetails = false) {
        const RemapRemarks& remarks = table.Remarks(kind);
        Add(report, lead, where, remarks.lines, bDetails ? remarks.details : std::vector<CString>(), remarks.count);
    };
    auto count = [&](RemapRemark kind, const Words& words) { return Count(words, table.Remarks(kind).count); };
    auto names = [&](RemapRemark kind) { return Listed(table.Remarks(kind).names); };

    remark(RemapRemark::UnknownSection,
           count(RemapRemark::UnknownSection,
                 {u"One section of the table has a name that no page takes, so its rows were not imported.",
                  u"%d sections of the table have names that no page takes, so their rows were not imported."}),
           Where::Markers, true);
    remark(RemapRemark::Qualifier,
           count(RemapRemark::Qualifier,
                 {u"One row of the table narrows its mapping with a qualifier column",
                  u"%d rows of the table narrow their mappings with qualifier columns"}) +
               u" (" + names(RemapRemark::Qualifier) +
               u"), which a mapping file cannot hold: each was imported as a plain pair that holds for every element "
               u"with its MicroStation value, and where rows share that value, the last row's AutoCAD value wins.",
           Where::Rows);
    remark(RemapRemark::Keyword,
           count(RemapRemark::Keyword,
                 {u"One row of the table is a keyword row", u"%d rows of the table are keyword rows"}) +
               u" (" + names(RemapRemark::Keyword) +
               u"), which a mapping file cannot hold: the keyword was imported as an ordinary MicroStation value.",
           Where::Rows);
    remark(RemapRemark::BracketedKey,
           count(RemapRemark::BracketedKey,
                 {u"One row of the table has a bracketed key", u"%d rows of the table have bracketed keys"}) +
               u" (" + names(RemapRemark::BracketedKey) +
               u"), which a mapping file cannot hold: the key was imported as an ordinary MicroStation value, "
               u"brackets and all.",
           Where::Rows);
    remark(RemapRemark::NotCondition,
           count(RemapRemark::NotCondition,
                 {u"One row of the table has a \"~\" condition (must not match) in its key or a qualifier",
                  u"%d rows of the table have \"~\" conditions (must not match) in their keys or qualifiers"}) +
               u", which a mapping file cannot hold: a \"~\" in a key was imported as an ordinary character, and "
               u"a qualifier was dropped.",
           Where::Rows);
    remark(RemapRemark::OutputKeyword,
           count(RemapRemark::OutputKeyword,
                 {u"One row of the table has an output keyword", u"%d rows of the table have output keywords"}) +
               u" (" + names(RemapRemark::OutputKeyword) +
               u"), which a mapping file cannot hold: the keyword was imported as an ordinary AutoCAD value.",
           Where::Rows);
    remark(RemapRemark::Refused,
           count(RemapRemark::Refused,
                 {u"One imported value is one that AutoCAD will not take.",
                  u"%d imported values are ones that AutoCAD will not take."}),
           Where::Values, true);
    return report;
}

CString ImportReportText(const std::vector<ImportReportLine>& report) {
    CString text;
    for (const ImportReportLine& line : report)
        text += (text.IsEmpty() ? u"" : u"\n\n") + line.text;
    return text;
}
